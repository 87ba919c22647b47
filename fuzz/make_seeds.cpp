// Writes the picture loader's seed corpus: one small file for each format,
// depth, coding and header the loader knows, plus the files that once broke
// it. Run as `make_fuzz_seeds fuzz/seeds` after changing the samples.
#include "formats/picture_loader.h"
#include "formats/picture_samples.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <QTemporaryDir>

#include <climits>
#include <cstdio>

using namespace samples;

namespace {

const std::vector<QRgb> four = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};

std::uint32_t pattern(int x, int y) { return std::uint32_t((x + y) % 4); }
std::uint32_t colourOf(int x, int y) { return four[pattern(x, y)] & 0xffffff; }
// The pattern as colour indices of a `bits`-bit table.
Pixel indices(int bits)
{
    return [bits](int x, int y) { return bits == 1 ? pattern(x, y) % 2 : pattern(x, y); };
}
// The pattern as 5-5-5 pixels.
std::uint32_t rgb555(int x, int y)
{
    const QRgb c = four[pattern(x, y)];
    return std::uint32_t(qRed(c) >> 3 << 10 | qGreen(c) >> 3 << 5 | qBlue(c) >> 3);
}

QByteArray le32(std::uint32_t v)
{
    QByteArray b;
    for (int i = 0; i < 4; ++i)
        b += char((v >> (8 * i)) & 0xff);
    return b;
}

// An indexed 5 x 3 DIB (header, table, bits) and the size of header and table.
std::pair<QByteArray, int> indexed(int bits, bool core = false)
{
    std::vector<QRgb> colours = four;
    colours.resize(std::size_t(1) << bits, qRgb(9, 9, 9));
    const QByteArray head = (core ? coreHeader(5, 3, bits) : infoHeader(5, 3, bits, 0))
        + palette(colours, core);
    return {head + rows(5, 3, bits, indices(bits)), int(head.size())};
}

QByteArray bmp(const std::pair<QByteArray, int> &dib) { return bmpFile(dib.first, dib.second); }

// 16-bit 5-6-5 or 32-bit pixels with explicit masks after the header.
QByteArray bitfields(int bits, bool alpha)
{
    QByteArray head = infoHeader(5, 3, bits, alpha ? 6 : 3);
    if (bits == 16)
        head += le32(0xf800) + le32(0x07e0) + le32(0x001f);
    else
        head += le32(0xff0000) + le32(0xff00) + le32(0xff);
    if (alpha)
        head += le32(0xff000000);
    return head + rows(5, 3, bits, [&](int x, int y) {
        const QRgb c = four[pattern(x, y)];
        if (bits == 16)
            return std::uint32_t(qRed(c) >> 3 << 11 | qGreen(c) >> 2 << 5 | qBlue(c) >> 3);
        return (c & 0xffffff) | (x == 0 ? 0u : 0xff000000u);
    });
}

// A version 5 header (124 bytes) with its masks inside it.
QByteArray v5Header32()
{
    QByteArray head = infoHeader(5, 3, 32, 3);
    head.replace(0, 4, le32(124));
    head += le32(0xff0000) + le32(0xff00) + le32(0xff) + le32(0xff000000);
    head += le32(0x73524742); // sRGB
    head += QByteArray(124 - head.size(), '\0');
    return head;
}

QByteArray rle8()
{
    // A run, an absolute run, a delta, end of line and end of bitmap.
    const QByteArray codes("\x02\x01" "\x00\x03\x02\x03\x01\x00" "\x00\x00" "\x00\x02\x01\x01"
                           "\x04\x02" "\x00\x01", 18);
    const QByteArray head = infoHeader(5, 3, 8, 1, 4, int(codes.size())) + palette(four);
    return bmpFile(head + codes, int(head.size()));
}

QByteArray rle4()
{
    const QByteArray codes("\x05\x12\x00\x00\x00\x04\x12\x30\x00\x00\x05\x21\x00\x01", 14);
    std::vector<QRgb> colours = four;
    colours.resize(16, qRgb(9, 9, 9));
    const QByteArray head = infoHeader(5, 3, 4, 2, 16, int(codes.size())) + palette(colours);
    return bmpFile(head + codes, int(head.size()));
}

