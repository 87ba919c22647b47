// Windows metafiles: the records are taken apart with libUEMF's readers,
// each from a zero-padded copy so fixed fields can never be read past the
// record, and every count and offset is checked against the record itself.
#include "formats/metafile.h"

#include "formats/dib_decoder.h"
#include "formats/metafile_dc.h"

#include <uwmf.h>

#include <QPicture>

#include <cmath>
#include <cstring>
#include <vector>

namespace quor {

namespace {

using namespace gdi;

constexpr std::uint32_t PlaceableKey = 0x9ac6cdd7;
constexpr int MaxRegionRects = 4096;

QColor colourOf(const U_COLORREF &c) { return QColor(c.Red, c.Green, c.Blue); }
QPointF pointOf(const U_POINT16 &p) { return QPointF(p.x, p.y); }
QRectF rectOf(const U_RECT16 &r) { return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom)); }

struct WmfHeader
{
    bool placeable = false;
    QRectF box;        // placeable bounding box, logical
    int inch = 1440;   // logical units per inch
    int objects = 0;
    std::uint64_t records = 0; // offset of the first record
};

WmfHeader readWmfHeader(ByteSpan d)
{
    WmfHeader h;
    std::uint64_t pos = 0;
    if (d.u32(0) == PlaceableKey) {
        U_WMRPLACEABLE p;
        std::memcpy(&p, d.sub(0, U_SIZE_WMRPLACEABLE).data(), U_SIZE_WMRPLACEABLE);
        h.placeable = true;
        h.box = rectOf(p.Dst);
        if (p.Inch)
            h.inch = p.Inch;
        pos = U_SIZE_WMRPLACEABLE;
    }
    U_WMRHEADER header;
    std::memcpy(&header, d.sub(pos, U_SIZE_WMRHEADER).data(), U_SIZE_WMRHEADER);
    if ((header.iType != 1 && header.iType != 2) || header.Size16w < 9)
        throw damagedPicture();
    h.objects = header.nObjects;
    h.records = pos + 2ull * header.Size16w;
    return h;
}

// Calls f(record, type) for each record up to the end record.
template <typename F>
void forEachRecord(ByteSpan d, std::uint64_t pos, F f)
{
    for (;;) {
        const std::uint64_t bytes = 2ull * d.u32(pos);
        const int type = d.u16(pos + 4);
        if (bytes < U_SIZE_METARECORD || !d.has(pos, bytes))
            throw damagedPicture();
        if (type == 0)
            return;
        if (!f(d.sub(pos, bytes), type & U_WMR_MASK))
            return;
        pos += bytes;
    }
}

class WmfPlayer
{
public:
    WmfPlayer(DeviceContext &dc, int objects, const PictureLimits &limits)
        : m_dc(dc), m_objects(std::size_t(std::min(objects, 1024))), m_limits(limits)
    {
    }

    void play(ByteSpan rec, int type)
    {
        m_buf.assign(rec.size() + 64, 0);
        std::memcpy(m_buf.data(), rec.data(), rec.size());
        m_created = false;
        try {
            playRecord(rec, type);
        } catch (const QuorError &) {
            // A damaged record is skipped; one that creates an object still
            // takes its table slot, so later numbers stay right.
            ++m_skipped;
            if (createsObject(type) && !m_created)
                create(GdiObject{GdiObject::OtherObject, {}, {}, {}, {}});
        }
    }

    // Records that would have drawn something but did not.
    int skipped() const { return m_skipped; }

private:
    static bool createsObject(int type)
    {
        // Every type from the palette (0xF7) up creates an object.
        return type >= U_WMR_CREATEPALETTE || type == U_WMR_DIBCREATEPATTERNBRUSH;
    }

    std::uint64_t offsetOf(const char *p) const { return std::uint64_t(p - m_buf.data()); }

    // A new object takes the lowest free slot; the search starts at the
    // lowest slot that can be free, so long files stay linear.
    void create(const GdiObject &o)
    {
        m_created = true;
        while (m_firstFree < m_objects.size() && m_objects[m_firstFree].kind != GdiObject::Empty)
            ++m_firstFree;
        if (m_firstFree < m_objects.size())
            m_objects[m_firstFree] = o;
        else if (m_objects.size() < 65535)
            m_objects.push_back(o);
    }

