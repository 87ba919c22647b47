#include "formats/dib_decoder.h"

#include <QVector>

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

namespace quor {

namespace {

constexpr std::uint32_t BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitfields = 3, BiAlphaBitfields = 6;

struct Header
{
    std::uint32_t size = 0;
    qint64 width = 0;
    qint64 height = 0; // rows of the colour bitmap
    bool bottomUp = true;
    int bitCount = 0;
    std::uint32_t compression = BiRgb;
    std::uint32_t masks[4] = {0, 0, 0, 0}; // red, green, blue, alpha
    QVector<QRgb> table;
    std::uint64_t tableEnd = 0; // where the bits follow the table
};

// The sixteen colours of the default palette, for DIBs whose table names
// palette entries rather than colours.
const QRgb defaultPalette[16] = {
    0xff000000, 0xff800000, 0xff008000, 0xff808000, 0xff000080, 0xff800080,
    0xff008080, 0xffc0c0c0, 0xff808080, 0xffff0000, 0xff00ff00, 0xffffff00,
    0xff0000ff, 0xffff00ff, 0xff00ffff, 0xffffffff,
};

Header readHeader(ByteSpan d, const DibOptions &opt)
{
    Header h;
    h.size = d.u32(0);
    std::uint32_t clrUsed = 0;
    if (h.size == 12) {
        h.width = d.u16(4);
        h.height = d.u16(6);
        h.bitCount = d.u16(10);
    } else if (h.size >= 16 && h.size <= 1024) {
        h.width = d.i32(4);
        h.height = d.i32(8);
        h.bitCount = d.u16(14);
        if (h.size >= 20)
            h.compression = d.u32(16);
        if (h.size >= 36)
            clrUsed = d.u32(32);
        // OS/2 2.x headers reuse compression 3 and 4 for codings we lack.
        if ((h.size == 16 || h.size == 64) && h.compression >= 3)
            throw unsupportedPicture();
    } else {
        throw damagedPicture();
    }
    if (h.height < 0) {
        if (h.height == INT32_MIN)
            throw damagedPicture();
        h.height = -h.height;
        h.bottomUp = false;
    }
    if (opt.iconMask)
        h.height /= 2;

    switch (h.bitCount) {
    case 1: case 2: case 4: case 8: case 16: case 24: case 32: break;
    default: throw unsupportedPicture();
    }
    switch (h.compression) {
    case BiRgb: break;
    case BiRle8: if (h.bitCount != 8) throw damagedPicture(); break;
    case BiRle4: if (h.bitCount != 4) throw damagedPicture(); break;
    case BiBitfields:
    case BiAlphaBitfields: if (h.bitCount != 16 && h.bitCount != 32) throw damagedPicture(); break;
    default: throw unsupportedPicture();
    }
    checkPictureSize(h.width, h.height, opt.limits);

    std::uint64_t pos = h.size;
    if (h.compression == BiBitfields || h.compression == BiAlphaBitfields) {
        const int n = h.compression == BiAlphaBitfields ? 4 : 3;
        if (h.size >= 52) {
            for (int i = 0; i < 3; ++i)
                h.masks[i] = d.u32(40 + 4 * i);
            if (h.size >= 56)
                h.masks[3] = d.u32(52);
        } else {
            for (int i = 0; i < n; ++i)
                h.masks[i] = d.u32(pos + 4 * i);
            pos += 4 * n;
        }
    } else if (h.bitCount == 16) {
        h.masks[0] = 0x7c00; h.masks[1] = 0x03e0; h.masks[2] = 0x001f;
    } else if (h.bitCount == 32) {
        h.masks[0] = 0xff0000; h.masks[1] = 0xff00; h.masks[2] = 0xff;
        if (opt.allowAlpha)
            h.masks[3] = 0xff000000u;
    }

    // The colour table: RGB triples after a core header, else RGB quads.
    const int entryBytes = opt.paletteIndices ? 2 : h.size == 12 ? 3 : 4;
    std::uint64_t entries = 0;
    if (h.bitCount <= 8)
        entries = clrUsed && h.size != 12 ? clrUsed : 1u << h.bitCount;
    else
        entries = clrUsed;
    if (entries > 65536)
        throw damagedPicture();
    if (!d.has(pos, entries * entryBytes))
        throw damagedPicture();
    if (h.bitCount <= 8) {
        h.table.resize(1 << h.bitCount, 0xff000000);
        const std::uint64_t used = std::min<std::uint64_t>(entries, h.table.size());
        for (std::uint64_t i = 0; i < used; ++i) {
            const std::uint64_t at = pos + i * entryBytes;
            if (opt.paletteIndices)
                h.table[int(i)] = defaultPalette[d.u16(at) % 16];
            else
                h.table[int(i)] = qRgb(d.u8(at + 2), d.u8(at + 1), d.u8(at));
        }
    }
    h.tableEnd = pos + entries * entryBytes;
    return h;
}

std::uint64_t strideOf(qint64 width, int bits)
{
    return ((std::uint64_t(width) * bits + 31) / 32) * 4;
}

// One colour component under a mask, scaled to 0..255.
struct Channel
{
    explicit Channel(std::uint32_t mask)
        : shift(mask ? std::countr_zero(mask) : 0), max(mask ? mask >> shift : 0)
    {
    }
    int operator()(std::uint32_t v, std::uint32_t mask) const
    {
        if (!max)
            return 0;
        const std::uint32_t c = (v & mask) >> shift;
        return int((std::uint64_t(c) * 255 + max / 2) / max);
    }
    int shift;
    std::uint32_t max;
};

// Rows of uncompressed pixels, in the order the file keeps them.
class RowDecoder
{
public:
    RowDecoder(const Header &h, QImage &img)
        : m_h(h), m_img(img), r(h.masks[0]), g(h.masks[1]), b(h.masks[2]), a(h.masks[3])
    {
    }