// A 4 x 4 icon image of any depth: colour bits, then the AND mask.
QByteArray iconOfDepth(int bits)
{
    QByteArray b = infoHeader(4, 8, bits, 0);
    if (bits <= 8) {
        std::vector<QRgb> colours = four;
        colours.resize(std::size_t(1) << bits, qRgb(9, 9, 9));
        b += palette(colours);
        b += rows(4, 4, bits, indices(bits));
    } else {
        b += rows(4, 4, bits, colourOf);
    }
    return b + rows(4, 4, 1, [](int x, int y) { return x == 0 && y == 0 ? 1u : 0u; });
}

QByteArray encodedHalfQuality(const QImage &img, const char *format, bool progressive = false)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(50);
    writer.setProgressiveScanWrite(progressive);
    writer.write(img);
    return out;
}

QImage small(QImage::Format format)
{
    QImage img(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            img.setPixel(x, y, four[pattern(x / 2, y / 2)]);
    return img.convertToFormat(format);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds <folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir scratch;
    auto meta = [&](const char *name) { return scratch.filePath(QString::fromLatin1(name)); };

    QByteArray cursor = icoFile({{4, iconOfDepth(4)}});
    cursor[2] = 2;
    QImage dot(1, 1, QImage::Format_RGB32);
    dot.fill(Qt::white);
    QByteArray endlessPng = png(dot);
    endlessPng.replace(16, 8, QByteArray(8, char(0xff)));

    const std::vector<std::pair<const char *, QByteArray>> seeds = {
        {"bmp-1bit.bmp", bmp(indexed(1))},
        {"bmp-2bit.bmp", bmp(indexed(2))},
        {"bmp-4bit.bmp", bmp(indexed(4))},
        {"bmp-8bit.bmp", bmp(indexed(8))},
        {"bmp-16bit-555.bmp", bmpFile(infoHeader(5, 3, 16, 0) + rows(5, 3, 16, rgb555), 40)},
        {"bmp-16bit-565.bmp", bmpFile(bitfields(16, false), 52)},
        {"bmp-24bit.bmp", bmpFile(infoHeader(5, 3, 24, 0) + rows(5, 3, 24, colourOf), 40)},
        {"bmp-24bit-topdown.bmp",
         bmpFile(infoHeader(5, -3, 24, 0) + rows(5, 3, 24, colourOf, true), 40)},
        {"bmp-32bit.bmp", bmpFile(infoHeader(5, 3, 32, 0) + rows(5, 3, 32, colourOf), 40)},
        {"bmp-32bit-alpha.bmp", bmpFile(bitfields(32, true), 56)},
        {"bmp-32bit-v5.bmp", bmpFile(v5Header32() + rows(5, 3, 32, colourOf), 124)},
        {"bmp-rle4.bmp", rle4()},
        {"bmp-rle8.bmp", rle8()},
        {"bmp-core-1bit.bmp", bmp(indexed(1, true))},
        {"bmp-core-4bit.bmp", bmp(indexed(4, true))},
        {"bmp-core-8bit.bmp", bmp(indexed(8, true))},
        {"bmp-core-24bit.bmp", bmpFile(coreHeader(5, 3, 24) + rows(5, 3, 24, colourOf), 12)},
        {"dib-4bit.dib", indexed(4).first},
        {"dib-core-8bit.dib", indexed(8, true).first},
        {"dib-32bit-bitfields.dib", bitfields(32, false)},
        {"gif-one-frame.gif", gif(5, 3, four, {pattern})},
        {"gif-two-frames.gif", gif(5, 3, {qRgb(255, 255, 255), qRgb(200, 0, 0)},
                                   {[](int x, int) { return std::uint32_t(x % 2); },
                                    [](int, int) { return 1u; }})},
        {"jpeg-colour.jpg", encodedHalfQuality(small(QImage::Format_RGB32), "jpeg")},
        {"jpeg-grey.jpg", encodedHalfQuality(small(QImage::Format_Grayscale8), "jpeg")},
        {"jpeg-progressive.jpg", encodedHalfQuality(small(QImage::Format_RGB32), "jpeg", true)},
        {"ico-1bit.ico", icoFile({{4, iconOfDepth(1)}})},
        {"ico-4bit.ico", icoFile({{4, iconOfDepth(4)}})},
        {"ico-8bit.ico", icoFile({{4, iconOfDepth(8)}})},
        {"ico-24bit.ico", icoFile({{4, iconOfDepth(24)}})},
        {"ico-32bit.ico", icoFile({{4, iconOfDepth(32)}})},
        {"ico-png.ico",
         icoFile({{4, iconOfDepth(8)}, {8, encodedHalfQuality(small(QImage::Format_ARGB32), "png")}})},
        {"cur-4bit.cur", cursor},
        {"ico-huge-png.ico", icoFile({{0, endlessPng}, {4, iconOfDepth(24)}})},
        {"png-alpha.png", encodedHalfQuality(small(QImage::Format_ARGB32), "png")},
        {"png-16bit.png", encodedHalfQuality(small(QImage::Format_RGBA64), "png")},
        {"png-palette.png", encodedHalfQuality(small(QImage::Format_Indexed8), "png")},
        {"png-grey.png", encodedHalfQuality(small(QImage::Format_Grayscale8), "png")},
        {"webp-lossy.webp", encodedHalfQuality(small(QImage::Format_RGB32), "webp")},
        {"webp-lossless-alpha.webp", samples::encoded(small(QImage::Format_ARGB32), "webp")},
        {"tiff-colour.tif", encodedHalfQuality(small(QImage::Format_RGB32), "tiff")},
        {"tiff-alpha.tif", encodedHalfQuality(small(QImage::Format_ARGB32), "tiff")},
        {"tiff-mono.tif", encodedHalfQuality(small(QImage::Format_Mono), "tiff")},
        {"pnm-raw.ppm", encodedHalfQuality(small(QImage::Format_RGB32), "ppm")},
        {"pnm-grey.pgm", encodedHalfQuality(small(QImage::Format_Grayscale8), "pgm")},
        {"pnm-mono.pbm", encodedHalfQuality(small(QImage::Format_Mono), "pbm")},
        {"pnm-plain.ppm", QByteArray("P3\n# plain\n2 2\n255\n255 0 0  0 255 0\n0 0 255  9 9 9\n")},
        {"wmf-placeable.wmf", wmfShapes(meta("a.wmf"), true)},
        {"wmf-bare.wmf", wmfWithoutWindow(meta("b.wmf"))},
        {"wmf-fills.wmf", wmfFills(meta("c.wmf"), 3)},
        {"emf-shapes.emf", emfShapes(meta("d.emf"))},
        {"emf-wide-pen.emf", emfWideLine(meta("e.emf"), 100000)},
        {"emf-turned-text.emf", emfTurnedText(meta("f.emf"), INT_MIN)},
        {"wmf-own-viewport.wmf", wmfOwnViewport(meta("g.wmf"))},
        {"wmf-excluded-centre.wmf", wmfExcludedCentre(meta("h.wmf"))},
        {"wmf-pattern-brushes.wmf", wmfPatternBrushes(meta("i.wmf"))},
        {"emf-clip-path.emf", emfExcludedCentre(meta("j.emf"), true)},
        {"emf-text-no-advances.emf", emfTextWithoutAdvances(meta("k.emf"))},
        {"emf-bounds-off-frame.emf", emfBoundsOutsideFrame(meta("l.emf"))},
        {"emf-more-records.emf", emfRecords(meta("m.emf"))},
        {"emf-brushes.emf", emfBrushes(meta("n.emf"))},
        {"emf-far-masks.emf", emfFarMasks(meta("o.emf"))},
    };
    // Every seed must open: one that is refused guides the fuzzer nowhere.
    int failures = 0;
    for (const auto &[name, bytes] : seeds) {
        try {
            const QImage img =
                quor::decodePicture(quor::ByteSpan(bytes.constData(), std::size_t(bytes.size())));
            std::printf("%-26s %5lld bytes  %d x %d\n", name, qint64(bytes.size()), img.width(),
                        img.height());
            writeFile(out.filePath(QString::fromLatin1(name)), bytes);
        } catch (const quor::QuorError &e) {
            std::fprintf(stderr, "%s does not open: %s\n", name, qPrintable(e.description));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
