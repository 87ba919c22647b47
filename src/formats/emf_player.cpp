// Enhanced metafiles: each record is copied into an aligned, zero-padded
// buffer and read through libUEMF's record structures once its size has
// been checked against the structure; variable parts (points, strings,
// bitmaps, regions) are checked against the record with 64-bit sums.
#include "formats/metafile.h"

#include "formats/dib_decoder.h"
#include "formats/metafile_dc.h"

#include <uemf.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace quor {

namespace {

using namespace gdi;

constexpr std::uint32_t EmfSignature = 0x464d4520; // " EMF"
constexpr int MaxRegionRects = 4096;

QColor colourOf(const U_COLORREF &c) { return QColor(c.Red, c.Green, c.Blue); }
QPointF pointOf(const U_POINTL &p) { return QPointF(p.x, p.y); }
QRectF rectOf(const U_RECTL &r) { return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom)); }
QTransform transformOf(const U_XFORM &x) { return QTransform(x.eM11, x.eM12, x.eM21, x.eM22, x.eDx, x.eDy); }

GdiObject stockObject(std::uint32_t which)
{
    GdiObject o;
    const int greys[5] = {255, 192, 128, 64, 0};
    switch (which) {
    case 0: case 1: case 2: case 3: case 4: case 18:
        o.kind = GdiObject::BrushObject;
        o.brush.colour = which == 18 ? QColor(Qt::white) : QColor(greys[which], greys[which], greys[which]);
        break;
    case 5: o.kind = GdiObject::BrushObject; o.brush.style = U_BS_NULL; break;
    case 6: case 7: case 8: case 19:
        o.kind = GdiObject::PenObject;
        o.pen.colour = which == 6 ? Qt::white : Qt::black;
        o.pen.style = which == 8 ? U_PS_NULL : U_PS_SOLID;
        break;
    default:
        if (which >= 10 && which <= 17)
            o.kind = GdiObject::FontObject;
        break;
    }
    return o;
}

class EmfPlayer
{
public:
    EmfPlayer(DeviceContext &dc, int handles, const PictureLimits &limits)
        : m_dc(dc), m_objects(std::size_t(std::clamp(handles, 1, 1024))), m_limits(limits)
    {
    }

    void play(ByteSpan rec, std::uint32_t type)
    {
        m_rec = rec;
        m_buf.assign((rec.size() + 256) / 8 + 1, 0);
        std::memcpy(m_buf.data(), rec.data(), rec.size());
        try {
            playRecord(type);
        } catch (const QuorError &) {
            // A record that does not hold together is skipped.
            ++m_skipped;
        }
    }

    // Records that would have drawn something but did not.
    int skipped() const { return m_skipped; }

private:
    // The record as its libUEMF structure, once it is at least minSize long.
    template <typename T>
    T as(std::size_t minSize) const
    {
        static_assert(sizeof(T) <= 256, "the padding covers the structure");
        if (m_rec.size() < minSize)
            throw damagedPicture();
        T value;
        std::memcpy(&value, m_buf.data(), sizeof value);
        return value;
    }

    QPolygonF points(std::uint64_t at, std::uint64_t count, bool small) const
    {
        const std::uint64_t size = small ? 4 : 8;
        const ByteSpan p = m_rec.sub(at, size * count);
        QPolygonF poly;
        poly.reserve(qsizetype(count));
        for (std::uint64_t i = 0; i < count; ++i)
            poly << (small ? QPointF(p.i16(4 * i), p.i16(4 * i + 2))
                           : QPointF(p.i32(8 * i), p.i32(8 * i + 4)));
        return poly;
    }

    QImage dib(std::uint32_t offBmi, std::uint32_t cbBmi, std::uint32_t offBits,
               std::uint32_t cbBits, std::uint32_t usage, bool *bottomUp = nullptr,
               bool alpha = false) const
    {
        if (cbBmi == 0)
            throw damagedPicture();
        DibOptions opt;
        opt.paletteIndices = usage == U_DIB_PAL_COLORS;
        opt.allowAlpha = alpha;
        opt.limits = m_limits;
        opt.limits.maxPixels = std::min(m_limits.maxPixels, m_dc.budget());
        QImage img = decodeDib(m_rec.sub(offBmi, cbBmi), m_rec.sub(offBits, cbBits), opt, bottomUp);
        m_dc.spend(qint64(img.width()) * img.height());
        return img;
    }

