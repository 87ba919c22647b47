// The picture loader on bitmaps, GIF, JPEG and icons: pixels come out where
// the files put them, and bad files of every kind give their message.
#include "formats/dib_decoder.h"
#include "formats/picture_loader.h"
#include "formats/picture_samples.h"

#include <gtest/gtest.h>

using namespace quor;
using namespace samples;

namespace {

QImage decode(const QByteArray &bytes, const PictureLimits &limits = {})
{
    return decodePicture(ByteSpan(bytes.constData(), std::size_t(bytes.size())), limits);
}

// The error a file gives, or -1 when it opens.
int errorOf(const QByteArray &bytes, QString *description = nullptr,
            const PictureLimits &limits = {})
{
    try {
        decode(bytes, limits);
        return -1;
    } catch (const QuorError &e) {
        if (description)
            *description = e.description;
        return e.number;
    }
}

const std::vector<QRgb> four = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};

// Colour index of a 5 x 3 test pattern; row 0 is the top.
std::uint32_t pattern(int x, int y) { return std::uint32_t((x + y) % 4); }

void expectPattern(const QImage &img, const std::vector<QRgb> &colours)
{
    ASSERT_EQ(img.size(), QSize(5, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(img.pixel(x, y), colours[pattern(x, y)]) << x << "," << y;
}

} // namespace

TEST(PictureBitmaps, IndexedDepthsDecodeBottomUpRows)
{
    for (int bits : {1, 2, 4, 8}) {
        std::vector<QRgb> colours = four;
        colours.resize(std::size_t(1) << bits, qRgb(9, 9, 9));
        auto value = [&](int x, int y) { return bits == 1 ? pattern(x, y) % 2 : pattern(x, y); };
        const QByteArray header = infoHeader(5, 3, bits, 0) + palette(colours);
        const QImage img = decode(bmpFile(header + rows(5, 3, bits, value), int(header.size())));
        ASSERT_EQ(img.size(), QSize(5, 3)) << bits;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(img.pixel(x, y), colours[value(x, y)]) << bits << " bits at " << x << "," << y;
    }
}

TEST(PictureBitmaps, DirectColourDepths)
{
    auto rgb = [](int x, int y) { return std::uint32_t(x * 50) << 16 | std::uint32_t(y * 100) << 8 | 0x40; };
    const QByteArray h24 = infoHeader(5, 3, 24, 0);
    const QImage img24 = decode(bmpFile(h24 + rows(5, 3, 24, rgb), 40));
    EXPECT_EQ(img24.pixel(4, 2), qRgb(200, 200, 0x40));
    EXPECT_EQ(img24.pixel(0, 0), qRgb(0, 0, 0x40));

    const QImage img32 = decode(bmpFile(infoHeader(5, 3, 32, 0) + rows(5, 3, 32, rgb), 40));
    EXPECT_EQ(img32.pixel(3, 1), qRgb(150, 100, 0x40));
    EXPECT_FALSE(img32.hasAlphaChannel()); // the fourth byte of plain 32-bit data is unused

    // 16 bits: five bits each, and 5-6-5 through bit-field masks.
    auto p555 = [](int x, int) { return std::uint32_t(x == 0 ? 0x7c00 : 0x001f); };
    const QImage img555 = decode(bmpFile(infoHeader(5, 3, 16, 0) + rows(5, 3, 16, p555), 40));
    EXPECT_EQ(img555.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(img555.pixel(1, 0), qRgb(0, 0, 255));
    QByteArray masks;
    for (std::uint32_t m : {0xf800u, 0x07e0u, 0x001fu})
        for (int i = 0; i < 4; ++i)
            masks += char((m >> (8 * i)) & 0xff);
    auto p565 = [](int x, int) { return std::uint32_t(x == 0 ? 0x07e0 : 0xf800); };
    const QImage img565 = decode(bmpFile(infoHeader(5, 3, 16, 3) + masks + rows(5, 3, 16, p565), 52));
    EXPECT_EQ(img565.pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(img565.pixel(2, 2), qRgb(255, 0, 0));
}

TEST(PictureBitmaps, TopDownCoreHeaderAndBareDib)
{
    QByteArray topDown = infoHeader(5, -3, 8, 0, 4) + palette(four);
    topDown += rows(5, 3, 8, pattern, true);
    expectPattern(decode(bmpFile(topDown, 40 + 16)), four);

    const QByteArray core = coreHeader(5, 3, 4) + palette(std::vector<QRgb>(four.begin(), four.end()), true)
        + QByteArray(12 * 3, '\0') + rows(5, 3, 4, pattern);
    expectPattern(decode(bmpFile(core, 12 + 16 * 3)), four);

    // A .dib file: the info header straight away, no file header.
    QByteArray dib = infoHeader(5, 3, 8, 0, 4) + palette(four) + rows(5, 3, 8, pattern);
    expectPattern(decode(dib), four);
}

TEST(PictureBitmaps, RunLengthCodes)
{
    // 8 bits, 6 x 3: bottom row a run and a literal, middle row a delta
    // leaves pixels at colour 0, top row a run cut short by the edge.
    const QByteArray rle8("\x03\x01" "\x00\x03\x02\x03\x02\x00" "\x00\x00"
                          "\x00\x02\x02\x00" "\x02\x03\x00\x00"
                          "\x09\x02" "\x00\x01", 22);
    const QByteArray h8 = infoHeader(6, 3, 8, 1, 4, int(rle8.size())) + palette(four);
    const QImage img8 = decode(bmpFile(h8 + rle8, int(h8.size())));
    ASSERT_EQ(img8.size(), QSize(6, 3));
    const int bottom[6] = {1, 1, 1, 2, 3, 2}, middle[6] = {0, 0, 3, 3, 0, 0};
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(img8.pixel(x, 2), four[std::size_t(bottom[x])]) << x;
        EXPECT_EQ(img8.pixel(x, 1), four[std::size_t(middle[x])]) << x;
        EXPECT_EQ(img8.pixel(x, 0), four[2]) << x;
    }

    // 4 bits: alternating nibbles in a run, an odd literal padded to a word.
    const QByteArray rle4("\x05\x12" "\x00\x03\x31\x30" "\x00\x01", 8);
    const QByteArray h4 = infoHeader(8, 1, 4, 2, 4, int(rle4.size())) + palette(four);
    const QImage img4 = decode(bmpFile(h4 + rle4, int(h4.size())));
    const int row[8] = {1, 2, 1, 2, 1, 3, 1, 3};
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(img4.pixel(x, 0), four[std::size_t(row[x])]) << x;
}

TEST(PictureBitmaps, EightThousandSquareOpensAndBeyondTheLimitIsRefused)
{
    {
        const QImage big = decode(bigRle8(8000, four));
        ASSERT_EQ(big.size(), QSize(8000, 8000));
        EXPECT_EQ(big.pixel(0, 7999), four[1]);
        EXPECT_EQ(big.pixel(7999, 0), four[2]);
    }
    // A header promising more is refused before anything is allocated.
    QString text;
    EXPECT_EQ(errorOf(bmpFile(infoHeader(13000, 13000, 24, 0), 40), &text), err::OutOfMemory);
    EXPECT_TRUE(text.contains("13000 x 13000")) << text.toStdString();
    EXPECT_EQ(errorOf(bmpFile(infoHeader(40000, 1, 24, 0), 40)), err::OutOfMemory);
    // Read from a file, the header alone refuses it: the rest is never read.
    const QByteArray head = bmpFile(infoHeader(20000, 20000, 24, 0), 40);
    try {
        decodeBmpStream(ByteSpan(head.constData(), std::size_t(head.size())), 1'200'000'054,
                        [](char *, qint64) -> qint64 { throw std::logic_error("read on"); }, {});
        ADD_FAILURE() << "not refused";
    } catch (const QuorError &e) {
        EXPECT_EQ(e.number, err::OutOfMemory);
    }
}

TEST(PictureOthers, GifFirstFrameJpegAndIconLargestImage)
{
    const std::vector<QRgb> colours = {qRgb(255, 255, 255), qRgb(200, 0, 0), qRgb(0, 0, 200)};
    const QByteArray g = gif(5, 3, colours, {[](int x, int) { return std::uint32_t(x % 3); },
                                             [](int, int) { return 2u; }});
    const QImage gi = decode(g);
    ASSERT_EQ(gi.size(), QSize(5, 3));
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(gi.pixel(x, 1) & 0xffffff, colours[std::size_t(x % 3)] & 0xffffff) << x;

    QImage solid(16, 8, QImage::Format_RGB32);
    solid.fill(qRgb(20, 120, 220));
    const QImage ji = decode(jpeg(solid));
    ASSERT_EQ(ji.size(), QSize(16, 8));
    const QColor c = ji.pixelColor(8, 4);
    EXPECT_NEAR(c.red(), 20, 8);
    EXPECT_NEAR(c.green(), 120, 8);
    EXPECT_NEAR(c.blue(), 220, 8);

    // Three images; the 32-pixel one is the largest, its corner masked out.
    const QByteArray ico = icoFile({{16, iconImage(16, 24, qRgb(255, 0, 0))},
                                    {32, iconImage(32, 32, qRgb(0, 0, 255),
                                                   [](int x, int y) { return x < 4 && y < 4; })},
                                    {24, iconImage(24, 24, qRgb(0, 255, 0))}});
    const QImage ii = decode(ico);
    ASSERT_EQ(ii.size(), QSize(32, 32));
    EXPECT_EQ(ii.pixel(20, 20), qRgb(0, 0, 255));
    EXPECT_EQ(qAlpha(ii.pixel(1, 1)), 0);

    // An icon whose largest image is stored as PNG.
    QImage green(48, 48, QImage::Format_ARGB32);
    green.fill(qRgb(0, 160, 0));
    const QImage pi = decode(icoFile({{16, iconImage(16, 24, qRgb(255, 0, 0))}, {48, png(green)}}));
    ASSERT_EQ(pi.size(), QSize(48, 48));
    EXPECT_EQ(pi.pixel(10, 10), qRgb(0, 160, 0));
}

TEST(PictureErrors, EachKindOfBadFileHasItsMessage)
{
    QString text;
    EXPECT_EQ(errorOf(QByteArray(), &text), InvalidPicture);
    EXPECT_EQ(text, emptyPictureFile().description);
    EXPECT_EQ(errorOf("这不是图片，只是一行文字。\n", &text), InvalidPicture);
    EXPECT_EQ(text, notAPicture().description);

    const QString damaged = damagedPicture().description;
    const QByteArray h = infoHeader(5, 3, 24, 0);
    const QByteArray bmp = bmpFile(h + rows(5, 3, 24, [](int, int) { return 0xffffffu; }), 40);
    QImage solid(16, 8, QImage::Format_RGB32);
    solid.fill(Qt::red);
    const QByteArray rle("\x05\x01\x00\x00\x05\x01", 6); // stops after two of three rows
    const QByteArray h8 = infoHeader(5, 3, 8, 1, 4, 6) + palette(four);
    const std::vector<std::pair<const char *, QByteArray>> cut = {
        {"bmp pixels", bmp.left(bmp.size() - 10)},
        {"bmp header", bmp.left(30)},
        {"rle", bmpFile(h8 + rle, int(h8.size()))},
        {"gif", gif(5, 3, four, {pattern}).left(40)},
        {"jpeg", jpeg(solid).left(300)},
        {"ico directory", icoFile({{16, iconImage(16, 24, Qt::red)}}).left(12)},
        {"ico image", icoFile({{16, iconImage(16, 24, Qt::red)}}).left(200)},
    };
    for (const auto &[what, bytes] : cut) {
        EXPECT_EQ(errorOf(bytes, &text), InvalidPicture) << what;
        EXPECT_EQ(text, damaged) << what;
    }
    // Nonsense inside a well-formed start.
    EXPECT_EQ(errorOf(bmpFile(infoHeader(5, 3, 7, 0), 40), &text), InvalidPicture);
    EXPECT_EQ(text, unsupportedPicture().description);
    EXPECT_EQ(errorOf(bmpFile(infoHeader(0, 3, 24, 0), 40)), InvalidPicture);
    QByteArray badRle = bmpFile(infoHeader(4, 4, 4, 1, 0) + palette(four), 40 + 64);
    EXPECT_EQ(errorOf(badRle), InvalidPicture); // RLE8 coding on 4-bit pixels
}
