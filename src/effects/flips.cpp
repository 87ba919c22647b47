#include "effects/flips.h"

#include "core/bitmap_memory.h"

#include <cstring>

namespace quor::effects {

namespace {

// Reversed copy of a row, eight pixels a step: a fixed-length loop between
// buffers declared distinct, which compilers turn into vector shuffles.
void reverseRow(const QRgb *__restrict in, QRgb *__restrict out, int n)
{
    constexpr int Step = 8;
    int i = 0;
    for (; i + Step <= n; i += Step) {
        const QRgb *from = in + n - 1 - i;
        for (int k = 0; k < Step; ++k)
            out[i + k] = from[-k];
    }
    for (; i < n; ++i)
        out[i] = in[n - 1 - i];
}

} // namespace

bool flip(const QImage &source, QImage &target, Flip kind)
{
    if (source.isNull() || target.format() != QImage::Format_RGB32
        || target.size() != source.size())
        return false;
    // A second reference, so that writing the target detaches it when the
    // caller passed the same image twice: the two never share pixels below.
    const QImage src = source.format() == QImage::Format_RGB32
                           ? source
                           : source.convertToFormat(QImage::Format_RGB32);
    const int w = src.width(), h = src.height();
    // Rows in an order that keeps the memory streams simple: a half turn
    // reads the picture exactly backwards while writing forwards.
    for (int i = 0; i < h; ++i) {
        const int from = kind == Flip::Diagonal ? h - 1 - i : i;
        const int to = kind == Flip::Vertical ? h - 1 - i : i;
        const auto *in = reinterpret_cast<const QRgb *>(src.constScanLine(from));
        auto *out = reinterpret_cast<QRgb *>(target.scanLine(to));
        if (kind != Flip::Vertical)
            reverseRow(in, out, w);
        else
            std::memcpy(out, in, std::size_t(w) * sizeof(QRgb));
    }
    return true;
}

QImage flipped(const QImage &source, Flip kind)
{
    if (source.isNull())
        return {};
    QImage out = newBitmap(source.size());
    if (out.isNull() || !flip(source, out, kind))
        return {};
    return out;
}

} // namespace quor::effects
