// Device-independent bitmaps: BMP files, bare DIB files (an info header
// without the 14-byte file header), icon images and the bitmaps inside
// metafiles. Every common depth (1, 2, 4, 8, 16, 24, 32 bits), RLE4, RLE8
// and bit-field masks; top-down and bottom-up rows.
#pragma once

#include "formats/byte_reader.h"

#include <QImage>

#include <functional>
#include <optional>

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
// Reads up to n more bytes into `to`; fewer only at the end of the file.
using ReadMore = std::function<qint64(char *to, qint64 n)>;
// The same file decoded as it is read, after its first bytes `head`, with
// the same results and errors: no room is needed for the whole file. No
// image when the head does not hold the headers, the colour table and the
// start of the bits, or the rows are run-length coded: those files are
// decoded whole.
std::optional<QImage> decodeBmpStream(ByteSpan head, std::uint64_t fileSize,
                                      const ReadMore &readMore, const PictureLimits &limits);

// True when the span starts with a plausible info header (a bare DIB).
bool looksLikeBareDib(ByteSpan data);

} // namespace quor