    // The row'th row of the file from src.
    void decode(int row, const unsigned char *src)
    {
        const Header &h = m_h;
        auto *dst = reinterpret_cast<QRgb *>(
            m_img.scanLine(h.bottomUp ? int(h.height) - 1 - row : row));
        const int w = int(h.width);
        switch (h.bitCount) {
        case 1: case 2: case 4: case 8: {
            const int per = 8 / h.bitCount, maskBits = (1 << h.bitCount) - 1;
            for (int x = 0; x < w; ++x) {
                const int shift = 8 - h.bitCount * (x % per + 1);
                dst[x] = h.table[(src[x / per] >> shift) & maskBits];
            }
            break;
        }
        case 24:
            for (int x = 0; x < w; ++x)
                dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
            break;
        case 16:
        case 32:
            for (int x = 0; x < w; ++x) {
                std::uint32_t v;
                if (h.bitCount == 16) {
                    v = src[2 * x] | src[2 * x + 1] << 8;
                } else {
                    const unsigned char *p = src + 4 * x;
                    v = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16
                        | std::uint32_t(p[3]) << 24;
                }
                const int alpha = h.masks[3] ? a(v, h.masks[3]) : 255;
                if (h.masks[3] && alpha)
                    sawAlpha = true;
                dst[x] = qRgba(r(v, h.masks[0]), g(v, h.masks[1]), b(v, h.masks[2]), alpha);
            }
            break;
        }
    }