    QVector<QRectF> regionRects(std::uint64_t at, std::uint64_t bytes) const
    {
        const ByteSpan rgn = m_rec.sub(at, bytes);
        const std::uint64_t count = std::min<std::uint64_t>(rgn.u32(8), MaxRegionRects);
        QVector<QRectF> rects;
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::uint64_t r = 32 + 16 * i;
            rects << QRectF(QPointF(rgn.i32(r), rgn.i32(r + 4)), QPointF(rgn.i32(r + 8), rgn.i32(r + 12)));
        }
        return rects;
    }

    GdiObject *slot(std::uint32_t index)
    {
        if (index == 0 || index >= 65536)
            return nullptr;
        if (index >= m_objects.size())
            m_objects.resize(index + 1);
        return &m_objects[index];
    }

    // A brush of the table or a stock one; the current brush otherwise.
    Brush brushAt(std::uint32_t index) const
    {
        if (index & U_STOCK_OBJECT)
            return stockObject(index & ~U_STOCK_OBJECT).brush;
        if (index < m_objects.size() && m_objects[index].kind == GdiObject::BrushObject)
            return m_objects[index].brush;
        return m_dc.state().brush;
    }

    void selectObject(std::uint32_t index)
    {
        if (index & U_STOCK_OBJECT)
            m_dc.select(stockObject(index & ~U_STOCK_OBJECT));
        else if (index < m_objects.size())
            m_dc.select(m_objects[index]);
    }

    Brush patternBrush(std::uint32_t offBmi, std::uint32_t cbBmi, std::uint32_t offBits,
                       std::uint32_t cbBits, std::uint32_t usage) const
    {
        Brush b;
        b.style = U_BS_DIBPATTERN;
        b.colour = Qt::black;
        b.pattern = dib(offBmi, cbBmi, offBits, cbBits, usage);
        return b;
    }

    // A 1-bit pattern drawn in the text and background colours whatever
    // its own palette says; deeper bitmaps are plain patterns.
    Brush monoBrush(std::uint32_t offBmi, std::uint32_t cbBmi, std::uint32_t offBits,
                    std::uint32_t cbBits, std::uint32_t usage) const
    {
        const ByteSpan info = m_rec.sub(offBmi, std::max<std::uint32_t>(cbBmi, 16));
        if (info.u32(0) < 40 || info.u16(14) != 1)
            return patternBrush(offBmi, cbBmi, offBits, cbBits, usage);
        const std::int64_t width = info.i32(4), height = info.i32(8);
        const auto side = [](std::int64_t v) { return int(std::min<std::int64_t>(std::abs(v), 1 << 20)); };
        Brush b;
        b.style = U_BS_DIBPATTERN;
        b.colour = Qt::black;
        b.mono = true;
        b.pattern = monoPattern(m_rec.sub(offBits, cbBits), side(width), side(height),
                                (std::uint64_t(side(width)) + 31) / 32 * 4, height > 0);
        m_dc.spend(qint64(b.pattern.width()) * b.pattern.height());
        return b;
    }

    Font readFont(std::uint64_t at) const
    {
        const ByteSpan f = m_rec.sub(at, 92);
        Font font;
        font.height = f.i32(0);
        font.escapement = f.i32(8);
        font.weight = f.i32(16);
        font.italic = f.u8(20);
        font.underline = f.u8(21);
        font.strikeOut = f.u8(22);
        font.charSet = f.u8(23);
        for (int i = 0; i < 32 && f.u16(28 + 2 * i); ++i)
            font.face += QChar(f.u16(28 + 2 * i));
        return font;
    }

    void playRecord(std::uint32_t type);
    void playText(bool wide);
    void playSmallText();
    void playGradient();
    void playBitmap(std::uint32_t type);
    void playMaskedBitmap(std::uint32_t type);

    DeviceContext &m_dc;
    std::vector<GdiObject> m_objects;
    PictureLimits m_limits;
    ByteSpan m_rec;
    std::vector<std::uint64_t> m_buf;
    int m_skipped = 0;
};

