// Raster operations on the bitmap's pixels: the draw modes (pen against
// destination) over span sets, and stretched copies combined by a ternary
// operation. Pixels are 0xffRRGGBB; only the 24 colour bits take part.
#pragma once

#include "document/model/raster_spans.h"

#include <QImage>

#include <cstdint>

namespace quor::raster {

// A binary operation with the pen fixed reduces, bit by bit, to
// flip ^ (dest & keep).
struct PenOp
{
    std::uint32_t keep, flip;

    static PenOp of(int drawMode, std::uint32_t pen);
    std::uint32_t operator()(std::uint32_t dest) const
    {
        return (flip ^ (dest & keep)) & 0xffffffu;
    }
};

// A ternary operation with the pattern fixed: for each (S, D) bit pair, the
// colour bits where the result is set.
struct SourceOp
{
    std::uint32_t whenS0D0, whenS0D1, whenS1D0, whenS1D1;

    static SourceOp of(std::uint32_t rop, std::uint32_t pattern);
    std::uint32_t operator()(std::uint32_t src, std::uint32_t dest) const
    {
        return ((~src & ~dest & whenS0D0) | (~src & dest & whenS0D1) | (src & ~dest & whenS1D0)
                | (src & dest & whenS1D1))
            & 0xffffffu;
    }
};

// Combines every pixel of spans once with pen by drawMode; with a hatch,
// only the pixels its 8x8 pattern sets.
void paintSpans(QImage &image, const SpanList &spans, QRgb pen, int drawMode,
                const std::uint8_t *hatch = nullptr);

// One axis of a stretched copy: count destination pixels from dst take the
// nearest of count source pixels from src, reversed when mirror.
struct StretchAxis
{
    int dst, dstCount, src, srcCount;
    bool mirror;
};

// Nearest-neighbour copy of src onto dst combined by the ternary raster
// operation rop with pattern; clipped to both images. Returns the changed
// rectangle. src may share dst's pixels.
QRect stretchBlit(QImage &dst, const QImage &src, const StretchAxis &x, const StretchAxis &y,
                  std::uint32_t rop, QRgb pattern);

} // namespace quor::raster
