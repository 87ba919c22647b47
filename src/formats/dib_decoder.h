// Device-independent bitmaps: BMP files, bare DIB files (an info header
// without the 14-byte file header), icon images and the bitmaps inside
// metafiles. Every common depth (1, 2, 4, 8, 16, 24, 32 bits), RLE4, RLE8
// and bit-field masks; top-down and bottom-up rows.
#pragma once

#include "formats/byte_reader.h"

#include <QImage>

namespace quor {

struct DibOptions
{
    bool iconMask = false;   // height covers the colour and the AND-mask bitmaps
    bool allowAlpha = false; // 32-bit pixels carry alpha even without a mask field
    bool paletteIndices = false; // the colour table holds 16-bit palette indices
    PictureLimits limits;
};

// Decodes a DIB whose bits follow its colour table inside `dib`.
QImage decodeDib(ByteSpan dib, const DibOptions &options = {}, bool *bottomUp = nullptr);
// Decodes a DIB whose bits are stored apart from its header and table.
QImage decodeDib(ByteSpan header, ByteSpan bits, const DibOptions &options,
                 bool *bottomUp = nullptr);
// A BMP file: "BM", the file header, then a DIB.
QImage decodeBmpFile(ByteSpan file, const PictureLimits &limits);

// True when the span starts with a plausible info header (a bare DIB).
bool looksLikeBareDib(ByteSpan data);

} // namespace quor