    void remove(std::size_t index)
    {
        if (index < m_objects.size()) {
            m_objects[index] = GdiObject();
            m_firstFree = std::min(m_firstFree, index);
        }
    }

    const GdiObject *object(int index) const
    {
        return index >= 0 && std::size_t(index) < m_objects.size()
                && m_objects[std::size_t(index)].kind != GdiObject::Empty
            ? &m_objects[std::size_t(index)]
            : nullptr;
    }

    static QPolygonF points(ByteSpan rec, std::uint64_t at, std::uint64_t count)
    {
        const ByteSpan p = rec.sub(at, 4 * count);
        QPolygonF poly;
        poly.reserve(qsizetype(count));
        for (std::uint64_t i = 0; i < count; ++i)
            poly << QPointF(p.i16(4 * i), p.i16(4 * i + 2));
        return poly;
    }

    QImage dib(ByteSpan rec, const char *at, int usage, bool *bottomUp = nullptr) const
    {
        DibOptions opt;
        opt.paletteIndices = usage == U_DIB_PAL_COLORS;
        opt.limits = m_limits;
        opt.limits.maxPixels = std::min(m_limits.maxPixels, m_dc.budget());
        QImage img = decodeDib(rec.from(offsetOf(at)), opt, bottomUp);
        m_dc.spend(qint64(img.width()) * img.height());
        return img;
    }

    // A source rectangle counted from the bottom of a bottom-up bitmap.
    static QRectF fromBottom(const QImage &img, QRectF src, bool bottomUp)
    {
        if (bottomUp)
            src.moveTop(img.height() - src.y() - src.height());
        return src;
    }

    // A pattern brush of the Bitmap16 at `at` whose rows start at `bitsAt`:
    // one bit a pixel draws in the text and background colours, 24 or 32
    // bits in their own; other depths need the device's palette and fall
    // back to the plain brush colour.
    Brush bitmap16Brush(ByteSpan rec, std::uint64_t at, std::uint64_t bitsAt) const
    {
        const ByteSpan b = rec.sub(at, 10);
        const int width = b.i16(2), height = b.i16(4), planes = b.u8(8), depth = b.u8(9);
        Brush brush;
        brush.style = U_BS_PATTERN;
        brush.colour = Qt::black;
        if (planes != 1 || width <= 0 || height <= 0 || width > 4096 || height > 4096)
            return brush;
        const std::uint64_t stride = ((std::uint64_t(width) * depth + 15) >> 4) << 1;
        const ByteSpan bits = rec.from(bitsAt);
        if (depth == 1) {
            brush.mono = true;
            brush.pattern = monoPattern(bits, width, height, stride, false);
        } else if ((depth == 24 || depth == 32) && bits.has(0, stride * std::uint64_t(height))) {
            QImage img(width, height, QImage::Format_RGB32);
            for (int y = 0; !img.isNull() && y < height; ++y) {
                auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
                const unsigned char *row = bits.data() + stride * std::uint64_t(y);
                for (int x = 0; x < width; ++x) {
                    const unsigned char *px = row + std::uint64_t(x) * (depth / 8);
                    line[x] = qRgb(px[2], px[1], px[0]);
                }
            }
            brush.pattern = img;
        }
        m_dc.spend(qint64(brush.pattern.width()) * brush.pattern.height());
        return brush;
    }

    Font readFont(ByteSpan rec, std::uint64_t at) const
    {
        const ByteSpan f = rec.sub(at, 18);
        Font font;
        font.height = f.i16(0);
        font.escapement = f.i16(4);
        font.weight = f.i16(8);
        font.italic = f.u8(10);
        font.underline = f.u8(11);
        font.strikeOut = f.u8(12);
        font.charSet = f.u8(13);
        QByteArray face;
        for (std::uint64_t i = at + 18; i < rec.size() && i < at + 18 + 32 && rec.u8(i); ++i)
            face += char(rec.u8(i));
        font.face = decodeCharSet(face, font.charSet);
        return font;
    }

