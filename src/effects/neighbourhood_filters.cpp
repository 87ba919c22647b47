#include "effects/neighbourhood_filters.h"

#include <algorithm>
#include <vector>

namespace quor::effects {

namespace {

constexpr QRgb Opaque = 0xff000000u;

// Both pictures checked, and the source held by a second reference so that
// writing the target detaches it when the caller passed the same image twice.
struct Pictures
{
    QImage source;
    QRgb *target = nullptr;
    qsizetype targetStride = 0; // in pixels
    int width = 0, height = 0;

    const QRgb *sourceRow(int y) const
    {
        return reinterpret_cast<const QRgb *>(source.constScanLine(y));
    }
    QRgb *targetRow(int y) const { return target + y * targetStride; }
};

bool open(const QImage &source, QImage &target, Pictures &out)
{
    if (target.format() != QImage::Format_RGB32 || target.size() != source.size()
        || source.isNull())
        return false;
    out.source = source.format() == QImage::Format_RGB32
                     ? source
                     : source.convertToFormat(QImage::Format_RGB32);
    out.target = reinterpret_cast<QRgb *>(target.bits());
    out.targetStride = target.bytesPerLine() / qsizetype(sizeof(QRgb));
    out.width = source.width();
    out.height = source.height();
    return true;
}

void report(const RowProgress &progress, int row)
{
    if (progress)
        progress(row);
}

// Real to integer: nearest, halves to the even neighbour, for |v| < 2^51.
// Adding and removing 1.5 * 2^52 leaves the default rounding mode to do the
// work, without a library call per pixel.
inline int roundHalfEven(double v)
{
    constexpr double Shift = 6755399441055744.0;
    return int((v + Shift) - Shift);
}

// The row kernels below work rows as plain byte arrays: a pixel's four bytes
// are its three channels and the unused alpha byte, in whichever order the
// platform keeps them, and every channel is treated alike. Loops of a fixed
// length over buffers declared distinct let compilers use vector code; the
// alpha bytes are set afterwards.
constexpr int Block = 32;

using Byte = std::uint8_t;

const Byte *bytesOf(const QRgb *p) { return reinterpret_cast<const Byte *>(p); }
Byte *bytesOf(QRgb *p) { return reinterpret_cast<Byte *>(p); }

void makeOpaque(QRgb *p, int n)
{
    for (int i = 0; i < n; ++i)
        p[i] |= Opaque;
}

// out[i] = op(a[i], b[i]) for n bytes.
template <typename Op>
void bytewise(const Byte *__restrict a, const Byte *__restrict b, Byte *__restrict out, int n,
              Op op)
{
    int i = 0;
    for (; i + Block <= n; i += Block)
        for (int k = 0; k < Block; ++k)
            out[i + k] = op(a[i + k], b[i + k]);
    for (; i < n; ++i)
        out[i] = op(a[i], b[i]);
}

// Pixels from .. to of a row from each one's upper-left neighbour.
template <typename Op>
void fromUpperLeft(const QRgb *here, const QRgb *above, QRgb *out, int from, int to, Op op)
{
    const int n = to - from + 1;
    if (n <= 0)
        return;
    bytewise(bytesOf(here + from), bytesOf(above + from - 1), bytesOf(out + from), 4 * n, op);
    makeOpaque(out + from, n);
}

// v + (v - u) / 2, clamped and rounded with halves to even, from twice the
// value, t = 3v - u: t / 2 rounded so is (t + bit 1 of t) >> 1.
struct Sharpened
{
    Byte operator()(Byte v, Byte u) const
    {
        const int t = 3 * v - u;
        return Byte(std::clamp((t + ((t >> 1) & 1)) >> 1, 0, 255));
    }
};

struct Embossed
{
    Byte operator()(Byte v, Byte u) const { return Byte(std::clamp(v - u + 128, 0, 255)); }
};

// Sums of each byte over three rows (at most 3 * 255, so 16 bits hold it).
void columnSums(const Byte *__restrict a, const Byte *__restrict b, const Byte *__restrict c,
                std::uint16_t *__restrict out, int n)
{
    int i = 0;
    for (; i + Block <= n; i += Block)
        for (int k = 0; k < Block; ++k)
            out[i + k] = std::uint16_t(a[i + k] + b[i + k] + c[i + k]);
    for (; i < n; ++i)
        out[i] = std::uint16_t(a[i] + b[i] + c[i]);
}

// out[i] = nine-pixel average from the column sums of the pixel before, the
// pixel itself and the pixel after (4 bytes apart); columns[0] belongs to the
// pixel before out[0]. A ninth is never a half, so rounding has no ties.
void nineAverages(const std::uint16_t *__restrict columns, Byte *__restrict out, int n)
{
    int i = 0;
    for (; i + Block <= n; i += Block) {
        const std::uint16_t *c = columns + i;
        for (int k = 0; k < Block; ++k)
            out[i + k] = Byte(std::uint16_t(c[k] + c[k + 4] + c[k + 8] + 4) / 9);
    }
    for (; i < n; ++i)
        out[i] = Byte(std::uint16_t(columns[i] + columns[i + 4] + columns[i + 8] + 4) / 9);
}

} // namespace

// --- random source -------------------------------------------------------

RandomSource &RandomSource::shared()
{
    static RandomSource source;
    return source;
}

// --- filters ---------------------------------------------------------------

bool soften(const QImage &source, QImage &target, const RowProgress &progress)
{
    Pictures pic;
    if (!open(source, target, pic))
        return false;
    const int w = pic.width, h = pic.height;
    if (w < 3 || h < 3)
        return true;
    std::vector<std::uint16_t> columns(static_cast<std::size_t>(4 * w));
    for (int y = 1; y <= h - 2; ++y) {
        columnSums(bytesOf(pic.sourceRow(y - 1)), bytesOf(pic.sourceRow(y)),
                   bytesOf(pic.sourceRow(y + 1)), columns.data(), 4 * w);
        QRgb *out = pic.targetRow(y);
        nineAverages(columns.data(), bytesOf(out + 1), 4 * (w - 2));
        makeOpaque(out + 1, w - 2);
        report(progress, y);
    }
    return true;
}

bool sharpen(const QImage &source, QImage &target, const RowProgress &progress)
{
    Pictures pic;
    if (!open(source, target, pic))
        return false;
    const int w = pic.width, h = pic.height;
    for (int y = 1; y <= h - 2; ++y) {
        fromUpperLeft(pic.sourceRow(y), pic.sourceRow(y - 1), pic.targetRow(y), 1, w - 2,
                      Sharpened());
        report(progress, y);
    }
    return true;
}

bool oil(const QImage &source, QImage &target, const RowProgress &progress,
         RandomSource &random)
{
    Pictures pic;
    if (!open(source, target, pic))
        return false;
    const int w = pic.width, h = pic.height;
    const uchar *bits = pic.source.constBits();
    const qsizetype stride = pic.source.bytesPerLine();
    for (int y = 2; y <= h - 3; ++y) {
        QRgb *out = pic.targetRow(y);
        for (int x = 2; x <= w - 3; ++x) {
            const double dy = random.next() * 4 - 2;
            const int dx = roundHalfEven(random.next() * 4 - 2);
            // A real position lies in the pixel whose square holds it, as the
            // canvas surface maps it: floor, with 1e-9 of slack so noise just
            // below a boundary still names the pixel. y + dy >= 0 here, so
            // truncation is the floor.
            const int row = int(y + dy + 1e-9);
            out[x] = Opaque | reinterpret_cast<const QRgb *>(bits + row * stride)[x + dx];
        }
        report(progress, y);
    }
    return true;
}

bool emboss(const QImage &source, QImage &target, const RowProgress &progress)
{
    Pictures pic;
    if (!open(source, target, pic))
        return false;
    const int w = pic.width, h = pic.height;
    // Rows and columns run to the size itself; the last of each lies outside
    // the picture and leaves no mark, but the progress still reaches it.
    for (int y = 1; y <= h; ++y) {
        if (y < h)
            fromUpperLeft(pic.sourceRow(y), pic.sourceRow(y - 1), pic.targetRow(y), 1, w - 1,
                          Embossed());
        report(progress, y);
    }
    return true;
}

} // namespace quor::effects
