// Readers for the compressed and container formats: GIF (first frame),
// JPEG and PNG decode through Qt after a structural check that the data is
// whole; icons pick their largest image.
#pragma once

#include "formats/byte_reader.h"

#include <QImage>

namespace quor {

QImage decodeGif(ByteSpan data, const PictureLimits &limits);
QImage decodeJpeg(ByteSpan data, const PictureLimits &limits);
QImage decodePng(ByteSpan data, const PictureLimits &limits);
QImage decodeIco(ByteSpan data, const PictureLimits &limits);

} // namespace quor
