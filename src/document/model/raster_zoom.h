// The threefold zoom's resampling, exact in whole pixels: enlarging makes
// every source pixel a 3 x 3 block from the top-left (a column or row left
// over at the right or bottom repeats the last one), shrinking takes each
// block's centre pixel, so shrinking an enlargement gives the picture back.
#pragma once

#include <QImage>

namespace quor::raster {

// A width x height Format_RGB32 image made in one pass from source (null
// when it cannot be allocated).
QImage zoomEnlarge(const QImage &source, int width, int height);
QImage zoomShrink(const QImage &source, int width, int height);

} // namespace quor::raster
