#include "document/model/raster_ops.h"

#include "document/model/canvas_surface.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace quor::raster {

namespace {

constexpr std::uint32_t ColourBits = 0xffffffu;
constexpr QRgb Opaque = 0xff000000u;

std::uint32_t allIf(std::uint32_t table, int bit)
{
    return ((table >> bit) & 1u) ? ColourBits : 0u;
}

void paintRun(QRgb *p, int n, const PenOp &op)
{
    if (op.keep == 0) {
        std::fill_n(p, n, Opaque | op.flip);
        return;
    }
    for (int i = 0; i < n; ++i)
        p[i] = Opaque | op(p[i]);
}

// The destination pixels [first, first + map.size()) on the bitmap whose
// nearest source pixel lies inside the source, and that source pixel each.
struct AxisMap
{
    int first = 0;
    std::vector<int> source;
};

AxisMap mapAxis(const StretchAxis &a, int dstSize, int srcSize)
{
    AxisMap m;
    if (a.dstCount <= 0 || a.srcCount <= 0)
        return m;
    const long long from = std::max(0LL, -(long long)a.dst);
    const long long to = std::min((long long)a.dstCount, (long long)dstSize - a.dst);
    for (long long i = from; i < to; ++i) {
        // Sample at the destination pixel's centre.
        long long j = ((2 * i + 1) * a.srcCount) / (2LL * a.dstCount);
        if (a.mirror)
            j = a.srcCount - 1 - j;
        const long long s = a.src + j;
        if (s < 0 || s >= srcSize) {
            // The mapping is monotonic, so the valid pixels are contiguous.
            if (!m.source.empty())
                break;
            continue;
        }
        if (m.source.empty())
            m.first = int(a.dst + i);
        m.source.push_back(int(s));
    }
    return m;
}

bool readableDirectly(QImage::Format f)
{
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32
        || f == QImage::Format_ARGB32_Premultiplied;
}

} // namespace

PenOp PenOp::of(int drawMode, std::uint32_t pen)
{
    // Truth table bit (P * 2 + D) of mode - 1.
    const std::uint32_t table = std::uint32_t(std::clamp(drawMode, 1, 16) - 1);
    const std::uint32_t p = pen & ColourBits, notP = ~pen & ColourBits;
    const std::uint32_t whenD0 = (p & allIf(table, 2)) | (notP & allIf(table, 0));
    const std::uint32_t whenD1 = (p & allIf(table, 3)) | (notP & allIf(table, 1));
    return {whenD0 ^ whenD1, whenD0};
}

SourceOp SourceOp::of(std::uint32_t rop, std::uint32_t pattern)
{
    // Truth table bit (P * 4 + S * 2 + D) of the code's third byte.
    const std::uint32_t table = (rop >> 16) & 0xffu;
    const std::uint32_t p = pattern & ColourBits, notP = ~pattern & ColourBits;
    const auto when = [&](int sd) {
        return (p & allIf(table, 4 + sd)) | (notP & allIf(table, sd));
    };
    return {when(0), when(1), when(2), when(3)};
}

void paintSpans(QImage &image, const SpanList &spans, QRgb pen, int drawMode,
                const std::uint8_t *hatch)
{
    const PenOp op = PenOp::of(drawMode, pen);
    if (spans.empty())
        return;
    // Row pointers from one bits() call: scanLine() checks for sharing on
    // every call, which costs more than a short span's pixels.
    uchar *const bits0 = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (const Span &s : spans.spans()) {
        auto *row = reinterpret_cast<QRgb *>(bits0 + s.y * stride);
        const std::uint8_t pattern = hatch ? hatch[s.y & 7] : 0xff;
        if (pattern == 0xff) {
            paintRun(row + s.x0, s.x1 - s.x0 + 1, op);
        } else if (pattern != 0) {
            for (int x = s.x0; x <= s.x1; ++x)
                if ((pattern >> (x & 7)) & 1u)
                    row[x] = Opaque | op(row[x]);
        }
    }
}

QRect stretchBlit(QImage &dst, const QImage &src, const StretchAxis &x, const StretchAxis &y,
                  std::uint32_t rop, QRgb pattern)
{
    AxisMap cols = mapAxis(x, dst.width(), src.width());
    AxisMap rows = mapAxis(y, dst.height(), src.height());
    if (cols.source.empty() || rows.source.empty())
        return {};

    // Read from a copy of just the pixels used when the source is the
    // bitmap itself (overlapping moves) or in a format without 32-bit rows.
    const bool shared = src.constBits() == dst.constBits();
    QImage part;
    const QImage *from = &src;
    if (shared || !readableDirectly(src.format())) {
        const auto [minCol, maxCol] = std::minmax_element(cols.source.begin(), cols.source.end());
        const auto [minRow, maxRow] = std::minmax_element(rows.source.begin(), rows.source.end());
        const QRect used(QPoint(*minCol, *minRow), QPoint(*maxCol, *maxRow));
        part = src.copy(used);
        if (!readableDirectly(part.format()))
            part = part.convertToFormat(QImage::Format_RGB32);
        for (int &c : cols.source)
            c -= used.left();
        for (int &r : rows.source)
            r -= used.top();
        from = &part;
    }

    const int n = int(cols.source.size());
    const bool plainCopy = ((rop >> 16) & 0xffu) == 0xcc;
    const bool rowCopy = plainCopy && !x.mirror && x.dstCount == x.srcCount
        && from->format() == QImage::Format_RGB32;
    const SourceOp op = SourceOp::of(rop, pattern);
    for (std::size_t r = 0; r < rows.source.size(); ++r) {
        const auto *s = reinterpret_cast<const QRgb *>(from->constScanLine(rows.source[r]));
        auto *d = reinterpret_cast<QRgb *>(dst.scanLine(rows.first + int(r))) + cols.first;
        if (rowCopy) {
            std::memcpy(d, s + cols.source.front(), std::size_t(n) * sizeof(QRgb));
        } else if (plainCopy) {
            for (int i = 0; i < n; ++i)
                d[i] = Opaque | s[cols.source[i]];
        } else {
            for (int i = 0; i < n; ++i)
                d[i] = Opaque | op(s[cols.source[i]], d[i]);
        }
    }
    return QRect(cols.first, rows.first, n, int(rows.source.size()));
}

} // namespace quor::raster

namespace quor {

std::uint32_t applyDrawMode(int mode, std::uint32_t pen, std::uint32_t dest)
{
    return raster::PenOp::of(mode, pen)(dest);
}

std::uint32_t applyRop3(std::uint32_t rop, std::uint32_t pattern, std::uint32_t src,
                        std::uint32_t dest)
{
    return raster::SourceOp::of(rop, pattern)(src, dest);
}

} // namespace quor
