// Readers for the compressed and container formats: GIF (first frame),
// JPEG and PNG decode through Qt after a structural check that the data is
// whole; icons pick their largest image; WebP, TIFF and PNM go to Qt's
// readers once their header's size fits the limits.
#pragma once

#include "formats/byte_reader.h"

#include <QImage>

namespace quor {

QImage decodeGif(ByteSpan data, const PictureLimits &limits);
QImage decodeJpeg(ByteSpan data, const PictureLimits &limits);
QImage decodePng(ByteSpan data, const PictureLimits &limits);
QImage decodeIco(ByteSpan data, const PictureLimits &limits);
// format is Qt's reader name ("png", "webp", "tiff", "ppm"). Transparent
// pixels come out over white: the canvas has no transparency.
QImage decodeWithQtReader(ByteSpan data, const char *format, const PictureLimits &limits,
                          bool *hadClearPixels = nullptr);
// A picture with transparency laid over white: the canvas has none.
QImage overWhite(const QImage &picture, bool *hadClearPixels = nullptr);

} // namespace quor