void EmfPlayer::playRecord(std::uint32_t type)
{
    DcState &st = m_dc.state();
    const ByteSpan &r = m_rec;
    switch (type) {
    case U_EMR_POLYBEZIER: case U_EMR_POLYGON: case U_EMR_POLYLINE: case U_EMR_POLYBEZIERTO:
    case U_EMR_POLYLINETO: case U_EMR_POLYBEZIER16: case U_EMR_POLYGON16: case U_EMR_POLYLINE16:
    case U_EMR_POLYBEZIERTO16: case U_EMR_POLYLINETO16: {
        const bool small = type >= U_EMR_POLYBEZIER16;
        const QPolygonF p = points(28, r.u32(24), small);
        switch (small ? type - U_EMR_POLYBEZIER16 + U_EMR_POLYBEZIER : type) {
        case U_EMR_POLYBEZIER: m_dc.polyBezier(p, false); break;
        case U_EMR_POLYGON: m_dc.polygon(p); break;
        case U_EMR_POLYLINE: m_dc.polyline(p); break;
        case U_EMR_POLYBEZIERTO: m_dc.polyBezier(p, true); break;
        default: m_dc.polyline(p, true); break;
        }
        break;
    }
    case U_EMR_POLYPOLYLINE: case U_EMR_POLYPOLYGON: case U_EMR_POLYPOLYLINE16:
    case U_EMR_POLYPOLYGON16: {
        const bool small = type >= U_EMR_POLYPOLYLINE16;
        const std::uint64_t polys = r.u32(24);
        const ByteSpan counts = r.sub(32, 4 * polys);
        std::uint64_t at = 32 + 4 * polys;
        QList<QPolygonF> list;
        for (std::uint64_t i = 0; i < polys; ++i) {
            const std::uint64_t n = counts.u32(4 * i);
            list << points(at, n, small);
            at += n * (small ? 4 : 8);
        }
        if (type == U_EMR_POLYPOLYGON || type == U_EMR_POLYPOLYGON16)
            m_dc.polyPolygon(list);
        else
            for (const QPolygonF &p : list)
                m_dc.polyline(p);
        break;
    }
    case U_EMR_SETWINDOWEXTEX: { auto e = as<U_EMRSETWINDOWEXTEX>(16); st.windowExt = QSizeF(e.szlExtent.cx, e.szlExtent.cy); break; }
    case U_EMR_SETVIEWPORTEXTEX: { auto e = as<U_EMRSETVIEWPORTEXTEX>(16); st.viewportExt = QSizeF(e.szlExtent.cx, e.szlExtent.cy); break; }
    case U_EMR_SETWINDOWORGEX: st.windowOrg = pointOf(as<U_EMRSETWINDOWORGEX>(16).ptlOrigin); break;
    case U_EMR_SETVIEWPORTORGEX: st.viewportOrg = pointOf(as<U_EMRSETVIEWPORTORGEX>(16).ptlOrigin); break;
    case U_EMR_SCALEVIEWPORTEXTEX:
    case U_EMR_SCALEWINDOWEXTEX: {
        const auto e = as<U_EMRSCALEWINDOWEXTEX>(U_SIZE_EMRSCALEWINDOWEXTEX);
        if (e.xDenom == 0 || e.yDenom == 0)
            break;
        QSizeF &ext = type == U_EMR_SCALEWINDOWEXTEX ? st.windowExt : st.viewportExt;
        ext = QSizeF(ext.width() * e.xNum / e.xDenom, ext.height() * e.yNum / e.yDenom);
        break;
    }
    case U_EMR_SETPIXELV: {
        const auto e = as<U_EMRSETPIXELV>(U_SIZE_EMRSETPIXELV);
        m_dc.setPixel(pointOf(e.ptlPixel), colourOf(e.crColor));
        break;
    }
    case U_EMR_SETMAPMODE: m_dc.setMapMode(int(r.u32(8))); break;
    case U_EMR_SETBKMODE: st.backMode = int(r.u32(8)); break;
    case U_EMR_SETPOLYFILLMODE: st.polyFillMode = int(r.u32(8)); break;
    case U_EMR_SETROP2: st.rop2 = int(r.u32(8)); break;
    case U_EMR_SETTEXTALIGN: st.textAlign = int(r.u32(8)); break;
    case U_EMR_SETARCDIRECTION: st.clockwise = r.u32(8) == U_AD_CLOCKWISE; break;
    case U_EMR_SETTEXTCOLOR: st.textColour = colourOf(as<U_EMRSETTEXTCOLOR>(12).crColor); break;
    case U_EMR_SETBKCOLOR: st.backColour = colourOf(as<U_EMRSETBKCOLOR>(12).crColor); break;
    case U_EMR_MOVETOEX: m_dc.moveTo(pointOf(as<U_EMRMOVETOEX>(16).ptl)); break;
    case U_EMR_LINETO: m_dc.lineTo(pointOf(as<U_EMRLINETO>(16).ptl)); break;
    case U_EMR_EXCLUDECLIPRECT: m_dc.excludeClip(rectOf(as<U_EMREXCLUDECLIPRECT>(24).rclClip)); break;
    case U_EMR_INTERSECTCLIPRECT: m_dc.intersectClip(rectOf(as<U_EMRINTERSECTCLIPRECT>(24).rclClip)); break;
    case U_EMR_SAVEDC: m_dc.save(); break;
    case U_EMR_RESTOREDC: m_dc.restore(r.i32(8)); break;
    case U_EMR_SETWORLDTRANSFORM: st.world = transformOf(as<U_EMRSETWORLDTRANSFORM>(32).xform); break;
    case U_EMR_MODIFYWORLDTRANSFORM: {
        const auto e = as<U_EMRMODIFYWORLDTRANSFORM>(36);
        const QTransform x = transformOf(e.xform);
        switch (e.iMode) {
        case U_MWT_IDENTITY: st.world = QTransform(); break;
        case U_MWT_LEFTMULTIPLY: st.world = x * st.world; break;
        case U_MWT_RIGHTMULTIPLY: st.world = st.world * x; break;
        case 4: st.world = x; break;
        default: break;
        }
        break;
    }
    case U_EMR_SELECTOBJECT: selectObject(r.u32(8)); break;
    case U_EMR_DELETEOBJECT:
        if (GdiObject *o = slot(r.u32(8)))
            *o = GdiObject();
        break;
    case U_EMR_CREATEPEN: {
        const auto e = as<U_EMRCREATEPEN>(U_SIZE_EMRCREATEPEN);
        if (GdiObject *o = slot(e.ihPen)) {
            *o = GdiObject();
            o->kind = GdiObject::PenObject;
            o->pen.style = e.lopn.lopnStyle;
            o->pen.width = e.lopn.lopnWidth.x;
            o->pen.colour = colourOf(e.lopn.lopnColor);
        }
        break;
    }
    case U_EMR_EXTCREATEPEN: {
        const auto e = as<U_EMREXTCREATEPEN>(U_SIZE_EMREXTCREATEPEN);
        if (GdiObject *o = slot(e.ihPen)) {
            *o = GdiObject();
            o->kind = GdiObject::PenObject;
            o->pen.style = e.elp.elpPenStyle;
            o->pen.width = (e.elp.elpPenStyle & U_PS_GEOMETRIC) ? double(e.elp.elpWidth) : 0;
            o->pen.colour = colourOf(e.elp.elpColor);
            switch (e.elp.elpBrushStyle) {
            case U_BS_NULL: o->pen.style = U_PS_NULL; break;
            case U_BS_HATCHED:
                o->pen.fill.style = U_BS_HATCHED;
                o->pen.fill.colour = o->pen.colour;
                o->pen.fill.hatch = int(e.elp.elpHatch);
                break;
            case U_BS_DIBPATTERN: case U_BS_DIBPATTERNPT:
                // The colour field holds how the bitmap's colours are given.
                o->pen.fill = patternBrush(e.offBmi, e.cbBmi, e.offBits, e.cbBits, e.elp.elpColor.Red);
                break;
            default: break;
            }
            const std::uint64_t n = std::min<std::uint32_t>(e.elp.elpNumEntries, 16);
            const ByteSpan entries = r.sub(offsetof(U_EMREXTCREATEPEN, elp.elpStyleEntry), 4 * n);
            const double unit = o->pen.width > 0 ? o->pen.width : 1;
            for (std::uint64_t i = 0; i < n; ++i)
                o->pen.dashes << std::clamp(entries.u32(4 * i) / unit, 0.1, 1000.0);
            if (o->pen.dashes.size() % 2)
                o->pen.dashes << o->pen.dashes;
        }
        break;
    }
    case U_EMR_CREATEBRUSHINDIRECT: {
        const auto e = as<U_EMRCREATEBRUSHINDIRECT>(U_SIZE_EMRCREATEBRUSHINDIRECT);
        if (GdiObject *o = slot(e.ihBrush)) {
            *o = GdiObject();
            o->kind = GdiObject::BrushObject;
            o->brush.style = int(e.lb.lbStyle);
            o->brush.colour = colourOf(e.lb.lbColor);
            o->brush.hatch = int(e.lb.lbHatch);
        }
        break;
    }
    case U_EMR_CREATEMONOBRUSH:
    case U_EMR_CREATEDIBPATTERNBRUSHPT: {
        const auto e = as<U_EMRCREATEDIBPATTERNBRUSHPT>(U_SIZE_EMRCREATEDIBPATTERNBRUSHPT);
        if (GdiObject *o = slot(e.ihBrush)) {
            *o = GdiObject();
            o->kind = GdiObject::BrushObject;
            o->brush = type == U_EMR_CREATEMONOBRUSH
                ? monoBrush(e.offBmi, e.cbBmi, e.offBits, e.cbBits, e.iUsage)
                : patternBrush(e.offBmi, e.cbBmi, e.offBits, e.cbBits, e.iUsage);
        }
        break;
    }
    case U_EMR_EXTCREATEFONTINDIRECTW: {
        if (GdiObject *o = slot(r.u32(8))) {
            *o = GdiObject();
            o->kind = GdiObject::FontObject;
            o->font = readFont(12);
        }
        break;
    }
    case U_EMR_ANGLEARC: {
        const auto e = as<U_EMRANGLEARC>(U_SIZE_EMRANGLEARC);
        m_dc.angleArc(pointOf(e.ptlCenter), e.nRadius, e.eStartAngle, e.eSweepAngle);
        break;
    }
    case U_EMR_ELLIPSE: m_dc.ellipse(rectOf(as<U_EMRELLIPSE>(24).rclBox)); break;
    case U_EMR_RECTANGLE: m_dc.rectangle(rectOf(as<U_EMRRECTANGLE>(24).rclBox)); break;
    case U_EMR_ROUNDRECT: {
        const auto e = as<U_EMRROUNDRECT>(U_SIZE_EMRROUNDRECT);
        m_dc.roundRect(rectOf(e.rclBox), QSizeF(e.szlCorner.cx, e.szlCorner.cy));
        break;
    }
    case U_EMR_ARC: case U_EMR_CHORD: case U_EMR_PIE: case U_EMR_ARCTO: {
        const auto e = as<U_EMRARC>(U_SIZE_EMRARC);
        const ArcKind kind = type == U_EMR_ARC ? ArcKind::Arc
            : type == U_EMR_CHORD            ? ArcKind::Chord
            : type == U_EMR_PIE              ? ArcKind::Pie
                                             : ArcKind::ArcTo;
        m_dc.arc(rectOf(e.rclBox), pointOf(e.ptlStart), pointOf(e.ptlEnd), kind);
        break;
    }
    case U_EMR_BEGINPATH: m_dc.beginPath(); break;
    case U_EMR_ENDPATH: m_dc.endPath(); break;
    case U_EMR_ABORTPATH: m_dc.abortPath(); break;
    case U_EMR_CLOSEFIGURE: m_dc.closeFigure(); break;
    case U_EMR_FILLPATH: m_dc.fillPath(); break;
    case U_EMR_STROKEPATH: m_dc.strokePath(); break;
    case U_EMR_STROKEANDFILLPATH: m_dc.strokeAndFillPath(); break;
    case U_EMR_SELECTCLIPPATH: m_dc.selectClipPath(int(r.u32(8))); break;
    case U_EMR_EXTSELECTCLIPRGN: {
        const std::uint32_t bytes = r.u32(8), mode = r.u32(12);
        if (bytes == 0 && mode == U_RGN_COPY)
            m_dc.resetClip();
        else if (bytes)
            m_dc.combineDeviceClip(regionRects(16, bytes), int(mode));
        break;
    }
    case U_EMR_FILLRGN: {
        const auto e = as<U_EMRFILLRGN>(U_SIZE_EMRFILLRGN);
        m_dc.fillRegion(m_dc.pictureRegion(regionRects(32, e.cbRgnData)), brushAt(e.ihBrush));
        break;
    }
    case U_EMR_PAINTRGN:
        m_dc.fillRegion(m_dc.pictureRegion(regionRects(28, r.u32(24))), st.brush);
        break;
    case U_EMR_EXTTEXTOUTA: playText(false); break;
    case U_EMR_EXTTEXTOUTW: playText(true); break;
    case U_EMR_BITBLT: case U_EMR_STRETCHBLT: case U_EMR_STRETCHDIBITS:
    case U_EMR_SETDIBITSTODEVICE: case U_EMR_ALPHABLEND:
        playBitmap(type);
        break;
    case U_EMR_MASKBLT: case U_EMR_PLGBLT: case U_EMR_TRANSPARENTBLT:
        playMaskedBitmap(type);
        break;
    case U_EMR_POLYDRAW: case U_EMR_POLYDRAW16: {
        const bool small = type == U_EMR_POLYDRAW16;
        const std::uint64_t n = r.u32(24);
        const QPolygonF p = points(28, n, small);
        const ByteSpan kinds = r.sub(28 + n * (small ? 4 : 8), n);
        m_dc.polyDraw(p, QByteArray(reinterpret_cast<const char *>(kinds.data()), qsizetype(n)));
        break;
    }
    case U_EMR_OFFSETCLIPRGN:
        m_dc.offsetClip(pointOf(as<U_EMROFFSETCLIPRGN>(U_SIZE_EMROFFSETCLIPRGN).ptlOffset));
        break;
    case U_EMR_INVERTRGN:
        m_dc.invertRegion(m_dc.pictureRegion(regionRects(28, r.u32(24))));
        break;
    case U_EMR_FRAMERGN: {
        const auto e = as<U_EMRFRAMERGN>(U_SIZE_EMRFRAMERGN);
        m_dc.frameRegion(m_dc.pictureRegion(regionRects(U_SIZE_EMRFRAMERGN, e.cbRgnData)),
                         brushAt(e.ihBrush), QSizeF(e.szlStroke.cx, e.szlStroke.cy));
        break;
    }
    case U_EMR_GRADIENTFILL: playGradient(); break;
    case U_EMR_SMALLTEXTOUT: playSmallText(); break;
    case U_EMR_POLYTEXTOUTA: case U_EMR_POLYTEXTOUTW: case U_EMR_EXTFLOODFILL:
    case U_EMR_DRAWESCAPE: case U_EMR_GLSRECORD: case U_EMR_GLSBOUNDEDRECORD:
        ++m_skipped; // drawing we do not do
        break;
    default:
        break; // comments, palettes, colour spaces and the rest draw nothing
    }
}

