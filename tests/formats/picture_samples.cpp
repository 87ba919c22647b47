#include "formats/picture_samples.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>

#include <uemf.h>
#include <uemf_utf.h>
#include <uwmf.h>

#include <climits>
#include <cstdlib>
#include <cstring>

namespace samples {

namespace {

void put16(QByteArray &b, int v)
{
    b += char(v & 0xff);
    b += char((v >> 8) & 0xff);
}

void put32(QByteArray &b, std::uint32_t v)
{
    put16(b, int(v & 0xffff));
    put16(b, int(v >> 16));
}

} // namespace

QByteArray infoHeader(int width, int height, int bits, int compression, int colours, int imageSize)
{
    QByteArray b;
    put32(b, 40);
    put32(b, std::uint32_t(width));
    put32(b, std::uint32_t(height));
    put16(b, 1);
    put16(b, bits);
    put32(b, std::uint32_t(compression));
    put32(b, std::uint32_t(imageSize));
    put32(b, 2835);
    put32(b, 2835);
    put32(b, std::uint32_t(colours));
    put32(b, 0);
    return b;
}

QByteArray coreHeader(int width, int height, int bits)
{
    QByteArray b;
    put32(b, 12);
    put16(b, width);
    put16(b, height);
    put16(b, 1);
    put16(b, bits);
    return b;
}

QByteArray palette(const std::vector<QRgb> &colours, bool triples)
{
    QByteArray b;
    for (QRgb c : colours) {
        b += char(qBlue(c));
        b += char(qGreen(c));
        b += char(qRed(c));
        if (!triples)
            b += char(0);
    }
    return b;
}

QByteArray rows(int width, int height, int bits, const Pixel &value, bool topDown)
{
    const int stride = ((width * bits + 31) / 32) * 4;
    QByteArray b;
    for (int r = 0; r < height; ++r) {
        const int y = topDown ? r : height - 1 - r;
        QByteArray row(stride, '\0');
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = value(x, y);
            switch (bits) {
            case 1: case 2: case 4: case 8: {
                const int per = 8 / bits;
                const int shift = 8 - bits * (x % per + 1);
                row[x / per] = char(row[x / per] | (v << shift));
                break;
            }
            case 16:
                row[2 * x] = char(v & 0xff);
                row[2 * x + 1] = char(v >> 8);
                break;
            case 24:
                row[3 * x] = char(v & 0xff);
                row[3 * x + 1] = char((v >> 8) & 0xff);
                row[3 * x + 2] = char((v >> 16) & 0xff);
                break;
            case 32:
                row[4 * x] = char(v & 0xff);
                row[4 * x + 1] = char((v >> 8) & 0xff);
                row[4 * x + 2] = char((v >> 16) & 0xff);
                row[4 * x + 3] = char(v >> 24);
                break;
            }
        }
        b += row;
    }
    return b;
}

QByteArray bmpFile(const QByteArray &dib, int headerAndTable)
{
    QByteArray b("BM");
    put32(b, std::uint32_t(14 + dib.size()));
    put32(b, 0);
    put32(b, std::uint32_t(14 + headerAndTable));
    return b + dib;
}

QByteArray bigRle8(int side, const std::vector<QRgb> &colours)
{
    QByteArray rle;
    for (int y = 0; y < side; ++y) {
        for (int n = side; n > 0; n -= 250) {
            rle += char(std::min(n, 250));
            rle += char(y < side / 2 ? 1 : 2);
        }
        rle += QByteArray("\x00\x00", 2);
    }
    rle += QByteArray("\x00\x01", 2);
    const QByteArray h = infoHeader(side, side, 8, 1, int(colours.size()), int(rle.size()))
        + palette(colours);
    return bmpFile(h + rle, int(h.size()));
}

QByteArray gif(int width, int height, const std::vector<QRgb> &colours,
               const std::vector<Pixel> &frames)
{
    int sizeBits = 1;
    while ((1u << sizeBits) < colours.size())
        ++sizeBits;
    const int minCode = std::max(2, sizeBits);
    QByteArray b("GIF89a");
    put16(b, width);
    put16(b, height);
    b += char(0x80 | (sizeBits - 1) << 4 | (sizeBits - 1));
    b += char(0);
    b += char(0);
    for (int i = 0; i < (1 << sizeBits); ++i) {
        const QRgb c = i < int(colours.size()) ? colours[std::size_t(i)] : 0;
        b += char(qRed(c));
        b += char(qGreen(c));
        b += char(qBlue(c));
    }
    for (const Pixel &frame : frames) {
        b += char(0x2c);
        put16(b, 0);
        put16(b, 0);
        put16(b, width);
        put16(b, height);
        b += char(0);
        b += char(minCode);
        // Every pixel after a clear code, so the code width never grows.
        const int width_ = minCode + 1, clear = 1 << minCode;
        QByteArray data;
        std::uint32_t acc = 0;
        int nbits = 0;
        auto push = [&](int code) {
            acc |= std::uint32_t(code) << nbits;
            nbits += width_;
            while (nbits >= 8) {
                data += char(acc & 0xff);
                acc >>= 8;
                nbits -= 8;
            }
        };
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                push(clear);
                push(int(frame(x, y)));
            }
        push(clear + 1);
        if (nbits)
            data += char(acc & 0xff);
        for (qsizetype i = 0; i < data.size(); i += 255) {
            const QByteArray part = data.mid(i, 255);
            b += char(part.size());
            b += part;
        }
        b += char(0);
    }
    b += char(0x3b);
    return b;
}