    QVector<QRectF> readRegion(ByteSpan rec, std::uint64_t at) const
    {
        const int scans = rec.i16(at + 8);
        std::uint64_t p = at + 20;
        QVector<QRectF> rects;
        for (int i = 0; i < scans && rects.size() < MaxRegionRects; ++i) {
            const int count = rec.u16(p);
            const int top = rec.i16(p + 2), bottom = rec.i16(p + 4);
            for (int j = 0; j + 1 < count; j += 2)
                rects << QRectF(QPointF(rec.i16(p + 6 + 2 * j), top),
                                QPointF(rec.i16(p + 8 + 2 * j), bottom));
            p += 6 + 2ull * count + 2;
        }
        return rects;
    }

    void playRecord(ByteSpan rec, int type);
    void playBitmap(ByteSpan rec, int type);

    DeviceContext &m_dc;
    std::vector<GdiObject> m_objects;
    PictureLimits m_limits;
    std::vector<char> m_buf;
    std::size_t m_firstFree = 0;
    bool m_created = false;
    int m_skipped = 0;
};

void WmfPlayer::playRecord(ByteSpan rec, int type)
{
    const char *c = m_buf.data();
    DcState &st = m_dc.state();
    U_COLORREF colour;
    U_POINT16 p1, p2;
    U_RECT16 r;
    uint16_t u = 0, u2 = 0;
    int16_t s1 = 0, s2 = 0;
    const char *data = nullptr;
    switch (type) {
    case U_WMR_SETBKCOLOR: U_WMRSETBKCOLOR_get(c, &colour); st.backColour = colourOf(colour); break;
    case U_WMR_SETTEXTCOLOR: U_WMRSETTEXTCOLOR_get(c, &colour); st.textColour = colourOf(colour); break;
    case U_WMR_SETBKMODE: U_WMRSETBKMODE_get(c, &u); st.backMode = u; break;
    case U_WMR_SETMAPMODE: U_WMRSETMAPMODE_get(c, &u); m_dc.setMapMode(u); break;
    case U_WMR_SETROP2: U_WMRSETROP2_get(c, &u); st.rop2 = u; break;
    case U_WMR_SETPOLYFILLMODE: U_WMRSETPOLYFILLMODE_get(c, &u); st.polyFillMode = u; break;
    case U_WMR_SETTEXTALIGN: U_WMRSETTEXTALIGN_get(c, &u); st.textAlign = u; break;
    case U_WMR_SETWINDOWORG: U_WMRSETWINDOWORG_get(c, &p1); st.windowOrg = pointOf(p1); break;
    case U_WMR_SETWINDOWEXT: U_WMRSETWINDOWEXT_get(c, &p1); st.windowExt = QSizeF(p1.x, p1.y); break;
    case U_WMR_SETVIEWPORTORG: U_WMRSETVIEWPORTORG_get(c, &p1); st.viewportOrg = pointOf(p1); break;
    case U_WMR_SETVIEWPORTEXT: U_WMRSETVIEWPORTEXT_get(c, &p1); st.viewportExt = QSizeF(p1.x, p1.y); break;
    case U_WMR_OFFSETWINDOWORG: U_WMROFFSETWINDOWORG_get(c, &p1); st.windowOrg += pointOf(p1); break;
    case U_WMR_OFFSETVIEWPORTORG: U_WMROFFSETVIEWPORTORG_get(c, &p1); st.viewportOrg += pointOf(p1); break;
    case U_WMR_SCALEWINDOWEXT:
    case U_WMR_SCALEVIEWPORTEXT: {
        (type == U_WMR_SCALEWINDOWEXT ? U_WMRSCALEWINDOWEXT_get : U_WMRSCALEVIEWPORTEXT_get)(c, &p1, &p2);
        if (p1.x == 0 || p1.y == 0)
            break;
        QSizeF &ext = type == U_WMR_SCALEWINDOWEXT ? st.windowExt : st.viewportExt;
        ext = QSizeF(ext.width() * p2.x / p1.x, ext.height() * p2.y / p1.y);
        break;
    }
    case U_WMR_MOVETO: U_WMRMOVETO_get(c, &p1); m_dc.moveTo(pointOf(p1)); break;
    case U_WMR_LINETO: U_WMRLINETO_get(c, &p1); m_dc.lineTo(pointOf(p1)); break;
    case U_WMR_EXCLUDECLIPRECT: U_WMREXCLUDECLIPRECT_get(c, &r); m_dc.excludeClip(rectOf(r)); break;
    case U_WMR_INTERSECTCLIPRECT: U_WMRINTERSECTCLIPRECT_get(c, &r); m_dc.intersectClip(rectOf(r)); break;
    case U_WMR_ARC: U_WMRARC_get(c, &p1, &p2, &r); m_dc.arc(rectOf(r), pointOf(p1), pointOf(p2), ArcKind::Arc); break;
    case U_WMR_PIE: U_WMRPIE_get(c, &p1, &p2, &r); m_dc.arc(rectOf(r), pointOf(p1), pointOf(p2), ArcKind::Pie); break;
    case U_WMR_CHORD: U_WMRCHORD_get(c, &p1, &p2, &r); m_dc.arc(rectOf(r), pointOf(p1), pointOf(p2), ArcKind::Chord); break;
    case U_WMR_ELLIPSE: U_WMRELLIPSE_get(c, &r); m_dc.ellipse(rectOf(r)); break;
    case U_WMR_RECTANGLE: U_WMRRECTANGLE_get(c, &r); m_dc.rectangle(rectOf(r)); break;
    case U_WMR_ROUNDRECT: U_WMRROUNDRECT_get(c, &s1, &s2, &r); m_dc.roundRect(rectOf(r), QSizeF(s1, s2)); break;
    case U_WMR_SAVEDC: m_dc.save(); break;
    case U_WMR_RESTOREDC: U_WMRRESTOREDC_get(c, &s1); m_dc.restore(s1); break;
    case U_WMR_SETPIXEL: U_WMRSETPIXEL_get(c, &colour, &p1); m_dc.setPixel(pointOf(p1), colourOf(colour)); break;
    case U_WMR_PATBLT: {
        uint32_t rop;
        U_WMRPATBLT_get(c, &p1, &p2, &rop);
        m_dc.patBlt(QRectF(pointOf(p1), QSizeF(p2.x, p2.y)), rop);
        break;
    }
    case U_WMR_TEXTOUT: {
        const int length = rec.i16(6);
        if (length < 0 || !rec.has(8, length + (length & 1) + 4ull))
            break;
        U_WMRTEXTOUT_get(c, &p1, &s1, &data);
        const QByteArray bytes(data, length);
        m_dc.text(pointOf(p1), decodeCharSet(bytes, st.font.charSet), {}, 0, std::nullopt);
        break;
    }
    case U_WMR_EXTTEXTOUT: {
        const int16_t *dx = nullptr;
        U_WMREXTTEXTOUT_get(c, &p1, &s1, &u, &data, &dx, &r);
        const bool hasRect = u & (U_ETO_OPAQUE | U_ETO_CLIPPED);
        if (s1 < 0 || (hasRect && !rec.has(14, 8)))
            break;
        const ByteSpan chars = rec.sub(offsetOf(data), std::uint64_t(s1));
        const QByteArray bytes(reinterpret_cast<const char *>(chars.data()), s1);
        const QString text = decodeCharSet(bytes, st.font.charSet);
        QVector<double> advances;
        // Advances come per byte; they fit the characters only one to one.
        if (dx && text.size() == s1 && rec.has(offsetOf(reinterpret_cast<const char *>(dx)), 2ull * s1))
            for (int i = 0; i < s1; ++i)
                advances << rec.i16(offsetOf(reinterpret_cast<const char *>(dx)) + 2ull * i);
        m_dc.text(pointOf(p1), text, advances, u, hasRect ? std::optional(rectOf(r)) : std::nullopt);
        break;
    }
    case U_WMR_POLYGON:
    case U_WMR_POLYLINE: {
        (type == U_WMR_POLYGON ? U_WMRPOLYGON_get : U_WMRPOLYLINE_get)(c, &u, &data);
        const QPolygonF poly = points(rec, offsetOf(data), u);
        if (type == U_WMR_POLYGON)
            m_dc.polygon(poly);
        else
            m_dc.polyline(poly);
        break;
    }
    case U_WMR_POLYPOLYGON: {
        const uint16_t *counts = nullptr;
        U_WMRPOLYPOLYGON_get(c, &u, &counts, &data);
        const ByteSpan countSpan = rec.sub(offsetOf(reinterpret_cast<const char *>(counts)), 2ull * u);
        std::uint64_t at = offsetOf(data);
        QList<QPolygonF> polys;
        for (int i = 0; i < u; ++i) {
            const std::uint64_t n = countSpan.u16(2ull * i);
            polys << points(rec, at, n);
            at += 4 * n;
        }
        m_dc.polyPolygon(polys);
        break;
    }
    case U_WMR_SELECTOBJECT:
        U_WMRSELECTOBJECT_get(c, &u);
        if (const GdiObject *o = object(u))
            m_dc.select(*o);
        break;
    case U_WMR_DELETEOBJECT:
        U_WMRDELETEOBJECT_get(c, &u);
        remove(u);
        break;
    case U_WMR_SELECTCLIPREGION:
        U_WMRSELECTCLIPREGION_get(c, &u);
        if (const GdiObject *o = object(u); o && o->kind == GdiObject::RegionObject)
            m_dc.select(*o);
        else
            m_dc.resetClip();
        break;
    case U_WMR_FILLREGION:
    case U_WMR_PAINTREGION: {
        if (type == U_WMR_FILLREGION)
            U_WMRFILLREGION_get(c, &u, &u2);
        else
            U_WMRPAINTREGION_get(c, &u);
        const GdiObject *region = object(u);
        const GdiObject *brush = type == U_WMR_FILLREGION ? object(u2) : nullptr;
        if (region && region->kind == GdiObject::RegionObject)
            m_dc.fillRegion(m_dc.pictureRegion(region->region),
                            brush && brush->kind == GdiObject::BrushObject ? brush->brush : st.brush);
        break;
    }
    case U_WMR_CREATEPENINDIRECT: {
        U_PEN pen;
        U_WMRCREATEPENINDIRECT_get(c, &pen);
        GdiObject o;
        o.kind = GdiObject::PenObject;
        o.pen.style = pen.Style;
        o.pen.width = int16_t(pen.Widthw[0]);
        o.pen.colour = colourOf(pen.Color);
        create(o);
        break;
    }
    case U_WMR_CREATEBRUSHINDIRECT: {
        U_WMRCREATEBRUSHINDIRECT_get(c, &data);
        U_WLOGBRUSH b;
        static_assert(sizeof(U_WLOGBRUSH) == 8);
        std::memcpy(&b, rec.sub(offsetOf(data), sizeof b).data(), sizeof b);
        GdiObject o;
        o.kind = GdiObject::BrushObject;
        o.brush.style = b.Style;
        o.brush.colour = colourOf(b.Color);
        o.brush.hatch = b.Hatch;
        create(o);
        break;
    }
    case U_WMR_CREATEFONTINDIRECT: {
        U_WMRCREATEFONTINDIRECT_get(c, &data);
        GdiObject o;
        o.kind = GdiObject::FontObject;
        o.font = readFont(rec, offsetOf(data));
        create(o);
        break;
    }
    case U_WMR_CREATEREGION: {
        U_WMRCREATEREGION_get(c, &data);
        GdiObject o;
        o.kind = GdiObject::RegionObject;
        o.region = readRegion(rec, offsetOf(data));
        create(o);
        break;
    }
    case U_WMR_DIBCREATEPATTERNBRUSH: {
        const char *bm16 = nullptr;
        U_WMRDIBCREATEPATTERNBRUSH_get(c, &u, &u2, &bm16, &data);
        GdiObject o;
        o.kind = GdiObject::BrushObject;
        o.brush.style = U_BS_DIBPATTERN;
        o.brush.colour = Qt::black;
        if (u == U_BS_PATTERN)
            o.brush = bitmap16Brush(rec, 10, 20); // a Bitmap16 with its bits in place
        else if (data)
            o.brush.pattern = dib(rec, data, u2);
        create(o);
        break;
    }
    case U_WMR_CREATEPATTERNBRUSH: {
        // The Bitmap16 header (its bits field unused), 18 reserved bytes,
        // then the bits.
        GdiObject o;
        o.kind = GdiObject::BrushObject;
        o.brush = bitmap16Brush(rec, 6, 38);
        create(o);
        break;
    }
    case U_WMR_OFFSETCLIPRGN: U_WMROFFSETCLIPRGN_get(c, &p1); m_dc.offsetClip(pointOf(p1)); break;
    case U_WMR_INVERTREGION:
        U_WMRINVERTREGION_get(c, &u);
        if (const GdiObject *o = object(u); o && o->kind == GdiObject::RegionObject)
            m_dc.invertRegion(m_dc.pictureRegion(o->region));
        break;
    case U_WMR_FRAMEREGION: {
        U_WMRFRAMEREGION_get(c, &u, &u2, &s1, &s2);
        const GdiObject *region = object(u), *brush = object(u2);
        if (region && region->kind == GdiObject::RegionObject)
            m_dc.frameRegion(m_dc.pictureRegion(region->region),
                             brush && brush->kind == GdiObject::BrushObject ? brush->brush : st.brush,
                             QSizeF(s2, s1));
        break;
    }
    case U_WMR_DIBBITBLT:
    case U_WMR_DIBSTRETCHBLT:
    case U_WMR_STRETCHDIB:
    case U_WMR_SETDIBTODEV:
    case U_WMR_BITBLT:
    case U_WMR_STRETCHBLT:
        playBitmap(rec, type);
        break;
    case U_WMR_FLOODFILL: case U_WMR_EXTFLOODFILL: case U_WMR_DRAWTEXT:
        ++m_skipped; // drawing we do not do
        break;
    default:
        if (createsObject(type))
            create(GdiObject{GdiObject::OtherObject, {}, {}, {}, {}});
        break; // everything else draws nothing here
    }
}

