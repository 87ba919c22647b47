#include "formats/metafile_dc.h"

#include <QLinearGradient>

#include <algorithm>
#include <cmath>

namespace quor::gdi {

namespace {

constexpr std::size_t MaxSavedStates = 4096;

bool finite(const QTransform &t)
{
    for (qreal v : {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()})
        if (!std::isfinite(v) || std::fabs(v) > 1e9)
            return false;
    return true;
}

} // namespace

DeviceContext::DeviceContext(QPaintDevice *device, const QRect &area, const QTransform &base,
                             QSizeF pixelsPerMm)
    : m_area(area),
      m_budget(std::max<qint64>(256LL << 20, 64LL * area.width() * area.height())),
      m_painter(device), m_base(base), m_pixelsPerMm(pixelsPerMm)
{
}

bool DeviceContext::spend(qint64 pixels)
{
    if (pixels > m_budget) {
        m_budget = 0;
        return false;
    }
    m_budget -= pixels;
    return true;
}

bool DeviceContext::spend(const QRectF &picture)
{
    const QRectF r = picture.normalized() & QRectF(m_area);
    return spend(qint64(r.width() + 1) * qint64(r.height() + 1));
}

DeviceContext::~DeviceContext()
{
    m_painter.end();
}

QTransform DeviceContext::pageTransform() const
{
    const DcState &s = m_state;
    double sx = 1, sy = 1;
    switch (s.mapMode) {
    case MmLoMetric: sx = 0.1; break;
    case MmHiMetric: sx = 0.01; break;
    case MmLoEnglish: sx = 0.254; break;
    case MmHiEnglish: sx = 0.0254; break;
    case MmTwips: sx = 25.4 / 1440; break;
    case MmIsotropic:
    case MmAnisotropic:
        sx = s.viewportExt.width() / s.windowExt.width();
        sy = s.viewportExt.height() / s.windowExt.height();
        if (s.mapMode == MmIsotropic) {
            const double m = std::min(std::fabs(sx), std::fabs(sy));
            sx = std::copysign(m, sx);
            sy = std::copysign(m, sy);
        }
        break;
    default: break;
    }
    if (s.mapMode >= MmLoMetric && s.mapMode <= MmTwips) {
        // Fixed units in millimetres; y grows upwards.
        sy = -sx * m_pixelsPerMm.height();
        sx *= m_pixelsPerMm.width();
    }
    return QTransform(sx, 0, 0, sy, s.viewportOrg.x() - s.windowOrg.x() * sx,
                      s.viewportOrg.y() - s.windowOrg.y() * sy);
}

std::optional<QTransform> DeviceContext::transform() const
{
    const QTransform t = m_state.world * pageTransform() * m_base;
    if (!finite(t) || std::fabs(t.determinant()) < 1e-12)
        return std::nullopt;
    return t;
}

void DeviceContext::save()
{
    if (m_saved.size() < MaxSavedStates)
        m_saved.push_back(m_state);
}

void DeviceContext::restore(int which)
{
    const qint64 n = qint64(m_saved.size());
    const qint64 index = which < 0 ? n + which : qint64(which) - 1;
    if (which == 0 || index < 0 || index >= n)
        return;
    m_state = m_saved[std::size_t(index)];
    m_saved.resize(std::size_t(index));
    m_clipDirty = true;
}

void DeviceContext::setMapMode(int mode)
{
    if (mode >= MmText && mode <= MmAnisotropic)
        m_state.mapMode = mode;
}

void DeviceContext::select(const GdiObject &o)
{
    switch (o.kind) {
    case GdiObject::PenObject: m_state.pen = o.pen; break;
    case GdiObject::BrushObject: m_state.brush = o.brush; break;
    case GdiObject::FontObject: m_state.font = o.font; break;
    case GdiObject::RegionObject: combinePictureClip(pictureRegion(o.region), 5); break;
    default: break;
    }
}

QRegion DeviceContext::pictureRegion(const QVector<QRectF> &logical) const
{
    QRegion r;
    if (const auto t = transform())
        for (const QRectF &rect : logical)
            r |= QRegion(pixelRect(t->mapRect(rect.normalized())));
    return r;
}

// --- painter set-up ---------------------------------------------------------

void DeviceContext::prepare(const QTransform &t)
{
    if (m_clipDirty) {
        // Clipping is never switched off: a region set after the painter's
        // clipping was disabled did not always take (a cut-out clip after
        // an unclipped text drew over its hole), so no clip is the picture.
        m_painter.resetTransform();
        m_painter.setClipRegion(m_state.clipped ? m_state.clip : QRegion(m_area));
        m_clipDirty = false;
    }
    m_painter.setTransform(t);
    applyRop2();
}

void DeviceContext::applyRop2()
{
    static const QPainter::CompositionMode modes[17] = {
        QPainter::CompositionMode_SourceOver,
        QPainter::RasterOp_ClearDestination,         // black
        QPainter::RasterOp_NotSourceAndNotDestination, // not merge pen
        QPainter::RasterOp_NotSourceAndDestination,  // mask not pen
        QPainter::RasterOp_NotSource,                // not copy pen
        QPainter::RasterOp_SourceAndNotDestination,  // mask pen not
        QPainter::RasterOp_NotDestination,           // not
        QPainter::RasterOp_SourceXorDestination,     // xor pen
        QPainter::RasterOp_NotSourceOrNotDestination, // not mask pen
        QPainter::RasterOp_SourceAndDestination,     // mask pen
        QPainter::RasterOp_NotSourceXorDestination,  // not xor pen
        QPainter::CompositionMode_SourceOver,        // no operation (not drawn)
        QPainter::RasterOp_NotSourceOrDestination,   // merge not pen
        QPainter::CompositionMode_SourceOver,        // copy pen
        QPainter::RasterOp_SourceOrNotDestination,   // merge pen not
        QPainter::RasterOp_SourceOrDestination,      // merge pen
        QPainter::RasterOp_SetDestination,           // white
    };
    const int r = m_state.rop2;
    m_painter.setCompositionMode(r >= 1 && r <= 16 ? modes[r] : modes[13]);
}

QPen DeviceContext::makePen(const QTransform &t) const
{
    const Pen &p = m_state.pen;
    const std::uint32_t kind = p.style & 0xf;
    if (kind == 5)
        return QPen(Qt::NoPen);
    // Hatched and pattern pens paint their stroke with the brush.
    QPen pen(p.fill.style == 2 || !p.fill.pattern.isNull() ? brushOf(p.fill) : QBrush(p.colour), 0);
    const bool geometric = p.style & 0x10000;
    const double deviceWidth = p.width * std::sqrt(std::fabs(t.determinant()));
    const bool thin = p.width <= 0 || (!geometric && deviceWidth < 1.5);
    // QPen ignores a width of 32768 or more and keeps its old one; the
    // widest it takes is the nearest it can draw.
    pen.setWidthF(thin ? 0 : std::min(p.width, 32767.0));
    // Styled lines stay styled only when thin or from an extended pen.
    if (thin || geometric) {
        switch (kind) {
        case 1: pen.setStyle(Qt::DashLine); break;
        case 2: case 8: pen.setStyle(Qt::DotLine); break;
        case 3: pen.setStyle(Qt::DashDotLine); break;
        case 4: pen.setStyle(Qt::DashDotDotLine); break;
        case 7:
            if (!p.dashes.isEmpty())
                pen.setDashPattern(p.dashes);
            break;
        default: break;
        }
    }
    switch (p.style & 0xf00) {
    case 0x100: pen.setCapStyle(Qt::SquareCap); break;
    case 0x200: pen.setCapStyle(Qt::FlatCap); break;
    default: pen.setCapStyle(Qt::RoundCap); break;
    }
    switch (p.style & 0xf000) {
    case 0x1000: pen.setJoinStyle(Qt::BevelJoin); break;
    case 0x2000: pen.setJoinStyle(Qt::MiterJoin); break;
    default: pen.setJoinStyle(Qt::RoundJoin); break;
    }
    return pen;
}

QBrush DeviceContext::brushOf(const Brush &b) const
{
    switch (b.style) {
    case 2:
        if (b.hatch >= 0 && b.hatch < 6) {
            static const Qt::BrushStyle hatches[6] = {Qt::HorPattern, Qt::VerPattern,
                                                      Qt::FDiagPattern, Qt::BDiagPattern,
                                                      Qt::CrossPattern, Qt::DiagCrossPattern};
            return QBrush(b.colour, hatches[b.hatch]);
        }
        // The extended styles fill solid in the brush, text or background colour.
        if (b.hatch == 8 || b.hatch == 9)
            return m_state.textColour;
        if (b.hatch == 10 || b.hatch == 11)
            return m_state.backColour;
        return b.colour;
    case 3: case 5: case 6: {
        if (b.pattern.isNull())
            return b.colour;
        QImage pattern = b.pattern;
        if (b.mono) {
            pattern.setColorTable({m_state.textColour.rgb(), m_state.backColour.rgb()});
            pattern = pattern.convertToFormat(QImage::Format_RGB32);
        }
        // Patterns repeat in picture pixels, whatever the mapping.
        QBrush brush(pattern);
        brush.setTransform(m_painter.transform().inverted());
        return brush;
    }
    default:
        return b.colour;
    }
}

void DeviceContext::paintFill(const QPainterPath &path, const Brush &b)
{
    if (b.style == 1)
        return;
    // Hatch lines on an opaque background.
    if (b.style == 2 && b.hatch >= 0 && b.hatch < 6 && m_state.backMode == 2)
        m_painter.fillPath(path, m_state.backColour);
    m_painter.fillPath(path, brushOf(b));
}

void DeviceContext::drawShape(const QPainterPath &logical, bool fill, bool stroke)
{
    if (m_inPath) {
        m_path.addPath(logical);
        return;
    }
    const auto t = transform();
    if (!t || !penMixDraws())
        return;
    const double penWidth = m_state.pen.width * std::sqrt(std::fabs(t->determinant()));
    if (!spend(t->mapRect(logical.boundingRect()).adjusted(-penWidth, -penWidth, penWidth, penWidth)))
        return;
    prepare(*t);
    QPainterPath path = logical;
    path.setFillRule(m_state.polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill);
    if (fill)
        paintFill(path, m_state.brush);
    if (stroke) {
        const QPen pen = makePen(*t);
        if (pen.style() != Qt::NoPen)
            m_painter.strokePath(path, pen);
    }
}

// --- figures ----------------------------------------------------------------

void DeviceContext::moveTo(QPointF p)
{
    m_state.current = p;
    if (m_inPath)
        m_path.moveTo(p);
}

void DeviceContext::lineTo(QPointF p)
{
    if (m_inPath) {
        if (m_path.elementCount() == 0)
            m_path.moveTo(m_state.current);
        m_path.lineTo(p);
    } else {
        QPainterPath path(m_state.current);
        path.lineTo(p);
        drawShape(path, false, true);
    }
    m_state.current = p;
}

void DeviceContext::polyline(const QPolygonF &points, bool fromCurrent)
{
    if (points.isEmpty())
        return;
    if (fromCurrent) {
        for (QPointF p : points)
            lineTo(p);
        return;
    }
    if (points.size() < 2)
        return;
    QPainterPath path(points.first());
    for (qsizetype i = 1; i < points.size(); ++i)
        path.lineTo(points[i]);
    drawShape(path, false, true);
}

void DeviceContext::polygon(const QPolygonF &points)
{
    if (points.size() < 2)
        return;
    QPainterPath path;
    path.addPolygon(points);
    path.closeSubpath();
    drawShape(path, true, true);
}

void DeviceContext::polyPolygon(const QList<QPolygonF> &polygons)
{
    QPainterPath path;
    for (const QPolygonF &p : polygons) {
        if (p.size() < 2)
            continue;
        path.addPolygon(p);
        path.closeSubpath();
    }
    drawShape(path, true, true);
}

void DeviceContext::polyBezier(const QPolygonF &points, bool fromCurrent)
{
    qsizetype i = fromCurrent ? 0 : 1;
    if (points.size() < i + 3)
        return;
    QPainterPath path(fromCurrent ? m_state.current : points.first());
    for (; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    if (fromCurrent)
        m_state.current = path.currentPosition();
    if (m_inPath && fromCurrent && m_path.elementCount() > 0)
        m_path.connectPath(path);
    else
        drawShape(path, false, true);
}

void DeviceContext::rectangle(const QRectF &box)
{
    QPainterPath path;
    path.addRect(box.normalized());
    drawShape(path, true, true);
}

void DeviceContext::roundRect(const QRectF &box, QSizeF corner)
{
    QPainterPath path;
    path.addRoundedRect(box.normalized(), std::fabs(corner.width()) / 2,
                        std::fabs(corner.height()) / 2);
    drawShape(path, true, true);
}

void DeviceContext::ellipse(const QRectF &box)
{
    QPainterPath path;
    path.addEllipse(box.normalized());
    drawShape(path, true, true);
}

void DeviceContext::arc(const QRectF &box, QPointF start, QPointF end, ArcKind kind)
{
    const auto t = transform();
    if (!t)
        return;
    // Angles are taken where the radials cross the ellipse, on the
    // picture, counterclockwise unless the arc direction says otherwise.
    const QRectF dev = t->mapRect(box).normalized();
    const QPointF c = dev.center(), s = t->map(start), e = t->map(end);
    const double w = std::max(dev.width(), 1e-9), h = std::max(dev.height(), 1e-9);
    auto angle = [&](QPointF p) {
        return std::atan2(-(p.y() - c.y()) / h, (p.x() - c.x()) / w) * 180 / M_PI;
    };
    const double a1 = angle(s);
    double sweep = std::fmod(angle(e) - a1, 360.0);
    if (sweep <= 0)
        sweep += 360;
    if (m_state.clockwise)
        sweep -= 360;
    QPainterPath dp;
    switch (kind) {
    case ArcKind::Arc: dp.arcMoveTo(dev, a1); dp.arcTo(dev, a1, sweep); break;
    case ArcKind::ArcTo: dp.moveTo(t->map(m_state.current)); dp.arcTo(dev, a1, sweep); break;
    case ArcKind::Chord: dp.arcMoveTo(dev, a1); dp.arcTo(dev, a1, sweep); dp.closeSubpath(); break;
    case ArcKind::Pie: dp.moveTo(c); dp.arcTo(dev, a1, sweep); dp.closeSubpath(); break;
    }
    const QPainterPath logical = t->inverted().map(dp);
    if (kind == ArcKind::ArcTo)
        m_state.current = logical.currentPosition();
    drawShape(logical, kind == ArcKind::Chord || kind == ArcKind::Pie, true);
}

void DeviceContext::angleArc(QPointF centre, double radius, double startDeg, double sweepDeg)
{
    if (!std::isfinite(startDeg) || !std::isfinite(sweepDeg))
        return;
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPainterPath path(m_state.current);
    path.arcTo(box, startDeg, std::clamp(sweepDeg, -3600.0, 3600.0));
    m_state.current = path.currentPosition();
    drawShape(path, false, true);
}

void DeviceContext::setPixel(QPointF p, const QColor &c)
{
    const auto t = transform();
    if (!t || !penMixDraws() || !spend(1))
        return;
    prepare(QTransform());
    const QPointF d = t->map(p);
    m_painter.fillRect(QRectF(std::floor(d.x()), std::floor(d.y()), 1, 1), c);
}

void DeviceContext::fillRegion(const QRegion &picture, const Brush &brush)
{
    if (!spend(QRectF(picture.boundingRect())))
        return;
    prepare(QTransform());
    QPainterPath path;
    path.addRegion(picture);
    paintFill(path, brush);
}

void DeviceContext::frameRegion(const QRegion &picture, const Brush &brush, QSizeF stroke)
{
    const auto t = transform();
    if (!t)
        return;
    const QRectF s = t->mapRect(QRectF(QPointF(), stroke));
    const int w = int(std::clamp(std::lround(s.width()), 1L, 65536L));
    const int h = int(std::clamp(std::lround(s.height()), 1L, 65536L));
    // What stays covered when the region moves by the stroke each way is
    // its inside; the rest is the frame.
    const QRegion inside = picture & picture.translated(w, 0) & picture.translated(-w, 0)
        & picture.translated(0, h) & picture.translated(0, -h);
    fillRegion(picture - inside, brush);
}

void DeviceContext::invertRegion(const QRegion &picture)
{
    if (!spend(QRectF(picture.boundingRect())))
        return;
    prepare(QTransform());
    m_painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    QPainterPath path;
    path.addRegion(picture);
    m_painter.fillPath(path, Qt::black);
}

void DeviceContext::polyDraw(const QPolygonF &points, const QByteArray &kinds)
{
    enum { Close = 1, Line = 2, Bezier = 4, Move = 6 };
    QPainterPath path(m_state.current);
    for (qsizetype i = 0; i < points.size() && i < kinds.size(); ++i) {
        switch (kinds[i] & ~Close) {
        case Move: path.moveTo(points[i]); break;
        case Line: path.lineTo(points[i]); break;
        case Bezier:
            if (i + 2 >= points.size())
                return;
            path.cubicTo(points[i], points[i + 1], points[i + 2]);
            i += 2;
            break;
        default: return; // a point of no known kind spoils the figure
        }
        if (i < kinds.size() && (kinds[i] & Close))
            path.closeSubpath();
        m_state.current = points[i];
    }
    drawShape(path, false, true);
}

void DeviceContext::gradientFill(const QVector<GradientVertex> &v,
                                 const QVector<std::array<std::uint32_t, 3>> &shapes, int mode)
{
    const auto t = transform();
    if (!t || m_inPath || mode < 0 || mode > 2)
        return;
    const std::uint32_t n = std::uint32_t(v.size());
    for (const auto &s : shapes) {
        if (s[0] >= n || s[1] >= n || (mode == 2 && s[2] >= n))
            continue;
        const GradientVertex &a = v[s[0]], &b = v[s[1]];
        if (mode == 2) {
            shadeTriangle(*t, a, b, v[s[2]]);
            continue;
        }
        const QRectF box = QRectF(a.at, b.at).normalized();
        if (!spend(t->mapRect(box)))
            return;
        prepare(*t);
        m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        QLinearGradient g(a.at, mode == 0 ? QPointF(b.at.x(), a.at.y()) : QPointF(a.at.x(), b.at.y()));
        g.setColorAt(0, a.colour);
        g.setColorAt(1, b.colour);
        m_painter.fillRect(box, g);
    }
}

void DeviceContext::shadeTriangle(const QTransform &t, const GradientVertex &a,
                                  const GradientVertex &b, const GradientVertex &c)
{
    const QPointF p0 = t.map(a.at), p1 = t.map(b.at), p2 = t.map(c.at);
    const QRect box = QPolygonF({p0, p1, p2}).boundingRect().toAlignedRect() & m_area;
    const double den = (p1.y() - p2.y()) * (p0.x() - p2.x()) + (p2.x() - p1.x()) * (p0.y() - p2.y());
    if (box.isEmpty() || std::fabs(den) < 1e-9 || !spend(QRectF(box)))
        return;
    // Each pixel centre takes the corners' colours by its barycentric weights.
    QImage shade(box.size(), QImage::Format_ARGB32_Premultiplied);
    shade.fill(Qt::transparent);
    for (int y = 0; y < box.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(shade.scanLine(y));
        const double py = box.top() + y + 0.5;
        for (int x = 0; x < box.width(); ++x) {
            const double px = box.left() + x + 0.5;
            const double w0 = ((p1.y() - p2.y()) * (px - p2.x()) + (p2.x() - p1.x()) * (py - p2.y())) / den;
            const double w1 = ((p2.y() - p0.y()) * (px - p2.x()) + (p0.x() - p2.x()) * (py - p2.y())) / den;
            const double w2 = 1 - w0 - w1;
            if (w0 < -1e-9 || w1 < -1e-9 || w2 < -1e-9)
                continue;
            auto mix = [&](int ca, int cb, int cc) {
                return std::clamp(int(std::lround(w0 * ca + w1 * cb + w2 * cc)), 0, 255);
            };
            line[x] = qRgb(mix(a.colour.red(), b.colour.red(), c.colour.red()),
                           mix(a.colour.green(), b.colour.green(), c.colour.green()),
                           mix(a.colour.blue(), b.colour.blue(), c.colour.blue()));
        }
    }
    prepare(QTransform());
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter.drawImage(box.topLeft(), shade);
}

void makeOpaque(QImage &img)
{
    for (int y = 0; y < img.height(); ++y) {
        auto *p = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            p[x] |= 0xff000000u;
    }
}

} // namespace quor::gdi