    bool sawAlpha = false;

private:
    const Header &m_h;
    QImage &m_img;
    const Channel r, g, b, a;
};

// Bytes the rows need: the last row may lack its padding.
std::uint64_t rowBytesNeeded(const Header &h)
{
    const std::uint64_t used = (std::uint64_t(h.width) * h.bitCount + 7) / 8;
    return h.height > 0 ? strideOf(h.width, h.bitCount) * (h.height - 1) + used : 0;
}

void decodeRows(const Header &h, ByteSpan bits, QImage &img, bool &sawAlpha)
{
    const std::uint64_t stride = strideOf(h.width, h.bitCount);
    // Anything shorter than the rows is truncated.
    if (!bits.has(0, rowBytesNeeded(h)))
        throw damagedPicture();
    RowDecoder rows(h, img);
    for (int row = 0; row < h.height; ++row)
        rows.decode(row, bits.data() + stride * row);
    sawAlpha = rows.sawAlpha;
}

// Run-length coded rows. Pixels the codes skip keep colour index 0.
void decodeRle(const Header &h, ByteSpan bits, QImage &img)
{
    const int w = int(h.width), ht = int(h.height);
    const bool four = h.compression == BiRle4;
    img.fill(h.table[0]);
    auto put = [&](qint64 x, qint64 y, int index) {
        if (x >= 0 && x < w && y >= 0 && y < ht)
            reinterpret_cast<QRgb *>(img.scanLine(int(h.bottomUp ? ht - 1 - y : y)))[x] = h.table[index];
    };
    std::uint64_t pos = 0;
    qint64 x = 0, y = 0;
    while (y < ht) {
        if (!bits.has(pos, 2)) {
            // A stream may end without its end code once every row is done.
            if (y == ht - 1 && x >= w)
                return;
            throw damagedPicture();
        }
        const int count = bits.u8(pos), code = bits.u8(pos + 1);
        pos += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i, ++x)
                put(x, y, four ? (i % 2 ? code & 15 : code >> 4) : code);
            continue;
        }
        switch (code) {
        case 0: x = 0; ++y; break;       // end of line
        case 1: return;                  // end of bitmap
        case 2:                          // move right and up
            x += bits.u8(pos);
            y += bits.u8(pos + 1);
            pos += 2;
            break;
        default: {                       // literal pixels, padded to a word
            const std::uint64_t bytes = four ? (code + 1) / 2 : code;
            const ByteSpan run = bits.sub(pos, bytes);
            for (int i = 0; i < code; ++i, ++x)
                put(x, y, four ? (i % 2 ? run.u8(i / 2) & 15 : run.u8(i / 2) >> 4) : run.u8(i));
            pos += bytes + (bytes & 1);
            break;
        }
        }
    }
}

void applyIconMask(const Header &h, ByteSpan mask, QImage &img)
{
    const std::uint64_t stride = strideOf(h.width, 1);
    if (!mask.has(0, stride * h.height))
        throw damagedPicture();
    for (int row = 0; row < h.height; ++row) {
        const unsigned char *src = mask.data() + stride * row;
        auto *dst = reinterpret_cast<QRgb *>(img.scanLine(h.bottomUp ? int(h.height) - 1 - row : row));
        for (int x = 0; x < h.width; ++x)
            if (src[x / 8] & (0x80 >> (x % 8)))
                dst[x] = 0;
    }
}

} // namespace

namespace {

QImage newBitmap(const Header &h)
{
    QImage img(int(h.width), int(h.height), QImage::Format_ARGB32);
    if (img.isNull())
        throw pictureTooLarge(h.width, h.height);
    return img;
}

// Alpha that is zero everywhere means the writer left it unused.
void settleAlpha(const Header &h, bool sawAlpha, QImage &img)
{
    if (h.masks[3] && !sawAlpha)
        for (int y = 0; y < img.height(); ++y) {
            auto *p = reinterpret_cast<QRgb *>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                p[x] |= 0xff000000u;
        }
}

QImage withFormat(const DibOptions &opt, bool sawAlpha, QImage img)
{
    const bool transparent = sawAlpha || opt.iconMask;
    // Converted in place: the same pixels, no second full-size bitmap.
    return transparent ? img : std::move(img).convertToFormat(QImage::Format_RGB32);
}

} // namespace

QImage decodeDib(ByteSpan header, ByteSpan bits, const DibOptions &opt, bool *bottomUp)
{
    const Header h = readHeader(header, opt);
    if (bottomUp)
        *bottomUp = h.bottomUp;
    QImage img = newBitmap(h);
    bool sawAlpha = false;
    if (h.compression == BiRle8 || h.compression == BiRle4)
        decodeRle(h, bits, img);
    else
        decodeRows(h, bits, img, sawAlpha);
    settleAlpha(h, sawAlpha, img);
    if (opt.iconMask && !sawAlpha && h.compression != BiRle8 && h.compression != BiRle4)
        applyIconMask(h, bits.from(strideOf(h.width, h.bitCount) * h.height), img);
    return withFormat(opt, sawAlpha, std::move(img));
}