void WmfPlayer::playBitmap(ByteSpan rec, int type)
{
    const char *c = m_buf.data();
    U_POINT16 dst, cDst, src, cSrc;
    uint32_t rop = 0;
    const char *data = nullptr;
    bool bottomUp = true;
    switch (type) {
    case U_WMR_DIBBITBLT:
        U_WMRDIBBITBLT_get(c, &dst, &cDst, &src, &rop, &data);
        cSrc = cDst;
        break;
    case U_WMR_DIBSTRETCHBLT:
        U_WMRDIBSTRETCHBLT_get(c, &dst, &cDst, &src, &cSrc, &rop, &data);
        break;
    case U_WMR_STRETCHDIB: {
        uint16_t usage;
        U_WMRSTRETCHDIB_get(c, &dst, &cDst, &src, &cSrc, &usage, &rop, &data);
        const QImage img = dib(rec, data, usage, &bottomUp);
        m_dc.bitmap(img, QRectF(pointOf(dst), QSizeF(cDst.x, cDst.y)),
                    fromBottom(img, QRectF(pointOf(src), QSizeF(cSrc.x, cSrc.y)), bottomUp), rop);
        return;
    }
    case U_WMR_SETDIBTODEV: {
        uint16_t usage, scans, start;
        U_WMRSETDIBTODEV_get(c, &dst, &cDst, &src, &usage, &scans, &start, &data);
        const QImage img = dib(rec, data, usage, &bottomUp);
        const QSizeF size(cDst.x, cDst.y);
        m_dc.bitmap(img, QRectF(pointOf(dst), size),
                    fromBottom(img, QRectF(pointOf(src), size), bottomUp), 0x00cc0020);
        return;
    }
    default: {
        // Device-dependent bitmaps are not drawn; without one the record
        // is a plain raster operation.
        U_BITMAP16 bm;
        const char *px = nullptr;
        if (type == U_WMR_BITBLT) {
            U_WMRBITBLT_get(c, &dst, &cDst, &src, &rop, &bm, &px);
        } else {
            U_WMRSTRETCHBLT_get(c, &dst, &cDst, &src, &cSrc, &rop, &bm, &px);
        }
        if (!px)
            m_dc.patBlt(QRectF(pointOf(dst), QSizeF(cDst.x, cDst.y)), rop);
        else
            ++m_skipped;
        return;
    }
    }
    const QRectF dest(pointOf(dst), QSizeF(cDst.x, cDst.y));
    if (!data) {
        m_dc.patBlt(dest, rop);
        return;
    }
    m_dc.bitmap(dib(rec, data, U_DIB_RGB_COLORS), dest, QRectF(pointOf(src), QSizeF(cSrc.x, cSrc.y)), rop);
}

