// The fill tool's area: every pixel reached from a seed through its four
// neighbours without leaving the seed's exact colour.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

namespace quor::raster {

// Paints the 4-connected area of seed's colour in colour (image in
// Format_RGB32). Returns the bounding rectangle of the pixels painted:
// empty for a seed outside the image or an area already of that colour.
QRect floodFill(QImage &image, QPoint seed, QRgb colour);

} // namespace quor::raster