QByteArray iconImage(int size, int bits, QRgb colour, const Pixel &transparent)
{
    QByteArray b = infoHeader(size, size * 2, bits, 0);
    const std::uint32_t rgb = colour & 0xffffff;
    const std::uint32_t pixel = bits == 32 ? rgb | 0u : rgb; // alpha left zero: the mask decides
    b += rows(size, size, bits, [&](int, int) { return pixel; });
    b += rows(size, size, 1, [&](int x, int y) { return transparent && transparent(x, y) ? 1u : 0u; });
    return b;
}

QByteArray icoFile(const std::vector<std::pair<int, QByteArray>> &images)
{
    QByteArray b;
    put16(b, 0);
    put16(b, 1);
    put16(b, int(images.size()));
    std::uint32_t offset = 6 + 16 * std::uint32_t(images.size());
    for (const auto &[size, data] : images) {
        b += char(size >= 256 ? 0 : size);
        b += char(size >= 256 ? 0 : size);
        b += char(0);
        b += char(0);
        put16(b, 1);
        put16(b, 32);
        put32(b, std::uint32_t(data.size()));
        put32(b, offset);
        offset += std::uint32_t(data.size());
    }
    for (const auto &image : images)
        b += image.second;
    return b;
}

QByteArray encoded(const QImage &img, const char *format)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(100);
    writer.write(img);
    return out;
}

QByteArray png(const QImage &img) { return encoded(img, "png"); }
QByteArray jpeg(const QImage &img) { return encoded(img, "jpeg"); }

QByteArray readFile(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(data);
}

// --- metafiles ----------------------------------------------------------------

namespace {

// A record of our own making, for what the builders cannot produce.
char *rawRecord(const QByteArray &bytes)
{
    char *r = static_cast<char *>(std::malloc(std::size_t(bytes.size())));
    std::memcpy(r, bytes.constData(), std::size_t(bytes.size()));
    return r;
}

// 2 x 2 pixels: blue, orange over dark green, purple.
PU_BITMAPINFO quadBitmap(QByteArray &px)
{
    px = rows(2, 2, 24, [](int x, int y) -> std::uint32_t {
        const QRgb c[2][2] = {{qRgb(0, 0, 255), qRgb(255, 128, 0)}, {qRgb(0, 128, 0), qRgb(128, 0, 128)}};
        return c[y][x] & 0xffffff;
    });
    return bitmapinfo_set(bitmapinfoheader_set(2, 2, 1, 24, U_BI_RGB, std::uint32_t(px.size()), 0, 0, 0, 0),
                          nullptr);
}

} // namespace