void EmfPlayer::playText(bool wide)
{
    const auto e = as<U_EMREXTTEXTOUTW>(U_SIZE_EMREXTTEXTOUTW);
    const U_EMRTEXT &t = e.emrtext;
    if (t.fOptions & U_ETO_GLYPH_INDEX) {
        ++m_skipped; // glyph numbers of a font we do not have
        return;
    }
    const std::uint64_t count = t.nChars;
    QString text;
    if (wide) {
        const ByteSpan s = m_rec.sub(t.offString, 2 * count);
        for (std::uint64_t i = 0; i < count; ++i)
            text += QChar(s.u16(2 * i));
    } else {
        const ByteSpan s = m_rec.sub(t.offString, count);
        text = decodeCharSet(QByteArray(reinterpret_cast<const char *>(s.data()), qsizetype(count)),
                             m_dc.state().font.charSet);
    }
    const std::uint64_t emrText = offsetof(U_EMREXTTEXTOUTW, emrtext);
    std::uint64_t at = emrText + sizeof(U_EMRTEXT);
    std::optional<QRectF> rect;
    if (!(t.fOptions & U_ETO_NO_RECT)) {
        const ByteSpan rc = m_rec.sub(at, 16);
        rect = QRectF(QPointF(rc.i32(0), rc.i32(4)), QPointF(rc.i32(8), rc.i32(12)));
        at += 16;
    }
    QVector<double> dx;
    const std::uint64_t step = t.fOptions & U_ETO_PDY ? 8 : 4;
    const std::uint64_t offDx = m_rec.u32(at);
    // Writers leave the offset 0 when there are no advances; an offset into
    // the fixed part would take the record's own fields for spacing.
    if (offDx >= at + 4 && text.size() == qsizetype(count) && m_rec.has(offDx, step * count))
        for (std::uint64_t i = 0; i < count; ++i)
            dx << m_rec.i32(offDx + step * i);
    m_dc.text(pointOf(t.ptlReference), text, dx, t.fOptions, rect);
}

