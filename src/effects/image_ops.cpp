#include "effects/image_ops.h"

#include "effects/flips.h"

#include "core/bitmap_memory.h"
#include "core/two_halves.h"

#include <algorithm>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace quor::effects {

namespace {

QImage asRgb32(const QImage &source)
{
    return source.format() == QImage::Format_RGB32 ? source
                                                   : source.convertToFormat(QImage::Format_RGB32);
}

// A quarter turn, for the source columns [xBegin, xEnd): source pixel
// (x, y) goes to (h-1-y, x) turning right, (y, w-1-x) turning left. Blocks
// of 4 x 4 turned in registers, in square tiles so that reading down the
// columns stays in the cache; the column range is whole target rows, so
// two of these write apart.
template <bool Clockwise>
void quarterTurnColumns(const QImage &src, QImage &out, int xBegin, int xEnd)
{
    const int w = src.width(), h = src.height();
    const auto *in = reinterpret_cast<const QRgb *>(src.constBits());
    auto *to = reinterpret_cast<QRgb *>(out.bits());
    const qsizetype inStride = src.bytesPerLine() / qsizetype(sizeof(QRgb));
    const qsizetype outStride = out.bytesPerLine() / qsizetype(sizeof(QRgb));
    const auto target = [&](int x, int y) -> QRgb & {
        return Clockwise ? to[x * outStride + (h - 1 - y)] : to[(w - 1 - x) * outStride + y];
    };
    int blockEnd = xBegin; // the columns the blocks cover
#ifdef __SSE2__
    constexpr int Tile = 256;
    const int blockRows = h / 4 * 4;
    blockEnd = xBegin + (xEnd - xBegin) / 4 * 4;
    for (int ty = 0; ty < blockRows; ty += Tile) {
        const int yEnd = std::min(ty + Tile, blockRows);
        for (int tx = xBegin; tx < blockEnd; tx += Tile) {
            const int xTileEnd = std::min(tx + Tile, blockEnd);
            for (int y = ty; y < yEnd; y += 4)
                for (int x = tx; x < xTileEnd; x += 4) {
                    const QRgb *from = in + y * inStride + x;
                    const __m128i r0 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(from));
                    const __m128i r1 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(from + inStride));
                    const __m128i r2 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(from + 2 * inStride));
                    const __m128i r3 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(from + 3 * inStride));
                    // Column j of the block, top to bottom (left) or bottom
                    // to top (right), is the target's row piece.
                    const __m128i a = Clockwise ? r3 : r0, b = Clockwise ? r2 : r1;
                    const __m128i c = Clockwise ? r1 : r2, d = Clockwise ? r0 : r3;
                    const __m128i ab0 = _mm_unpacklo_epi32(a, b), cd0 = _mm_unpacklo_epi32(c, d);
                    const __m128i ab1 = _mm_unpackhi_epi32(a, b), cd1 = _mm_unpackhi_epi32(c, d);
                    const __m128i col[4] = {_mm_unpacklo_epi64(ab0, cd0), _mm_unpackhi_epi64(ab0, cd0),
                                            _mm_unpacklo_epi64(ab1, cd1), _mm_unpackhi_epi64(ab1, cd1)};
                    for (int j = 0; j < 4; ++j) {
                        QRgb *row = Clockwise ? &target(x + j, y + 3) : &target(x + j, y);
                        _mm_storeu_si128(reinterpret_cast<__m128i *>(row), col[j]);
                    }
                }
        }
    }
    // The rows below the last whole block.
    for (int y = blockRows; y < h; ++y)
        for (int x = xBegin; x < blockEnd; ++x)
            target(x, y) = in[y * inStride + x];
#endif
    // The columns the blocks leave, one at a time.
    for (int y = 0; y < h; ++y)
        for (int x = blockEnd; x < xEnd; ++x)
            target(x, y) = in[y * inStride + x];
}

QImage quarterTurn(const QImage &source, bool clockwise)
{
    const QImage src = asRgb32(source);
    QImage out = newBitmap(src.height(), src.width());
    if (out.isNull())
        return {};
    const qsizetype pixels = qsizetype(src.width()) * src.height();
    inTwoHalves(src.width(), pixels, [&](int begin, int end) {
        if (clockwise)
            quarterTurnColumns<true>(src, out, begin, end);
        else
            quarterTurnColumns<false>(src, out, begin, end);
    });
    return out;
}

// Rows apart and a count of its own, so that the compiler vectorises the loop:
// nothing written can change what it reads.
template <typename PixelFunction>
void mapRow(const QRgb *__restrict in, QRgb *__restrict out, int n, PixelFunction f)
{
    for (int x = 0; x < n; ++x)
        out[x] = f(in[x]);
}

// The same function of each pixel, row by row into a new picture.
template <typename PixelFunction>
QImage perPixel(const QImage &source, PixelFunction f)
{
    if (source.isNull())
        return {};
    const QImage src = asRgb32(source);
    QImage out = newBitmap(src.size());
    if (out.isNull())
        return {};
    const int w = src.width();
    const uchar *inBits = src.constBits();
    uchar *outBits = out.bits();
    const qsizetype inStride = src.bytesPerLine(), outStride = out.bytesPerLine();
    inTwoHalves(src.height(), qsizetype(w) * src.height(), [&](int begin, int end) {
        for (int y = begin; y < end; ++y)
            mapRow(reinterpret_cast<const QRgb *>(inBits + y * inStride),
                   reinterpret_cast<QRgb *>(outBits + y * outStride), w, f);
    });
    return out;
}

} // namespace

QImage turned(const QImage &source, Turn turn)
{
    if (source.isNull())
        return {};
    if (turn == Turn::Half)
        return flipped(source, Flip::Diagonal);
    return quarterTurn(source, turn == Turn::Right);
}

QImage inverted(const QImage &source)
{
    return perPixel(source, [](QRgb p) { return p ^ 0x00ffffffu; });
}

QImage greyed(const QImage &source)
{
    return perPixel(source, [](QRgb p) {
        // The weighted sum is at most 65 408, so it fits 16-bit lanes, which
        // the compiler vectorises where 32-bit products would not.
        const std::uint16_t r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, b = p & 0xff;
        const std::uint32_t grey = std::uint16_t(77 * r + 150 * g + 29 * b + 128) >> 8;
        return 0xff000000u | grey << 16 | grey << 8 | grey;
    });
}

QImage scaled(const QImage &source, QSize size, bool smooth)
{
    if (source.isNull() || size.isEmpty())
        return {};
    const QImage out = asRgb32(source).scaled(
        size, Qt::IgnoreAspectRatio, smooth ? Qt::SmoothTransformation : Qt::FastTransformation);
    return out.isNull() ? QImage() : asRgb32(out);
}

} // namespace quor::effects