// The first window origin and extent set before anything is drawn.
std::optional<QRectF> firstWindow(ByteSpan d, std::uint64_t records)
{
    std::optional<QPointF> org;
    std::optional<QSizeF> ext;
    forEachRecord(d, records, [&](ByteSpan rec, int type) {
        if (type == U_WMR_SETWINDOWORG && !org)
            org = QPointF(rec.i16(8), rec.i16(6));
        else if (type == U_WMR_SETWINDOWEXT && !ext)
            ext = QSizeF(rec.i16(8), rec.i16(6));
        return !(org && ext);
    });
    if (!ext || ext->width() == 0 || ext->height() == 0)
        return std::nullopt;
    return QRectF(org.value_or(QPointF()), *ext);
}

// Plays every record; the number of records not drawn.
int playAll(ByteSpan d, const WmfHeader &h, DeviceContext &dc, const PictureLimits &limits)
{
    WmfPlayer player(dc, h.objects, limits);
    forEachRecord(d, h.records, [&](ByteSpan rec, int type) {
        player.play(rec, type);
        return true;
    });
    return player.skipped();
}

} // namespace

bool looksLikeWmf(ByteSpan d)
{
    if (d.has(0, 4) && d.u32(0) == PlaceableKey)
        return true;
    return d.has(0, 18) && (d.u16(0) == 1 || d.u16(0) == 2) && d.u16(2) == 9
        && (d.u16(4) == 0x100 || d.u16(4) == 0x300);
}