void EmfPlayer::playSmallText()
{
    const auto e = as<U_EMRSMALLTEXTOUT>(U_SIZE_EMRSMALLTEXTOUT);
    std::uint64_t at = U_SIZE_EMRSMALLTEXTOUT;
    std::optional<QRectF> rect;
    if (!(e.fuOptions & U_ETO_NO_RECT)) {
        const ByteSpan rc = m_rec.sub(at, 16);
        rect = QRectF(QPointF(rc.i32(0), rc.i32(4)), QPointF(rc.i32(8), rc.i32(12)));
        at += 16;
    }
    const std::uint64_t count = e.cChars;
    QString text;
    if (e.fuOptions & U_ETO_SMALL_CHARS) {
        // Eight-bit characters are the low bytes of the text's own.
        const ByteSpan s = m_rec.sub(at, count);
        for (std::uint64_t i = 0; i < count; ++i)
            text += QChar(s.u8(i));
    } else {
        const ByteSpan s = m_rec.sub(at, 2 * count);
        for (std::uint64_t i = 0; i < count; ++i)
            text += QChar(s.u16(2 * i));
    }
    m_dc.text(pointOf(e.Dest), text, {}, e.fuOptions, rect);
}

void EmfPlayer::playGradient()
{
    const auto e = as<U_EMRGRADIENTFILL>(U_SIZE_EMRGRADIENTFILL);
    const std::uint64_t vertices = e.nTriVert, shapes = e.nGradObj;
    const std::uint64_t corners = e.ulMode == U_GRADIENT_FILL_TRIANGLE ? 3 : 2;
    const ByteSpan v = m_rec.sub(U_SIZE_EMRGRADIENTFILL, 16 * vertices);
    const ByteSpan g = m_rec.sub(U_SIZE_EMRGRADIENTFILL + 16 * vertices, 4 * corners * shapes);
    QVector<GradientVertex> vs;
    vs.reserve(qsizetype(vertices));
    for (std::uint64_t i = 0; i < vertices; ++i)
        vs.push_back({QPointF(v.i32(16 * i), v.i32(16 * i + 4)),
                      QColor(v.u16(16 * i + 8) >> 8, v.u16(16 * i + 10) >> 8, v.u16(16 * i + 12) >> 8)});
    QVector<std::array<std::uint32_t, 3>> list;
    list.reserve(qsizetype(shapes));
    for (std::uint64_t i = 0; i < shapes; ++i) {
        const std::uint64_t at = 4 * corners * i;
        list.push_back({g.u32(at), g.u32(at + 4), corners == 3 ? g.u32(at + 8) : 0});
    }
    m_dc.gradientFill(vs, list, int(e.ulMode));
}

