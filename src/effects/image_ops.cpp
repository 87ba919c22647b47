#include "effects/image_ops.h"

#include "effects/flips.h"

#include <algorithm>

namespace quor::effects {

namespace {

QImage asRgb32(const QImage &source)
{
    return source.format() == QImage::Format_RGB32 ? source
                                                   : source.convertToFormat(QImage::Format_RGB32);
}

// A quarter turn in square tiles, so that the column-wise reads stay in the
// cache: a plain row-by-column loop misses on every pixel of a large picture.
QImage quarterTurn(const QImage &source, bool clockwise)
{
    const QImage src = asRgb32(source);
    const int w = src.width(), h = src.height();
    QImage out(h, w, QImage::Format_RGB32);
    if (out.isNull())
        return {};
    const auto *in = reinterpret_cast<const QRgb *>(src.constBits());
    const qsizetype inStride = src.bytesPerLine() / qsizetype(sizeof(QRgb));
    constexpr int Tile = 64;
    // Output pixel (x, y) comes from (y, h-1-x) turning right, (w-1-y, x)
    // turning left.
    for (int ty = 0; ty < w; ty += Tile) {
        const int yEnd = std::min(ty + Tile, w);
        for (int tx = 0; tx < h; tx += Tile) {
            const int xEnd = std::min(tx + Tile, h);
            for (int y = ty; y < yEnd; ++y) {
                auto *row = reinterpret_cast<QRgb *>(out.scanLine(y));
                if (clockwise) {
                    const QRgb *from = in + y;
                    for (int x = tx; x < xEnd; ++x)
                        row[x] = from[(h - 1 - x) * inStride];
                } else {
                    const QRgb *from = in + (w - 1 - y);
                    for (int x = tx; x < xEnd; ++x)
                        row[x] = from[x * inStride];
                }
            }
        }
    }
    return out;
}

// The same function of each pixel, row by row into a new picture.
template <typename PixelFunction>
QImage perPixel(const QImage &source, PixelFunction f)
{
    if (source.isNull())
        return {};
    const QImage src = asRgb32(source);
    QImage out(src.size(), QImage::Format_RGB32);
    if (out.isNull())
        return {};
    const int w = src.width();
    for (int y = 0; y < src.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        auto *row = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = f(in[x]);
    }
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
        const std::uint32_t grey =
            (77 * ((p >> 16) & 0xff) + 150 * ((p >> 8) & 0xff) + 29 * (p & 0xff) + 128) >> 8;
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
