// PNG, WebP, TIFF and PNM through Qt's readers: the pixels Qt reads, with
// transparency over white, and headers that promise too much refused before
// anything is allocated.
#include "formats/picture_loader.h"
#include "formats/picture_samples.h"

#include <QElapsedTimer>
#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace quor;
using namespace samples;

namespace {

QImage decode(const QByteArray &bytes)
{
    return decodePicture(ByteSpan(bytes.constData(), std::size_t(bytes.size())));
}

// 4 x 2: opaque colours on top; half-transparent red, then clear, below.
QImage source(QImage::Format format)
{
    QImage img(4, 2, QImage::Format_ARGB32);
    const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 160, 0), qRgb(0, 0, 255), qRgb(30, 60, 90),
                            qRgba(200, 0, 0, 128), qRgba(0, 0, 0, 0), qRgba(0, 0, 200, 255),
                            qRgba(10, 250, 10, 64)};
    for (int i = 0; i < 8; ++i)
        img.setPixel(i % 4, i / 4, colours[i]);
    return img.convertToFormat(format);
}

// Peak memory since the last reset, in kilobytes (VmHWM).
qint64 peakKb(bool reset)
{
    if (reset) {
        QFile refs(QStringLiteral("/proc/self/clear_refs"));
        if (refs.open(QIODevice::WriteOnly))
            refs.write("5");
    }
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return 0;
}

std::uint32_t crc32(const QByteArray &bytes)
{
    std::uint32_t c = 0xffffffffu;
    for (const char b : bytes) {
        c ^= std::uint8_t(b);
        for (int k = 0; k < 8; ++k)
            c = c & 1 ? 0xedb88320u ^ (c >> 1) : c >> 1;
    }
    return ~c;
}

// The files claim a size the data never fills, with valid checksums.
QByteArray pngClaiming(int width, int height)
{
    QByteArray b = png(QImage(1, 1, QImage::Format_RGB32));
    qToBigEndian<quint32>(quint32(width), b.data() + 16);
    qToBigEndian<quint32>(quint32(height), b.data() + 20);
    qToBigEndian<quint32>(crc32(b.mid(12, 17)), b.data() + 29);
    return b;
}

QByteArray tiffClaiming(int width, int height)
{
    QByteArray b = encoded(QImage(1, 1, QImage::Format_RGB32), "tiff");
    const char *d = b.constData();
    const quint32 ifd = qFromLittleEndian<quint32>(d + 4);
    for (int i = 0; i < qFromLittleEndian<quint16>(d + ifd); ++i) {
        char *entry = b.data() + ifd + 2 + 12 * i;
        const quint16 tag = qFromLittleEndian<quint16>(entry);
        const bool longValue = qFromLittleEndian<quint16>(entry + 2) == 4;
        if (tag != 256 && tag != 257)
            continue;
        const quint32 value = quint32(tag == 256 ? width : height);
        if (longValue)
            qToLittleEndian<quint32>(value, entry + 8);
        else
            qToLittleEndian<quint16>(quint16(value), entry + 8);
    }
    return b;
}

} // namespace