void EmfPlayer::playMaskedBitmap(std::uint32_t type)
{
    constexpr std::uint32_t SrcCopy = 0x00cc0020;
    if (type == U_EMR_TRANSPARENTBLT) {
        const auto e = as<U_EMRTRANSPARENTBLT>(U_SIZE_EMRTRANSPARENTBLT);
        const QImage img = dib(e.offBmiSrc, e.cbBmiSrc, e.offBitsSrc, e.cbBitsSrc, e.iUsageSrc);
        // The key is a colour reference: red in the low byte.
        const QRgb key = qRgb(e.TColor & 0xff, (e.TColor >> 8) & 0xff, (e.TColor >> 16) & 0xff);
        m_dc.bitmap(withTransparency(img, key), QRectF(pointOf(e.Dest), QSizeF(e.cDest.x, e.cDest.y)),
                    QRectF(pointOf(e.Src), QSizeF(e.cSrc.x, e.cSrc.y)), SrcCopy);
        return;
    }
    // Mask and parallelogram blits share their bitmap fields; the mask
    // (white where the source shows, the destination staying elsewhere)
    // stands over the source from its own corner. Both corners are any
    // 32-bit numbers: a mask further off than an int reaches is a bad record.
    auto masked = [&](const auto &e, QPoint srcAt) {
        QImage img = dib(e.offBmiSrc, e.cbBmiSrc, e.offBitsSrc, e.cbBitsSrc, e.iUsageSrc);
        if (e.cbBmiMask) {
            const qint64 dx = qint64(e.Mask.x) - srcAt.x(), dy = qint64(e.Mask.y) - srcAt.y();
            if (dx != int(dx) || dy != int(dy))
                throw damagedPicture();
            const QImage mask = dib(e.offBmiMask, e.cbBmiMask, e.offBitsMask, e.cbBitsMask, e.iUsageMask);
            img = withTransparency(img, std::nullopt, mask, QPoint(int(dx), int(dy)));
        }
        return img;
    };
    if (type == U_EMR_MASKBLT) {
        const auto e = as<U_EMRMASKBLT>(U_SIZE_EMRMASKBLT);
        const QRectF dest(pointOf(e.Dest), QSizeF(e.cDest.x, e.cDest.y));
        // The foreground operation is in the low three bytes.
        if (e.cbBmiSrc == 0) {
            m_dc.patBlt(dest, e.dwRop & 0xffffff);
            return;
        }
        const QPoint src(e.Src.x, e.Src.y);
        m_dc.bitmap(masked(e, src), dest, QRectF(src, dest.size()),
                    e.cbBmiMask ? SrcCopy : (e.dwRop & 0xffffff));
        return;
    }
    const auto e = as<U_EMRPLGBLT>(U_SIZE_EMRPLGBLT);
    const QPolygonF corners({pointOf(e.aptlDst[0]), pointOf(e.aptlDst[1]), pointOf(e.aptlDst[2])});
    const QPoint src(e.Src.x, e.Src.y);
    m_dc.bitmap(masked(e, src), corners, QRectF(src, QSizeF(e.cSrc.x, e.cSrc.y)), SrcCopy);
}