QImage renderWmf(ByteSpan d, const PictureLimits &limits, int *skippedRecords)
{
    const WmfHeader h = readWmfHeader(d);
    QRectF box;
    double scale = 1; // picture pixels per logical unit
    if (h.placeable) {
        box = h.box;
        scale = MetafileDpi / h.inch;
    } else if (auto window = firstWindow(d, h.records)) {
        // Without a stated size the units count as pixels, unless that is
        // far too big, when they count as twips like a placeable file's.
        box = *window;
        if (std::fabs(box.width()) > 4096 || std::fabs(box.height()) > 4096)
            scale = MetafileDpi / 1440;
    } else {
        // No window at all: measure what the records draw, one unit a pixel.
        QPicture measure;
        {
            DeviceContext dc(&measure, QRect(-32768, -32768, 65536, 65536), QTransform(),
                             QSizeF(MetafileDpi / 25.4, MetafileDpi / 25.4));
            dc.setBudget(16LL << 20); // the recording keeps every bitmap it is given
            playAll(d, h, dc, limits);
        }
        // Its sides in 64 bits: a rectangle's int width can overflow.
        const QRect drawn = measure.boundingRect();
        box = QRectF(drawn.x(), drawn.y(), qint64(drawn.right()) - drawn.left() + 1,
                     qint64(drawn.bottom()) - drawn.top() + 1);
        if (box.isEmpty())
            box = QRectF(0, 0, 1, 1);
    }
    const qint64 w = std::max<qint64>(1, std::llround(std::fabs(box.width()) * scale));
    const qint64 ht = std::max<qint64>(1, std::llround(std::fabs(box.height()) * scale));
    checkPictureSize(w, ht, limits);

    QImage img(int(w), int(ht), QImage::Format_RGB32);
    if (img.isNull())
        throw pictureTooLarge(w, ht);
    img.fill(Qt::white);
    {
        // The file's device units are taken to be the units of its box, and
        // the box maps onto the whole picture. The mapping starts as the
        // identity, so a file that sets its own viewport (often equal to its
        // window) still lands on the picture instead of one unit a pixel.
        const QTransform base = QTransform::fromTranslate(-box.left(), -box.top())
            * QTransform::fromScale(w / box.width(), ht / box.height());
        const double unitsPerPixel = std::fabs(box.width()) / w;
        DeviceContext dc(&img, img.rect(), base,
                         QSizeF(MetafileDpi / 25.4 * unitsPerPixel,
                                MetafileDpi / 25.4 * std::fabs(box.height()) / ht));
        DcState &st = dc.state();
        st.mapMode = MmAnisotropic;
        st.windowOrg = st.viewportOrg = box.topLeft();
        st.windowExt = st.viewportExt = box.size();
        const int skipped = playAll(d, h, dc, limits);
        if (skippedRecords)
            *skippedRecords = skipped;
    }
    makeOpaque(img);
    return img;
}

} // namespace quor