TEST(ModernPictures, PixelsAsQtReadsThemTransparencyOverWhite)
{
    QImage palette(4, 2, QImage::Format_Indexed8);
    palette.setColorTable({qRgb(255, 0, 0), qRgba(0, 0, 255, 0), qRgb(9, 9, 9)});
    palette.fill(0);
    palette.setPixel(1, 0, 1);
    palette.setPixel(3, 1, 2);
    const std::vector<std::tuple<const char *, PictureKind, QByteArray>> files = {
        {"png alpha", PictureKind::Png, png(source(QImage::Format_ARGB32))},
        {"png 16-bit", PictureKind::Png, png(source(QImage::Format_RGBA64))},
        {"png palette", PictureKind::Png, png(palette)},
        {"webp alpha", PictureKind::WebP, encoded(source(QImage::Format_ARGB32), "webp")},
        {"tiff alpha", PictureKind::Tiff, encoded(source(QImage::Format_ARGB32), "tiff")},
        {"tiff 16-bit", PictureKind::Tiff, encoded(source(QImage::Format_RGBX64), "tiff")},
        {"ppm", PictureKind::Pnm, encoded(source(QImage::Format_RGB32), "ppm")},
        {"pgm", PictureKind::Pnm, encoded(source(QImage::Format_Grayscale8), "pgm")},
    };
    for (const auto &[what, kind, bytes] : files) {
        SCOPED_TRACE(what);
        EXPECT_EQ(sniffPicture(ByteSpan(bytes.constData(), std::size_t(bytes.size()))), kind);
        const QImage got = decode(bytes);
        const QImage qt = QImage::fromData(bytes).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(got.size(), qt.size());
        EXPECT_FALSE(got.hasAlphaChannel());
        for (int y = 0; y < got.height(); ++y)
            for (int x = 0; x < got.width(); ++x) {
                // Over white: c·a + 255·(1 − a), each channel.
                const QRgb q = qt.pixel(x, y), g = got.pixel(x, y);
                const int a = qAlpha(q);
                const int want[] = {qRed(q), qGreen(q), qBlue(q)}, have[] = {qRed(g), qGreen(g), qBlue(g)};
                for (int c = 0; c < 3; ++c)
                    EXPECT_NEAR(have[c], (want[c] * a + 255 * (255 - a)) / 255.0, 1.0)
                        << x << "," << y << " channel " << c;
            }
    }
    // Golden: half-transparent red and a clear pixel over white.
    const QImage over = decode(png(source(QImage::Format_ARGB32)));
    EXPECT_NEAR(qGreen(over.pixel(0, 1)), 127, 1);
    EXPECT_EQ(over.pixel(1, 1), qRgb(255, 255, 255));
}

TEST(ModernPictures, BombsAreRefusedFromTheHeaderAndCutFilesNeverCrash)
{
    // Lossless WebP keeps its size in 14-bit fields: 16384 x 16384 at most.
    QByteArray webp = encoded(QImage(1, 1, QImage::Format_RGB32), "webp");
    ASSERT_EQ(webp.mid(12, 4), "VP8L");
    qToLittleEndian<quint32>(quint32(16383 | 16383 << 14), webp.data() + 21);
    const std::vector<std::tuple<const char *, QByteArray, QString>> bombs = {
        {"png", pngClaiming(60000, 60000), "60000 x 60000"},
        {"png within a side", pngClaiming(30000, 30000), "30000 x 30000"},
        {"webp", webp, "16384 x 16384"},
        {"webp animation canvas",
         QByteArray("RIFF\x16\0\0\0WEBPVP8X\x0a\0\0\0\x02\0\0\0\x2f\x75\0\x2f\x75\0", 30),
         "30000 x 30000"},
        {"tiff", tiffClaiming(50000, 40000), "50000 x 40000"},
        {"pnm", QByteArray("P6\n60000 60000\n255\n") + QByteArray(600, 'x'), "60000 x 60000"},
        {"pnm beyond an int", QByteArray("P6\n99999999999 9\n255\n") + QByteArray(600, 'x'),
         "99999999999 x 9"},
    };
    for (const auto &[what, bytes, size] : bombs) {
        SCOPED_TRACE(what);
        ASSERT_LT(bytes.size(), 1024);
        const qint64 before = peakKb(true);
        QElapsedTimer clock;
        clock.start();
        try {
            decode(bytes);
            ADD_FAILURE() << "opened";
        } catch (const QuorError &e) {
            EXPECT_EQ(e.number, err::OutOfMemory);
            EXPECT_TRUE(e.description.contains(size)) << e.description.toStdString();
        }
        EXPECT_LT(clock.elapsed(), 1000);
        EXPECT_LT(peakKb(false) - before, 16 * 1024);
    }

    QImage big(300, 200, QImage::Format_ARGB32);
    big.fill(qRgba(20, 40, 60, 200));
    for (const char *format : {"png", "webp", "tiff", "ppm"}) {
        const QByteArray whole = encoded(big, format);
        for (const qsizetype length : {qsizetype(9), qsizetype(40), whole.size() / 2, whole.size() - 4}) {
            try {
                const QImage img = decode(whole.left(length));
                EXPECT_EQ(img.size(), big.size()) << format << " cut at " << length;
            } catch (const QuorError &e) {
                EXPECT_EQ(e.number, InvalidPicture) << format << " cut at " << length;
            }
        }
    }
}