void EmfPlayer::playBitmap(std::uint32_t type)
{
    // Blits copy the source rectangle of the recorded bitmap when it lies
    // inside it, else the whole bitmap (it was recorded for that area).
    auto blitSource = [](const QImage &img, QRectF src) {
        return (src & QRectF(img.rect())).isEmpty() ? QRectF(img.rect()) : src;
    };
    bool bottomUp = true;
    switch (type) {
    case U_EMR_BITBLT: {
        const auto e = as<U_EMRBITBLT>(U_SIZE_EMRBITBLT);
        const QRectF dest(pointOf(e.Dest), QSizeF(e.cDest.x, e.cDest.y));
        if (e.cbBmiSrc == 0) {
            m_dc.patBlt(dest, e.dwRop);
            return;
        }
        const QImage img = dib(e.offBmiSrc, e.cbBmiSrc, e.offBitsSrc, e.cbBitsSrc, e.iUsageSrc);
        m_dc.bitmap(img, dest, blitSource(img, QRectF(pointOf(e.Src), dest.size())), e.dwRop);
        return;
    }
    case U_EMR_STRETCHBLT: {
        const auto e = as<U_EMRSTRETCHBLT>(U_SIZE_EMRSTRETCHBLT);
        const QRectF dest(pointOf(e.Dest), QSizeF(e.cDest.x, e.cDest.y));
        if (e.cbBmiSrc == 0) {
            m_dc.patBlt(dest, e.dwRop);
            return;
        }
        const QImage img = dib(e.offBmiSrc, e.cbBmiSrc, e.offBitsSrc, e.cbBitsSrc, e.iUsageSrc);
        m_dc.bitmap(img, dest, blitSource(img, QRectF(pointOf(e.Src), QSizeF(e.cSrc.x, e.cSrc.y))),
                    e.dwRop);
        return;
    }
    case U_EMR_ALPHABLEND: {
        const auto e = as<U_EMRALPHABLEND>(U_SIZE_EMRALPHABLEND);
        const QImage img = dib(e.offBmiSrc, e.cbBmiSrc, e.offBitsSrc, e.cbBitsSrc, e.iUsageSrc,
                               nullptr, true);
        m_dc.bitmap(img, QRectF(pointOf(e.Dest), QSizeF(e.cDest.x, e.cDest.y)),
                    blitSource(img, QRectF(pointOf(e.Src), QSizeF(e.cSrc.x, e.cSrc.y))), 0x00cc0020);
        return;
    }
    case U_EMR_STRETCHDIBITS: {
        const auto e = as<U_EMRSTRETCHDIBITS>(U_SIZE_EMRSTRETCHDIBITS);
        const QImage img = dib(e.offBmiSrc, e.cbBmiSrc, e.offBitsSrc, e.cbBitsSrc, e.iUsageSrc, &bottomUp);
        QRectF src(pointOf(e.Src), QSizeF(e.cSrc.x, e.cSrc.y));
        if (bottomUp)
            src.moveTop(img.height() - src.y() - src.height());
        m_dc.bitmap(img, QRectF(pointOf(e.Dest), QSizeF(e.cDest.x, e.cDest.y)), src, e.dwRop);
        return;
    }
    default: {
        const auto e = as<U_EMRSETDIBITSTODEVICE>(U_SIZE_EMRSETDIBITSTODEVICE);
        const QImage img = dib(e.offBmiSrc, e.cbBmiSrc, e.offBitsSrc, e.cbBitsSrc, e.iUsageSrc, &bottomUp);
        QRectF src(pointOf(e.Src), QSizeF(e.cSrc.x, e.cSrc.y));
        if (bottomUp)
            src.moveTop(img.height() - src.y() - src.height());
        m_dc.bitmap(img, QRectF(pointOf(e.Dest), src.size()), src, 0x00cc0020);
        return;
    }
    }
}

} // namespace

