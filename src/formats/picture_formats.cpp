#include "formats/picture_formats.h"

#include "formats/dib_decoder.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <new>

namespace quor {

namespace {

// Qt refuses images above its allocation limit; ours is checked first and
// may be larger than Qt's default. Eight bytes a pixel: 16-bit channels.
void raiseQtLimit(const PictureLimits &limits)
{
    const qint64 mb = limits.maxPixels * 8 / (1024 * 1024) + 16;
    if (QImageReader::allocationLimit() != 0 && QImageReader::allocationLimit() < mb)
        QImageReader::setAllocationLimit(int(std::min<qint64>(mb, INT_MAX)));
}

// headerSize: the reader must tell the size from the header, before any
// pixel is allocated; formats checked by our own walk may leave it out.
QImage readWithQt(ByteSpan data, const char *format, const PictureLimits &limits,
                  bool headerSize = false)
{
    raiseQtLimit(limits);
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data.data()),
                                               qsizetype(data.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    const QSize size = reader.size();
    if (size.isValid())
        checkPictureSize(size.width(), size.height(), limits);
    else if (headerSize)
        throw damagedPicture();
    QImage img = reader.read();
    if (img.isNull())
        throw damagedPicture();
    checkPictureSize(img.width(), img.height(), limits);
    return img;
}

// Skips GIF data sub-blocks; returns the position after the terminator.
std::uint64_t skipSubBlocks(ByteSpan d, std::uint64_t pos)
{
    for (;;) {
        const int n = d.u8(pos);
        ++pos;
        if (n == 0)
            return pos;
        if (!d.has(pos, n))
            throw damagedPicture();
        pos += n;
    }
}

// JPEG and PNG numbers are big-endian.
int be16(ByteSpan d, std::uint64_t at)
{
    return d.u8(at) << 8 | d.u8(at + 1);
}

std::uint32_t be32(ByteSpan d, std::uint64_t at)
{
    return std::uint32_t(be16(d, at)) << 16 | std::uint32_t(be16(d, at + 2));
}

// A side written with more digits than a number holds: too large, though
// its size can not be told.
QuorError pictureSideBeyondCounting(int maxSide)
{
    return QuorError(err::OutOfMemory,
                     QStringLiteral("图片太大（宽或高远超 %1 像素），内存放不下，无法打开。").arg(maxSide));
}

// Checks the width and height of a PNM header ("P6 # comment\n 640 480 ...")
// against the limits: Qt's reader calls anything over 32767 broken, and
// such a file is too large, not damaged. Every digit of a side is read, so
// the size reported is the one the header gives.
void checkPnmHeaderSize(ByteSpan d, const PictureLimits &limits)
{
    constexpr qint64 Longest = 999'999'999'999'999'999; // eighteen digits
    std::uint64_t pos = 2;
    qint64 sides[2] = {0, 0};
    bool beyond = false;
    for (qint64 &side : sides) {
        for (;;) {
            const int c = d.u8(pos);
            if (c == '#')
                while (d.u8(pos) != '\n' && d.u8(pos) != '\r')
                    ++pos;
            else if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
                ++pos;
            else
                break;
        }
        for (int c = d.u8(pos); c >= '0' && c <= '9'; c = d.u8(++pos)) {
            if (side > (Longest - (c - '0')) / 10)
                beyond = true;
            else
                side = side * 10 + (c - '0');
        }
    }
    if (beyond)
        throw pictureSideBeyondCounting(limits.maxSide);
    checkPictureSize(sides[0], sides[1], limits);
}

// Checks the canvas a WebP header declares against the limits. Qt's reader
// sets up the whole canvas of an animation while it is asked the size, and
// when that fails it has none to tell: a file too large would be called
// damaged.
void checkWebpHeaderSize(ByteSpan d, const PictureLimits &limits)
{
    const std::uint32_t chunk = d.u32(12);
    auto u24 = [&](std::uint64_t at) { return qint64(d.u16(at)) | qint64(d.u8(at + 2)) << 16; };
    if (chunk == 0x58385056) { // "VP8X": the canvas, each side less one
        checkPictureSize(u24(24) + 1, u24(27) + 1, limits);
    } else if (chunk == 0x4c385056 && d.u8(20) == 0x2f) { // "VP8L": 14 bits a side, less one
        const std::uint32_t bits = d.u32(21);
        checkPictureSize(qint64(bits & 0x3fff) + 1, qint64((bits >> 14) & 0x3fff) + 1, limits);
    } else if (chunk == 0x20385056 && d.u8(23) == 0x9d && d.u8(24) == 0x01 && d.u8(25) == 0x2a) {
        // "VP8 ": 14 bits a side after the key frame's start code
        checkPictureSize(d.u16(26) & 0x3fff, d.u16(28) & 0x3fff, limits);
    }
}

} // namespace

QImage decodeGif(ByteSpan d, const PictureLimits &limits)
{
    // Walk the blocks up to the end of the first image, so a cut-off file
    // is refused instead of shown half grey.
    std::uint64_t pos = 13;
    const int screenFlags = d.u8(10);
    qint64 width = d.u16(6), height = d.u16(8);
    if (screenFlags & 0x80)
        pos += 3u << ((screenFlags & 7) + 1);
    for (;;) {
        const int block = d.u8(pos);
        if (block == 0x21) {
            pos = skipSubBlocks(d, pos + 2);
        } else if (block == 0x2c) {
            width = std::max<qint64>(width, d.u16(pos + 1) + qint64(d.u16(pos + 5)));
            height = std::max<qint64>(height, d.u16(pos + 3) + qint64(d.u16(pos + 7)));
            const int flags = d.u8(pos + 9);
            pos += 10;
            if (flags & 0x80)
                pos += 3u << ((flags & 7) + 1);
            d.u8(pos); // the code size
            skipSubBlocks(d, pos + 1);
            break;
        } else {
            throw damagedPicture(); // the trailer or garbage before any image
        }
    }
    checkPictureSize(width, height, limits);
    return readWithQt(d, "gif", limits);
}

QImage decodeJpeg(ByteSpan d, const PictureLimits &limits)
{
    // Walk the marker segments to the first scan, reading the frame size on
    // the way; the scan data must end with an end-of-image marker.
    std::uint64_t pos = 2;
    bool haveFrame = false;
    for (;;) {
        if (d.u8(pos) != 0xff)
            throw damagedPicture();
        while (d.u8(pos) == 0xff)
            ++pos;
        const int marker = d.u8(pos++);
        if (marker == 0xd8 || marker == 0x01 || (marker >= 0xd0 && marker <= 0xd7))
            continue;
        if (marker == 0xd9)
            throw damagedPicture();
        const int length = be16(d, pos);
        if (length < 2 || !d.has(pos, length))
            throw damagedPicture();
        const bool frame = marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8
            && marker != 0xcc;
        if (frame) {
            checkPictureSize(be16(d, pos + 5), be16(d, pos + 3), limits);
            haveFrame = true;
        }
        pos += length;
        if (marker == 0xda)
            break;
    }
    if (!haveFrame)
        throw damagedPicture();
    bool ended = false;
    for (std::uint64_t i = pos; i + 1 < d.size(); ++i)
        if (d.data()[i] == 0xff && d.data()[i + 1] == 0xd9) {
            ended = true;
            break;
        }
    if (!ended)
        throw damagedPicture();
    return readWithQt(d, "jpeg", limits);
}

QImage decodePng(ByteSpan d, const PictureLimits &limits)
{
    // Every chunk whole from the header to the end chunk: a cut-off file is
    // refused rather than shown with its lower part missing.
    if (d.u32(12) != 0x52444849) // "IHDR", little-endian
        throw damagedPicture();
    checkPictureSize(be32(d, 16), be32(d, 20), limits);
    std::uint64_t pos = 8;
    for (;;) {
        const std::uint64_t length = be32(d, pos);
        const std::uint32_t type = d.u32(pos + 4);
        if (!d.has(pos + 8, length + 4))
            throw damagedPicture();
        pos += 12 + length;
        if (type == 0x444e4549) // "IEND"
            break;
    }
    return readWithQt(d, "png", limits);
}

QImage decodeIco(ByteSpan d, const PictureLimits &limits)
{
    const int count = d.u16(4);
    if (count == 0)
        throw damagedPicture();
    // Choose by the sizes the images themselves declare: the directory
    // says 0 for 256 and nothing at all beyond. An image beyond the limits
    // gives way to a smaller one that can be shown.
    qint64 bestArea = -1;
    int bestBits = -1;
    ByteSpan best;
    qint64 largeWidth = 0, largeHeight = 0;
    for (int i = 0; i < count; ++i) {
        const std::uint64_t entry = 6 + 16ull * i;
        const std::uint32_t bytes = d.u32(entry + 8), offset = d.u32(entry + 12);
        if (!d.has(offset, bytes) || bytes < 16)
            continue;
        const ByteSpan image = d.sub(offset, bytes);
        qint64 w, h;
        int bits;
        if (image.u32(0) == 0x474e5089) { // PNG
            if (!image.has(16, 8))
                continue;
            w = qint64(image.u8(16)) << 24 | image.u8(17) << 16 | image.u8(18) << 8 | image.u8(19);
            h = qint64(image.u8(20)) << 24 | image.u8(21) << 16 | image.u8(22) << 8 | image.u8(23);
            bits = 32;
        } else if (looksLikeBareDib(image) && image.u32(0) >= 40) {
            w = std::abs(qint64(image.i32(4)));
            h = std::abs(qint64(image.i32(8))) / 2;
            bits = image.u16(14);
        } else {
            continue;
        }
        if (w <= 0 || h <= 0)
            continue;
        // Both sides are checked before they are multiplied: declared
        // sizes reach 2^32 each.
        if (w > limits.maxSide || h > limits.maxSide || w * h > limits.maxPixels) {
            if (largeWidth == 0) {
                largeWidth = w;
                largeHeight = h;
            }
            continue;
        }
        if (w * h > bestArea || (w * h == bestArea && bits > bestBits)) {
            bestArea = w * h;
            bestBits = bits;
            best = image;
        }
    }
    if (bestArea < 0 && largeWidth > 0)
        throw pictureTooLarge(largeWidth, largeHeight);
    if (bestArea < 0)
        throw damagedPicture();
    if (best.u32(0) == 0x474e5089)
        return decodePng(best, limits);
    DibOptions opt;
    opt.iconMask = true;
    opt.allowAlpha = true;
    opt.limits = limits;
    return decodeDib(best, opt);
}

QImage decodeWithQtReader(ByteSpan d, const char *format, const PictureLimits &limits,
                          bool *hadClearPixels)
{
    if (qstrcmp(format, "ppm") == 0)
        checkPnmHeaderSize(d, limits);
    else if (qstrcmp(format, "webp") == 0)
        checkWebpHeaderSize(d, limits);
    return overWhite(readWithQt(d, format, limits, true), hadClearPixels);
}

QImage overWhite(const QImage &img, bool *hadClearPixels)
{
    if (!img.hasAlphaChannel())
        return img;
    if (hadClearPixels) {
        // What Save would lose: a pixel not wholly opaque.
        const QImage argb = img.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < argb.height() && !*hadClearPixels; ++y) {
            const QRgb *row = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
            *hadClearPixels = std::any_of(row, row + argb.width(),
                                          [](QRgb p) { return qAlpha(p) != 255; });
        }
    }
    QImage opaque(img.size(), QImage::Format_RGB32);
    if (opaque.isNull())
        throw std::bad_alloc();
    opaque.fill(Qt::white);
    QPainter painter(&opaque);
    painter.drawImage(0, 0, img);
    return opaque;
}

} // namespace quor
