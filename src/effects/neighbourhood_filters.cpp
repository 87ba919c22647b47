#include "effects/neighbourhood_filters.h"

#include <algorithm>
#include <array>
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

// A channel sum of up to nine pixels fits 16 bits (9 * 255 < 65536), so the
// three channels can be added side by side in one 64-bit word: blue at bit
// 0, green at 16, red at 32.
inline std::uint64_t spread(QRgb p)
{
    const std::uint64_t v = p;
    return (v & 0xff) | ((v & 0xff00) << 8) | ((v & 0xff0000) << 16);
}

inline QRgb nineAverage(std::uint64_t sums)
{
    // sum / 9 to the nearest: a ninth is never a half, so no ties to break.
    const auto ch = [&](int shift) { return std::uint32_t(((sums >> shift) & 0xffff) + 4) / 9; };
    return Opaque | (ch(32) << 16) | (ch(16) << 8) | ch(0);
}

// Sharpen of one channel indexed by 3v - u + 255, that is twice the exact
// value v + (v - u) / 2 plus an offset: clamped, then halves to even.
constexpr std::array<std::uint8_t, 1021> sharpenTable()
{
    std::array<std::uint8_t, 1021> t{};
    for (int i = 0; i < int(t.size()); ++i) {
        const int twice = i - 255;
        int v;
        if (twice > 510)
            v = 255;
        else if (twice < 0)
            v = 0;
        else if (twice % 2 == 0)
            v = twice / 2;
        else
            v = (twice / 2) % 2 == 0 ? twice / 2 : twice / 2 + 1;
        t[std::size_t(i)] = std::uint8_t(v);
    }
    return t;
}
constexpr auto SharpenTable = sharpenTable();

// Emboss of one channel indexed by v - u + 255: v - u + 128, clamped.
constexpr std::array<std::uint8_t, 511> embossTable()
{
    std::array<std::uint8_t, 511> t{};
    for (int i = 0; i < int(t.size()); ++i)
        t[std::size_t(i)] = std::uint8_t(std::clamp(i - 255 + 128, 0, 255));
    return t;
}
constexpr auto EmbossTable = embossTable();

// One output row of a filter that reads each pixel's upper-left neighbour:
// each channel looked up by a * v - u in the table (already offset).
inline void fromUpperLeft(const QRgb *here, const QRgb *above, QRgb *out, int from, int to,
                          const std::uint8_t *table, int a)
{
    for (int x = from; x <= to; ++x) {
        const QRgb v = here[x], u = above[x - 1];
        const auto ch = [&](int shift) {
            return std::uint32_t(table[a * int((v >> shift) & 0xff) - int((u >> shift) & 0xff)]);
        };
        out[x] = Opaque | (ch(16) << 16) | (ch(8) << 8) | ch(0);
    }
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
    // Spread rows y - 1, y, y + 1, rolled down one row at a time.
    std::array<std::vector<std::uint64_t>, 3> rows;
    for (int k = 0; k < 3; ++k) {
        rows[k].resize(std::size_t(w));
        if (k < 2)
            std::transform(pic.sourceRow(k), pic.sourceRow(k) + w, rows[k].begin(), spread);
    }
    std::vector<std::uint64_t> columns(static_cast<std::size_t>(w));
    for (int y = 1; y <= h - 2; ++y) {
        auto &above = rows[(y - 1) % 3], &here = rows[y % 3], &below = rows[(y + 1) % 3];
        const QRgb *next = pic.sourceRow(y + 1);
        for (int x = 0; x < w; ++x) {
            below[std::size_t(x)] = spread(next[x]);
            columns[std::size_t(x)] = above[std::size_t(x)] + here[std::size_t(x)]
                                    + below[std::size_t(x)];
        }
        QRgb *out = pic.targetRow(y);
        const std::uint64_t *c = columns.data();
        for (int x = 1; x <= w - 2; ++x)
            out[x] = nineAverage(c[x - 1] + c[x] + c[x + 1]);
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
                      SharpenTable.data() + 255, 3);
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
                          EmbossTable.data() + 255, 1);
        report(progress, y);
    }
    return true;
}

} // namespace quor::effects