QImage decodeDib(ByteSpan dib, const DibOptions &opt, bool *bottomUp)
{
    const Header h = readHeader(dib, opt);
    return decodeDib(dib, dib.from(h.tableEnd), opt, bottomUp);
}

namespace {

// Where a BMP file's bits start: where its file header says, when that is
// sensible.
std::uint64_t bitsOffset(ByteSpan file, std::uint64_t fileSize, const Header &h)
{
    const std::uint64_t offBits = file.u32(10);
    const bool sane = offBits >= 14 + h.tableEnd && offBits < fileSize;
    return sane ? offBits : 14 + h.tableEnd;
}

} // namespace

QImage decodeBmpFile(ByteSpan file, const PictureLimits &limits)
{
    if (!file.has(0, 18))
        throw damagedPicture();
    DibOptions opt;
    opt.limits = limits;
    const ByteSpan dib = file.from(14);
    const Header h = readHeader(dib, opt);
    return decodeDib(dib, file.from(bitsOffset(file, file.size(), h)), opt);
}

std::optional<QImage> decodeBmpStream(ByteSpan head, std::uint64_t fileSize,
                                      const ReadMore &readMore, const PictureLimits &limits)
{
    if (!head.has(0, 18) || fileSize < head.size())
        return std::nullopt;
    DibOptions opt;
    opt.limits = limits;
    const ByteSpan dib = head.from(14);
    Header h;
    try {
        h = readHeader(dib, opt);
    } catch (const QuorError &e) {
        // A picture too large is refused by its header: reading the rest
        // of the file first would only keep the user waiting.
        if (e.number == err::OutOfMemory)
            throw;
        return std::nullopt; // the whole file will tell what is wrong
    }
    const std::uint64_t start = bitsOffset(head, fileSize, h);
    if (h.compression == BiRle8 || h.compression == BiRle4 || start > head.size())
        return std::nullopt;
    // Anything shorter than the rows is truncated.
    if (fileSize - start < rowBytesNeeded(h))
        throw damagedPicture();

    QImage img = newBitmap(h);
    RowDecoder rows(h, img);
    const std::uint64_t stride = strideOf(h.width, h.bitCount);
    // Rows are read a few at a time into one buffer, which holds at least
    // one row. The bytes of the head past the start come first.
    const qint64 perChunk = qint64(std::max<std::uint64_t>(1, (1u << 20) / stride));
    std::vector<unsigned char> chunk(std::size_t(std::uint64_t(perChunk) * stride));
    ByteSpan pending = head.from(start);
    const auto fill = [&](std::uint64_t want) {
        const std::uint64_t fromHead = std::min<std::uint64_t>(want, pending.size());
        std::memcpy(chunk.data(), pending.data(), fromHead);
        pending = pending.from(fromHead);
        std::uint64_t got = fromHead;
        if (got < want)
            got += std::uint64_t(readMore(reinterpret_cast<char *>(chunk.data()) + got,
                                          qint64(want - got)));
        return got;
    };
    const std::uint64_t used = (std::uint64_t(h.width) * h.bitCount + 7) / 8;
    for (qint64 row = 0; row < h.height; row += perChunk) {
        const qint64 n = std::min<qint64>(perChunk, h.height - row);
        const std::uint64_t last = row + n == h.height ? used : stride;
        const std::uint64_t want = stride * std::uint64_t(n - 1) + last;
        if (fill(want) < want)
            throw damagedPicture(); // the file became shorter while it was read
        for (qint64 i = 0; i < n; ++i)
            rows.decode(int(row + i), chunk.data() + stride * std::uint64_t(i));
    }
    settleAlpha(h, rows.sawAlpha, img);
    return withFormat(opt, rows.sawAlpha, std::move(img));
}

bool looksLikeBareDib(ByteSpan d)
{
    if (!d.has(0, 16))
        return false;
    const std::uint32_t size = d.u32(0);
    if (size != 12 && size != 40 && size != 52 && size != 56 && size != 64 && size != 108
        && size != 124)
        return false;
    const int planes = size == 12 ? d.u16(8) : d.u16(12);
    return planes == 1;
}

} // namespace quor