QByteArray wmfShapes(const QString &path, bool placeable)
{
    const QByteArray name = path.toLocal8Bit();
    WMFTRACK *wt = nullptr;
    WMFHANDLES *wht = nullptr;
    wmf_start(name.constData(), 4096, 4096, &wt);
    wmf_htable_create(64, 64, &wht);
    U_PAIRF *size = placeable ? U_PAIRF_set(2.0f, 2.0f) : nullptr; // inches at 1440 a inch
    wmf_header_append(reinterpret_cast<U_METARECORD *>(U_WMRHEADER_set(size, 1440)), wt, 1);
    std::free(size);
    auto add = [&](char *rec) { wmf_append(reinterpret_cast<U_METARECORD *>(rec), wt, 1); };
    auto rect = [](int l, int t, int r, int b) { return U_RECT16{int16_t(l), int16_t(t), int16_t(r), int16_t(b)}; };
    uint32_t ih;
    auto brush = [&](U_COLORREF c) {
        add(wcreatebrushindirect_set(&ih, wht, U_WLOGBRUSH_set(U_BS_SOLID, c, 0)));
        add(wselectobject_set(ih, wht));
    };

    add(U_WMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    add(U_WMRSETWINDOWORG_set(point16_set(0, 0)));
    add(U_WMRSETWINDOWEXT_set(point16_set(2880, 2880)));
    add(wcreatepenindirect_set(&ih, wht, U_PEN_set(U_PS_NULL, 0, U_RGB(0, 0, 0))));
    add(wselectobject_set(ih, wht));
    brush(U_RGB(255, 0, 0));
    add(U_WMRRECTANGLE_set(rect(0, 0, 720, 720)));
    // A saved state brings the red brush back.
    add(U_WMRSAVEDC_set());
    brush(U_RGB(0, 0, 0));
    add(U_WMRRESTOREDC_set(-1));
    add(U_WMRRECTANGLE_set(rect(960, 0, 1440, 480)));
    // A polygon that claims more points than it holds, and a record type
    // nobody knows: both are skipped.
    add(rawRecord(QByteArray("\x05\x00\x00\x00\x24\x03\xe8\x03\x00\x00", 10)));
    add(rawRecord(QByteArray("\x03\x00\x00\x00\x49\x00", 6)));
    brush(U_RGB(0, 255, 0));
    add(U_WMRELLIPSE_set(rect(720, 720, 1440, 1440)));
    brush(U_RGB(255, 255, 0));
    const U_POINT16 tri[3] = {point16_set(0, 1440), point16_set(360, 960), point16_set(720, 1440)};
    add(U_WMRPOLYGON_set(3, tri));
    brush(U_RGB(255, 0, 255));
    add(U_WMRPIE_set(point16_set(1440, 720), point16_set(1200, 480), rect(960, 480, 1440, 960)));
    add(wcreatepenindirect_set(&ih, wht, U_PEN_set(U_PS_SOLID, 0, U_RGB(0, 0, 255))));
    add(wselectobject_set(ih, wht));
    add(U_WMRMOVETO_set(point16_set(0, 2700)));
    add(U_WMRLINETO_set(point16_set(1440, 2700)));
    QByteArray px;
    PU_BITMAPINFO bmi = quadBitmap(px);
    add(U_WMRSTRETCHDIB_set(point16_set(1500, 0), point16_set(480, 480), point16_set(0, 0),
                            point16_set(2, 2), U_DIB_RGB_COLORS, U_SRCCOPY, bmi,
                            std::uint32_t(px.size()), px.constData()));
    std::free(bmi);
    U_FONT *font = U_FONT_set(-600, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0, const_cast<char *>("Sans"));
    add(wcreatefontindirect_set(&ih, wht, font));
    std::free(font);
    add(wselectobject_set(ih, wht));
    add(U_WMRSETBKMODE_set(U_TRANSPARENT));
    add(U_WMRTEXTOUT_set(point16_set(1500, 1500), const_cast<char *>("W")));
    add(U_WMREOF_set());
    wmf_finish(wt);
    wmf_free(&wt);
    wmf_htable_free(&wht);
    return readFile(path);
}

QByteArray wmfWithoutWindow(const QString &path)
{
    const QByteArray name = path.toLocal8Bit();
    WMFTRACK *wt = nullptr;
    WMFHANDLES *wht = nullptr;
    wmf_start(name.constData(), 1024, 1024, &wt);
    wmf_htable_create(8, 8, &wht);
    wmf_header_append(reinterpret_cast<U_METARECORD *>(U_WMRHEADER_set(nullptr, 96)), wt, 1);
    auto add = [&](char *rec) { wmf_append(reinterpret_cast<U_METARECORD *>(rec), wt, 1); };
    uint32_t ih;
    add(wcreatebrushindirect_set(&ih, wht, U_WLOGBRUSH_set(U_BS_SOLID, U_RGB(255, 0, 0), 0)));
    add(wselectobject_set(ih, wht));
    add(U_WMRRECTANGLE_set(U_RECT16{10, 10, 50, 30}));
    add(U_WMREOF_set());
    wmf_finish(wt);
    wmf_free(&wt);
    wmf_htable_free(&wht);
    return readFile(path);
}

QByteArray wmfFills(const QString &path, int count)
{
    const QByteArray name = path.toLocal8Bit();
    WMFTRACK *wt = nullptr;
    WMFHANDLES *wht = nullptr;
    wmf_start(name.constData(), 1 << 20, 1 << 20, &wt);
    wmf_htable_create(64, 64, &wht);
    U_PAIRF *size = U_PAIRF_set(10.0f, 10.0f);
    wmf_header_append(reinterpret_cast<U_METARECORD *>(U_WMRHEADER_set(size, 100)), wt, 1);
    std::free(size);
    auto add = [&](char *rec) { wmf_append(reinterpret_cast<U_METARECORD *>(rec), wt, 1); };
    uint32_t ih;
    const U_RECT16 all{0, 0, 1000, 1000};
    for (int i = 0; i <= count; ++i) {
        if (i == 0 || i == count) {
            const U_COLORREF c = i == count ? U_RGB(0, 255, 0) : U_RGB(255, 0, 0);
            add(wcreatebrushindirect_set(&ih, wht, U_WLOGBRUSH_set(U_BS_SOLID, c, 0)));
            add(wselectobject_set(ih, wht));
        }
        add(U_WMRRECTANGLE_set(all));
    }
    add(U_WMREOF_set());
    wmf_finish(wt);
    wmf_free(&wt);
    wmf_htable_free(&wht);
    return readFile(path);
}

QByteArray emfShapes(const QString &path)
{
    const QByteArray name = path.toLocal8Bit();
    EMFTRACK *et = nullptr;
    EMFHANDLES *eht = nullptr;
    emf_start(name.constData(), 4096, 4096, &et);
    emf_htable_create(64, 64, &eht);
    auto add = [&](char *rec) { emf_append(reinterpret_cast<U_ENHMETARECORD *>(rec), et, 1); };
    auto rect = [](int l, int t, int r, int b) { return U_RECTL{l, t, r, b}; };
    // Two inches square on a 96-dpi reference device: 192 x 192 pixels.
    add(U_EMRHEADER_set(rect(0, 0, 191, 191), rect(0, 0, 5080, 5080), nullptr, 0, nullptr,
                        U_SIZEL{960, 960}, U_SIZEL{254, 254}, 0));
    uint32_t ih;
    auto brush = [&](U_COLORREF c) {
        add(createbrushindirect_set(&ih, eht, logbrush_set(U_BS_SOLID, c, 0)));
        add(selectobject_set(ih, eht));
    };
    // Ten logical units a pixel.
    add(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    add(U_EMRSETWINDOWEXTEX_set(U_SIZEL{1920, 1920}));
    add(U_EMRSETVIEWPORTEXTEX_set(U_SIZEL{192, 192}));
    add(selectobject_set(U_NULL_PEN, eht));
    brush(U_RGB(255, 0, 0));
    add(U_EMRRECTANGLE_set(rect(0, 0, 480, 480)));
    add(U_EMRSAVEDC_set());
    brush(U_RGB(0, 0, 0));
    add(U_EMRRESTOREDC_set(-1));
    add(U_EMRRECTANGLE_set(rect(640, 0, 960, 320)));
    QByteArray bad(36, '\0');
    bad[0] = 3;  // a polygon of 1000 points in room for one
    bad[4] = 36;
    bad[24] = char(0xe8);
    bad[25] = 3;
    add(rawRecord(bad));
    add(rawRecord(QByteArray("\xc8\x00\x00\x00\x08\x00\x00\x00", 8))); // unknown type 200
    brush(U_RGB(0, 255, 0));
    add(U_EMRELLIPSE_set(rect(480, 480, 960, 960)));
    // Shifted by the world transform.
    add(U_EMRSETWORLDTRANSFORM_set(xform_set(1, 0, 0, 1, 1000, 0)));
    brush(U_RGB(0, 255, 255));
    add(U_EMRRECTANGLE_set(rect(0, 1000, 320, 1320)));
    add(U_EMRMODIFYWORLDTRANSFORM_set(xform_set(1, 0, 0, 1, 0, 0), U_MWT_IDENTITY));
    QByteArray px;
    PU_BITMAPINFO bmi = quadBitmap(px);
    add(U_EMRSTRETCHDIBITS_set(rect(0, 0, 0, 0), U_POINTL{1000, 0}, U_POINTL{320, 320}, U_POINTL{0, 0},
                               U_POINTL{2, 2}, U_DIB_RGB_COLORS, U_SRCCOPY, bmi,
                               std::uint32_t(px.size()), px.data()));
    std::free(bmi);
    // Only the clip rectangle takes the blue.
    add(U_EMRSAVEDC_set());
    add(U_EMRINTERSECTCLIPRECT_set(rect(0, 1500, 500, 1600)));
    brush(U_RGB(0, 0, 255));
    add(U_EMRRECTANGLE_set(rect(0, 1400, 1920, 1700)));
    add(U_EMRRESTOREDC_set(-1));
    // Text, forty pixels high.
    uint16_t *face = U_Utf8ToUtf16le("Sans", 0, nullptr);
    U_LOGFONT lf = logfont_set(-400, 0, 0, 0, 700, 0, 0, 0, U_ANSI_CHARSET, 0, 0, 0, 0, face);
    std::free(face);
    add(extcreatefontindirectw_set(&ih, eht, reinterpret_cast<const char *>(&lf), nullptr));
    add(selectobject_set(ih, eht));
    add(U_EMRSETBKMODE_set(U_TRANSPARENT));
    uint16_t *text = U_Utf8ToUtf16le("W", 0, nullptr);
    uint32_t dx[1] = {400};
    char *emrtext = emrtext_set(U_POINTL{0, 1000}, 1, 2, text, U_ETO_NONE, rect(0, 0, -1, -1), dx);
    add(U_EMREXTTEXTOUTW_set(rect(0, 0, -1, -1), U_GM_COMPATIBLE, 1, 1,
                             reinterpret_cast<PU_EMRTEXT>(emrtext)));
    std::free(text);
    std::free(emrtext);
    add(U_EMREOF_set(0, nullptr, et));
    emf_finish(et, eht);
    emf_free(&et);
    emf_htable_free(&eht);
    return readFile(path);
}

namespace {

// An enhanced metafile with the given header rectangles on a 96-dpi
// reference device, its records from `draw`.
QByteArray emfFile(const QString &path, U_RECTL bounds, U_RECTL frame,
                   const std::function<void(const RecordSink &, EMFHANDLES *)> &draw)
{
    const QByteArray name = path.toLocal8Bit();
    EMFTRACK *et = nullptr;
    EMFHANDLES *eht = nullptr;
    emf_start(name.constData(), 4096, 4096, &et);
    emf_htable_create(64, 64, &eht);
    auto add = [&](char *rec) { emf_append(reinterpret_cast<U_ENHMETARECORD *>(rec), et, 1); };
    add(U_EMRHEADER_set(bounds, frame, nullptr, 0, nullptr, U_SIZEL{960, 960}, U_SIZEL{254, 254}, 0));
    draw(add, eht);
    add(U_EMREOF_set(0, nullptr, et));
    emf_finish(et, eht);
    emf_free(&et);
    emf_htable_free(&eht);
    return readFile(path);
}

} // namespace

QByteArray emfPicture(const QString &path,
                      const std::function<void(const RecordSink &, EMFHANDLES *)> &draw)
{
    return emfFile(path, U_RECTL{0, 0, 191, 191}, U_RECTL{0, 0, 5080, 5080},
                   [&](const RecordSink &add, EMFHANDLES *eht) {
                       add(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
                       add(U_EMRSETWINDOWEXTEX_set(U_SIZEL{1920, 1920}));
                       add(U_EMRSETVIEWPORTEXTEX_set(U_SIZEL{192, 192}));
                       draw(add, eht);
                   });
}

QByteArray wmfPicture(const QString &path,
                      const std::function<void(const RecordSink &, WMFHANDLES *)> &draw)
{
    const QByteArray name = path.toLocal8Bit();
    WMFTRACK *wt = nullptr;
    WMFHANDLES *wht = nullptr;
    wmf_start(name.constData(), 4096, 4096, &wt);
    wmf_htable_create(64, 64, &wht);
    U_PAIRF *size = U_PAIRF_set(2.0f, 2.0f);
    wmf_header_append(reinterpret_cast<U_METARECORD *>(U_WMRHEADER_set(size, 1440)), wt, 1);
    std::free(size);
    draw([&](char *rec) { wmf_append(reinterpret_cast<U_METARECORD *>(rec), wt, 1); }, wht);
    wmf_append(reinterpret_cast<U_METARECORD *>(U_WMREOF_set()), wt, 1);
    wmf_finish(wt);
    wmf_free(&wt);
    wmf_htable_free(&wht);
    return readFile(path);
}

QByteArray emfWideLine(const QString &path, std::uint32_t width)
{
    return emfPicture(path, [&](const auto &add, EMFHANDLES *eht) {
        uint32_t ih;
        PU_EXTLOGPEN elp = extlogpen_set(U_PS_GEOMETRIC | U_PS_SOLID, width, U_BS_SOLID,
                                         U_RGB(0, 0, 255), 0, 0, nullptr);
        add(extcreatepen_set(&ih, eht, nullptr, 0, nullptr, elp));
        std::free(elp);
        add(selectobject_set(ih, eht));
        add(U_EMRMOVETOEX_set(U_POINTL{0, 100}));
        add(U_EMRLINETO_set(U_POINTL{1920, 100}));
    });
}

QByteArray emfTurnedText(const QString &path, int escapement)
{
    return emfPicture(path, [&](const auto &add, EMFHANDLES *eht) {
        uint32_t ih;
        uint16_t *face = U_Utf8ToUtf16le("Sans", 0, nullptr);
        U_LOGFONT lf = logfont_set(-400, 0, escapement, escapement, 700, 0, 0, 0, U_ANSI_CHARSET,
                                   0, 0, 0, 0, face);
        std::free(face);
        add(extcreatefontindirectw_set(&ih, eht, reinterpret_cast<const char *>(&lf), nullptr));
        add(selectobject_set(ih, eht));
        add(U_EMRSETBKMODE_set(U_TRANSPARENT));
        uint16_t *text = U_Utf8ToUtf16le("W", 0, nullptr);
        uint32_t dx[1] = {400};
        char *emrtext = emrtext_set(U_POINTL{960, 960}, 1, 2, text, U_ETO_NONE,
                                    U_RECTL{0, 0, -1, -1}, dx);
        add(U_EMREXTTEXTOUTW_set(U_RECTL{0, 0, -1, -1}, U_GM_COMPATIBLE, 1, 1,
                                 reinterpret_cast<PU_EMRTEXT>(emrtext)));
        std::free(text);
        std::free(emrtext);
    });
}

// --- records and brushes of fewer writers -------------------------------------

namespace {

U_POINTL pt(int x, int y) { return U_POINTL{x, y}; }

void selectBrush(const RecordSink &add, EMFHANDLES *eht, U_LOGBRUSH brush)
{
    uint32_t ih;
    add(createbrushindirect_set(&ih, eht, brush));
    add(selectobject_set(ih, eht));
}

// A bottom-up 1-bit info header with black and white (in that order).
PU_BITMAPINFO monoInfo(int width, int height, std::uint32_t bytes)
{
    U_RGBQUAD bw[2] = {U_BGR(0, 0, 0), U_BGR(255, 255, 255)};
    return bitmapinfo_set(bitmapinfoheader_set(width, height, 1, 1, U_BI_RGB, bytes, 0, 0, 2, 0), bw);
}

// An 8 x 8 checker of one-bit rows, `stride` bytes each.
QByteArray checker(int stride)
{
    QByteArray b;
    for (int y = 0; y < 8; ++y) {
        b += char(y % 2 ? 0x55 : 0xaa);
        b += QByteArray(stride - 1, '\0');
    }
    return b;
}

} // namespace

QByteArray wmfOwnViewport(const QString &path)
{
    return wmfPicture(path, [](const RecordSink &add, WMFHANDLES *wht) {
        uint32_t ih;
        add(U_WMRSETMAPMODE_set(U_MM_ANISOTROPIC));
        add(U_WMRSETWINDOWORG_set(point16_set(0, 0)));
        add(U_WMRSETWINDOWEXT_set(point16_set(2880, 2880)));
        add(U_WMRSETVIEWPORTORG_set(point16_set(0, 0)));
        add(U_WMRSETVIEWPORTEXT_set(point16_set(2880, 2880)));
        add(wcreatebrushindirect_set(&ih, wht, U_WLOGBRUSH_set(U_BS_SOLID, U_RGB(255, 0, 0), 0)));
        add(wselectobject_set(ih, wht));
        add(U_WMRRECTANGLE_set(U_RECT16{1440, 1440, 2880, 2880}));
    });
}

QByteArray emfExcludedCentre(const QString &path, bool byPath)
{
    auto text = [](const RecordSink &add) {
        uint16_t *w = U_Utf8ToUtf16le("W", 0, nullptr);
        uint32_t dx[1] = {400};
        char *t = emrtext_set(pt(100, 100), 1, 2, w, U_ETO_NONE, U_RECTL{0, 0, -1, -1}, dx);
        add(U_EMREXTTEXTOUTW_set(U_RECTL{0, 0, -1, -1}, U_GM_COMPATIBLE, 1, 1,
                                 reinterpret_cast<PU_EMRTEXT>(t)));
        std::free(w);
        std::free(t);
    };
    return emfPicture(path, [&](const RecordSink &add, EMFHANDLES *eht) {
        add(U_EMRSAVEDC_set());
        add(U_EMRINTERSECTCLIPRECT_set(U_RECTL{0, 0, 960, 960}));
        text(add);
        add(U_EMRRESTOREDC_set(-1));
        text(add);
        add(U_EMRSAVEDC_set());
        if (byPath) {
            add(U_EMRBEGINPATH_set());
            add(U_EMRRECTANGLE_set(U_RECTL{640, 640, 1280, 1280}));
            add(U_EMRENDPATH_set());
            add(U_EMRSELECTCLIPPATH_set(U_RGN_DIFF));
        } else {
            add(U_EMREXCLUDECLIPRECT_set(U_RECTL{640, 640, 1280, 1280}));
        }
        add(selectobject_set(U_NULL_PEN, eht));
        selectBrush(add, eht, logbrush_set(U_BS_SOLID, U_RGB(0, 0, 255), 0));
        add(U_EMRRECTANGLE_set(U_RECTL{0, 0, 1920, 1920}));
    });
}

QByteArray wmfExcludedCentre(const QString &path)
{
    return wmfPicture(path, [](const RecordSink &add, WMFHANDLES *wht) {
        uint32_t ih;
        add(U_WMRSETBKMODE_set(U_TRANSPARENT));
        add(U_WMRSAVEDC_set());
        add(U_WMRINTERSECTCLIPRECT_set(U_RECT16{0, 0, 1440, 1440}));
        add(U_WMRTEXTOUT_set(point16_set(100, 100), const_cast<char *>("W")));
        add(U_WMRRESTOREDC_set(-1));
        add(U_WMRTEXTOUT_set(point16_set(100, 100), const_cast<char *>("W")));
        add(U_WMRSAVEDC_set());
        add(U_WMREXCLUDECLIPRECT_set(U_RECT16{960, 960, 1920, 1920}));
        add(wcreatebrushindirect_set(&ih, wht, U_WLOGBRUSH_set(U_BS_SOLID, U_RGB(0, 0, 255), 0)));
        add(wselectobject_set(ih, wht));
        add(U_WMRRECTANGLE_set(U_RECT16{0, 0, 2880, 2880}));
    });
}

QByteArray emfTextWithoutAdvances(const QString &path)
{
    return emfPicture(path, [](const RecordSink &add, EMFHANDLES *eht) {
        uint32_t ih;
        uint16_t *face = U_Utf8ToUtf16le("Sans", 0, nullptr);
        U_LOGFONT lf = logfont_set(-300, 0, 0, 0, 700, 0, 0, 0, U_ANSI_CHARSET, 0, 0, 0, 0, face);
        std::free(face);
        add(extcreatefontindirectw_set(&ih, eht, reinterpret_cast<const char *>(&lf), nullptr));
        add(selectobject_set(ih, eht));
        add(U_EMRSETBKMODE_set(U_TRANSPARENT));
        uint32_t dx[2] = {300, 300};
        char *t = emrtext_set(pt(100, 100), 2, 1, const_cast<char *>("WW"), U_ETO_NONE,
                              U_RECTL{0, 0, -1, -1}, dx);
        char *rec = U_EMREXTTEXTOUTA_set(U_RECTL{0, 0, -1, -1}, U_GM_COMPATIBLE, 1, 1,
                                         reinterpret_cast<PU_EMRTEXT>(t));
        std::memset(rec + 72, 0, 4); // the advances' offset
        add(rec);
        std::free(t);
    });
}

QByteArray emfBoundsOutsideFrame(const QString &path)
{
    // The frame says 0..192 pixels down, the drawing (and the bounds) lie
    // above it, as a y-up drawing with a mirrored frame would.
    return emfFile(path, U_RECTL{0, -200, 191, -9}, U_RECTL{0, 0, 5080, 5080},
                   [](const RecordSink &add, EMFHANDLES *eht) {
                       add(selectobject_set(U_NULL_PEN, eht));
                       selectBrush(add, eht, logbrush_set(U_BS_SOLID, U_RGB(255, 0, 0), 0));
                       add(U_EMRRECTANGLE_set(U_RECTL{0, -200, 192, -8}));
                   });
}

QByteArray emfRecords(const QString &path)
{
    return emfPicture(path, [](const RecordSink &add, EMFHANDLES *eht) {
        // Row one: a gradient across, a shaded triangle, small text, a
        // drawn figure.
        U_TRIVERTEX v[5] = {{0, 0, 0xff00, 0, 0, 0}, {480, 480, 0, 0, 0xff00, 0},
                            {480, 0, 0xff00, 0, 0, 0}, {960, 0, 0, 0xff00, 0, 0},
                            {480, 480, 0, 0, 0xff00, 0}};
        const uint32_t rectangle[2] = {0, 1}, triangle[3] = {0, 1, 2};
        add(U_EMRGRADIENTFILL_set(U_RECTL{0, 0, 48, 48}, 2, 1, U_GRADIENT_FILL_RECT_H, v, rectangle));
        add(U_EMRGRADIENTFILL_set(U_RECTL{48, 0, 96, 48}, 3, 1, U_GRADIENT_FILL_TRIANGLE, v + 2, triangle));
        const uint16_t ww[2] = {'W', 'W'};
        add(U_EMRSMALLTEXTOUT_set(pt(1000, 50), 2, U_ETO_NO_RECT, U_GM_COMPATIBLE, 1, 1,
                                  U_RECTL{0, 0, -1, -1}, reinterpret_cast<const char *>(ww)));
        // Written by hand: the builder gets this record's size wrong.
        QByteArray figure;
        for (std::uint32_t v : {56u, 64u, 0u, 0u, ~0u, ~0u, 4u, 1500u, 240u, 1900u, 240u, 1900u, 400u,
                                1900u, 400u})
            put32(figure, v);
        figure += QByteArray("\x06\x02\x02\x02", 4); // move, then lines
        add(rawRecord(figure));
        // Row two: a framed region, an inverted one, a moved clip and a
        // bitmap with a colour left out.
        uint32_t red;
        add(createbrushindirect_set(&red, eht, logbrush_set(U_BS_SOLID, U_RGB(255, 0, 0), 0)));
        U_RECTL left{0, 480, 480, 960}, half{480, 480, 720, 960};
        PU_RGNDATA frame = rgndata_set(rgndataheader_set(1, left), &left);
        add(U_EMRFRAMERGN_set(U_RECTL{0, 0, -1, -1}, red, U_SIZEL{50, 50}, frame));
        std::free(frame);
        add(selectobject_set(U_NULL_PEN, eht));
        selectBrush(add, eht, logbrush_set(U_BS_SOLID, U_RGB(0, 0, 255), 0));
        add(U_EMRRECTANGLE_set(U_RECTL{480, 480, 960, 960}));
        PU_RGNDATA invert = rgndata_set(rgndataheader_set(1, half), &half);
        add(U_EMRINVERTRGN_set(invert));
        std::free(invert);
        add(U_EMRSAVEDC_set());
        add(U_EMRINTERSECTCLIPRECT_set(U_RECTL{960, 480, 1200, 720}));
        add(U_EMROFFSETCLIPRGN_set(pt(240, 240)));
        selectBrush(add, eht, logbrush_set(U_BS_SOLID, U_RGB(0, 255, 0), 0));
        add(U_EMRRECTANGLE_set(U_RECTL{960, 480, 1440, 960}));
        add(U_EMRRESTOREDC_set(-1));
        QByteArray px;
        PU_BITMAPINFO quad = quadBitmap(px);
        const U_XFORM same = xform_set(1, 0, 0, 1, 0, 0);
        add(U_EMRTRANSPARENTBLT_set(U_RECTL{0, 0, -1, -1}, pt(1440, 480), pt(480, 480), pt(0, 0),
                                    pt(2, 2), same, U_RGB(255, 255, 255), U_DIB_RGB_COLORS,
                                    0x00ff0000, quad, std::uint32_t(px.size()), px.data()));
        // Row three, one logical unit a pixel: a masked blit (left half
        // shows) and a mirrored parallelogram blit.
        add(U_EMRSETWORLDTRANSFORM_set(xform_set(10, 0, 0, 10, 0, 0)));
        QByteArray redPx = rows(48, 48, 24, [](int, int) { return 0xff0000u; });
        PU_BITMAPINFO redInfo = bitmapinfo_set(
            bitmapinfoheader_set(48, 48, 1, 24, U_BI_RGB, std::uint32_t(redPx.size()), 0, 0, 0, 0), nullptr);
        QByteArray maskPx = rows(48, 48, 1, [](int x, int) { return x < 24 ? 1u : 0u; });
        PU_BITMAPINFO maskInfo = monoInfo(48, 48, std::uint32_t(maskPx.size()));
        add(U_EMRMASKBLT_set(U_RECTL{0, 0, -1, -1}, pt(0, 96), pt(48, 48), pt(0, 0), same,
                             U_RGB(255, 255, 255), U_DIB_RGB_COLORS, pt(0, 0), U_DIB_RGB_COLORS,
                             0xaacc0020, redInfo, std::uint32_t(redPx.size()), redPx.data(), maskInfo,
                             std::uint32_t(maskPx.size()), maskPx.data()));
        U_POINTL corners[3] = {pt(144, 96), pt(96, 96), pt(144, 144)};
        add(U_EMRPLGBLT_set(U_RECTL{0, 0, -1, -1}, corners, pt(0, 0), pt(2, 2), same,
                            U_RGB(255, 255, 255), U_DIB_RGB_COLORS, pt(0, 0), U_DIB_RGB_COLORS, quad,
                            std::uint32_t(px.size()), px.data(), nullptr, 0, nullptr));
        std::free(quad);
        std::free(redInfo);
        std::free(maskInfo);
    });
}

QByteArray emfFarMasks(const QString &path)
{
    return emfPicture(path, [](const RecordSink &add, EMFHANDLES *) {
        add(U_EMRSETWORLDTRANSFORM_set(xform_set(10, 0, 0, 10, 0, 0)));
        const U_XFORM same = xform_set(1, 0, 0, 1, 0, 0);
        QByteArray redPx = rows(8, 8, 24, [](int, int) { return 0xff0000u; });
        QByteArray maskPx = rows(8, 8, 1, [](int, int) { return 1u; });
        auto blit = [&](U_POINTL dest, U_POINTL src, U_POINTL mask) {
            PU_BITMAPINFO redInfo = bitmapinfo_set(
                bitmapinfoheader_set(8, 8, 1, 24, U_BI_RGB, std::uint32_t(redPx.size()), 0, 0, 0, 0),
                nullptr);
            PU_BITMAPINFO maskInfo = monoInfo(8, 8, std::uint32_t(maskPx.size()));
            add(U_EMRMASKBLT_set(U_RECTL{0, 0, -1, -1}, dest, pt(8, 8), src, same,
                                 U_RGB(255, 255, 255), U_DIB_RGB_COLORS, mask, U_DIB_RGB_COLORS,
                                 0xaacc0020, redInfo, std::uint32_t(redPx.size()), redPx.data(),
                                 maskInfo, std::uint32_t(maskPx.size()), maskPx.data()));
            std::free(redInfo);
            std::free(maskInfo);
        };
        blit(pt(0, 0), pt(1, 0), pt(INT_MIN, 0));
        blit(pt(16, 0), pt(0, 0), pt(INT_MAX, INT_MAX));
    });
}

QByteArray emfBrushes(const QString &path)
{
    return emfPicture(path, [](const RecordSink &add, EMFHANDLES *eht) {
        uint32_t ih;
        add(U_EMRSETBKMODE_set(U_TRANSPARENT));
        // Wide pens: vertical hatching in red, the 2 x 2 bitmap as pattern.
        PU_EXTLOGPEN hatched = extlogpen_set(U_PS_GEOMETRIC | U_PS_SOLID | U_PS_ENDCAP_FLAT, 200,
                                             U_BS_HATCHED, U_RGB(255, 0, 0), U_HS_VERTICAL, 0, nullptr);
        add(extcreatepen_set(&ih, eht, nullptr, 0, nullptr, hatched));
        std::free(hatched);
        add(selectobject_set(ih, eht));
        add(U_EMRMOVETOEX_set(pt(0, 240)));
        add(U_EMRLINETO_set(pt(480, 240)));
        QByteArray px;
        PU_BITMAPINFO quad = quadBitmap(px);
        PU_EXTLOGPEN patterned = extlogpen_set(U_PS_GEOMETRIC | U_PS_SOLID | U_PS_ENDCAP_FLAT, 200,
                                               U_BS_DIBPATTERNPT, U_RGB(0, 0, 0), 0, 0, nullptr);
        add(extcreatepen_set(&ih, eht, quad, std::uint32_t(px.size()), px.data(), patterned));
        std::free(patterned);
        std::free(quad);
        add(selectobject_set(ih, eht));
        add(U_EMRMOVETOEX_set(pt(480, 240)));
        add(U_EMRLINETO_set(pt(960, 240)));
        // Solid hatch styles in the text and the background colour.
        add(selectobject_set(U_NULL_PEN, eht));
        add(U_EMRSETTEXTCOLOR_set(U_RGB(0, 255, 0)));
        add(U_EMRSETBKCOLOR_set(U_RGB(255, 255, 0)));
        selectBrush(add, eht, logbrush_set(U_BS_HATCHED, U_RGB(0, 0, 0), 8));
        add(U_EMRRECTANGLE_set(U_RECTL{960, 0, 1440, 480}));
        selectBrush(add, eht, logbrush_set(U_BS_HATCHED, U_RGB(0, 0, 0), 10));
        add(U_EMRRECTANGLE_set(U_RECTL{1440, 0, 1920, 480}));
        // A one-bit checker in red and blue.
        add(U_EMRSETTEXTCOLOR_set(U_RGB(255, 0, 0)));
        add(U_EMRSETBKCOLOR_set(U_RGB(0, 0, 255)));
        const QByteArray bits = checker(4);
        PU_BITMAPINFO info = monoInfo(8, 8, std::uint32_t(bits.size()));
        add(createmonobrush_set(&ih, eht, U_DIB_PAL_COLORS, info, std::uint32_t(bits.size()), bits.constData()));
        std::free(info);
        add(selectobject_set(ih, eht));
        add(U_EMRRECTANGLE_set(U_RECTL{0, 480, 960, 960}));
    });
}

QByteArray wmfPatternBrushes(const QString &path)
{
    return wmfPicture(path, [](const RecordSink &add, WMFHANDLES *wht) {
        uint32_t ih;
        add(U_WMRSETTEXTCOLOR_set(U_RGB(255, 0, 0)));
        add(U_WMRSETBKCOLOR_set(U_RGB(0, 0, 255)));
        add(wcreatepenindirect_set(&ih, wht, U_PEN_set(U_PS_NULL, 0, U_RGB(0, 0, 0))));
        add(wselectobject_set(ih, wht));
        // The old pattern brush record and the DIB one holding a Bitmap16.
        const QByteArray bits = checker(2);
        U_BITMAP16 *bm = U_BITMAP16_set(0, 8, 8, 2, 1, bits.constData());
        add(wcreatepatternbrush_set(&ih, wht, bm, const_cast<char *>(bits.constData())));
        add(wselectobject_set(ih, wht));
        add(U_WMRRECTANGLE_set(U_RECT16{0, 0, 1440, 1440}));
        add(wcreatedibpatternbrush_srcbm16_set(&ih, wht, U_DIB_RGB_COLORS, bm));
        add(wselectobject_set(ih, wht));
        add(U_WMRRECTANGLE_set(U_RECT16{1440, 0, 2880, 1440}));
        std::free(bm);
    });
}

} // namespace samples