bool looksLikeEmf(ByteSpan d)
{
    return d.has(0, 44) && d.u32(0) == U_EMR_HEADER && d.u32(40) == EmfSignature;
}

QImage renderEmf(ByteSpan d, const PictureLimits &limits, int *skippedRecords)
{
    const std::uint32_t headerSize = d.u32(4);
    if (headerSize < U_SIZE_EMRHEADER_MIN || headerSize % 4 || !d.has(0, headerSize))
        throw damagedPicture();
    U_EMRHEADER h{};
    std::memcpy(&h, d.data(), std::min<std::size_t>(headerSize, sizeof h));

    // The reference device's resolution, for the frame and fixed units.
    double ppmmX = MetafileDpi / 25.4, ppmmY = MetafileDpi / 25.4;
    if (h.szlDevice.cx > 0 && h.szlMillimeters.cx > 0 && h.szlDevice.cy > 0 && h.szlMillimeters.cy > 0) {
        ppmmX = double(h.szlDevice.cx) / h.szlMillimeters.cx;
        ppmmY = double(h.szlDevice.cy) / h.szlMillimeters.cy;
        if (ppmmX < 0.01 || ppmmX > 1000 || ppmmY < 0.01 || ppmmY > 1000)
            ppmmX = ppmmY = MetafileDpi / 25.4;
    }
    // The picture frame (hundredths of a millimetre) sets the size; the
    // bounds in device pixels stand in when the frame is empty, and when
    // the drawing plainly lies elsewhere: the bounds are what the records
    // drew, so when less than half of them falls inside the frame and they
    // do not take in the frame either, the frame is wrong and the bounds
    // are mapped (bounds holding the whole frame only drew past its edge).
    const QRectF frame = rectOf(h.rclFrame);
    const QRectF bounds = rectOf(h.rclBounds).adjusted(0, 0, 1, 1);
    const QRectF frameDevice(QPointF(frame.left() * ppmmX / 100, frame.top() * ppmmY / 100),
                             QPointF(frame.right() * ppmmX / 100, frame.bottom() * ppmmY / 100));
    auto area = [](const QRectF &r) { return r.width() * r.height(); };
    const bool drawingOutsideFrame = bounds.width() > 0 && bounds.height() > 0
        && area(bounds & frameDevice) < area(bounds) / 2
        && !bounds.adjusted(-1, -1, 1, 1).contains(frameDevice);
    QRectF device;
    qint64 w, ht;
    if (frame.width() > 0 && frame.height() > 0 && !drawingOutsideFrame) {
        w = std::llround(frame.width() * MetafileDpi / 2540);
        ht = std::llround(frame.height() * MetafileDpi / 2540);
        device = frameDevice;
    } else {
        device = bounds;
        w = std::llround(device.width());
        ht = std::llround(device.height());
    }
    checkPictureSize(std::max<qint64>(w, 1), std::max<qint64>(ht, 1), limits);
    w = std::max<qint64>(w, 1);
    ht = std::max<qint64>(ht, 1);
    if (!(device.width() > 0) || !(device.height() > 0))
        throw damagedPicture();

    QImage img(int(w), int(ht), QImage::Format_RGB32);
    if (img.isNull())
        throw pictureTooLarge(w, ht);
    img.fill(Qt::white);
    const QTransform base = QTransform::fromTranslate(-device.left(), -device.top())
        * QTransform::fromScale(w / device.width(), ht / device.height());
    {
        DeviceContext dc(&img, img.rect(), base, QSizeF(ppmmX, ppmmY));
        EmfPlayer player(dc, h.nHandles, limits);
        std::uint64_t pos = headerSize;
        for (;;) {
            const std::uint32_t type = d.u32(pos), size = d.u32(pos + 4);
            if (size < 8 || size % 4 || !d.has(pos, size))
                throw damagedPicture();
            if (type == U_EMR_EOF)
                break;
            player.play(d.sub(pos, size), type);
            pos += size;
        }
        if (skippedRecords)
            *skippedRecords = player.skipped();
    }
    makeOpaque(img);
    return img;
}

} // namespace quor
