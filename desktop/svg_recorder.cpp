#include "svg_recorder.h"

#include <QPaintEngine>
#include <QPainterPath>
#include <QPen>
#include <QStringList>
#include <QTransform>

namespace quor {

namespace {

QString num(qreal v)
{
    // Four decimals are far below a pixel at any icon size.
    QString s = QString::number(v, 'f', 4);
    while (s.endsWith(QLatin1Char('0')))
        s.chop(1);
    if (s.endsWith(QLatin1Char('.')))
        s.chop(1);
    return s == QLatin1String("-0") ? QStringLiteral("0") : s;
}

QString colour(const QColor &c)
{
    return c.name(QColor::HexRgb);
}

QString pathData(const QPainterPath &path)
{
    QStringList out;
    QPointF start;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            start = e;
            out << QStringLiteral("M%1 %2").arg(num(e.x), num(e.y));
            break;
        case QPainterPath::LineToElement:
            out << QStringLiteral("L%1 %2").arg(num(e.x), num(e.y));
            break;
        case QPainterPath::CurveToElement: {
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            out << QStringLiteral("C%1 %2 %3 %4 %5 %6")
                       .arg(num(e.x), num(e.y), num(c2.x), num(c2.y), num(end.x), num(end.y));
            i += 2;
            break;
        }
        case QPainterPath::CurveToDataElement:
            break;
        }
        // A subpath back at its start is closed, so its stroke joins there
        // instead of ending in two caps.
        const bool lastOfSubpath = i + 1 >= path.elementCount()
            || path.elementAt(i + 1).type == QPainterPath::MoveToElement;
        const QPainterPath::Element now = path.elementAt(i);
        if (lastOfSubpath && now.type != QPainterPath::MoveToElement
            && QPointF(now) == start)
            out << QStringLiteral("Z");
    }
    return out.join(QLatin1Char(' '));
}

} // namespace

class SvgPaintEngine : public QPaintEngine
{
public:
    // Every feature, so the painter hands over untransformed shapes and the
    // transform goes into the file, stroke widths scaling with it.
    SvgPaintEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState &state) override
    {
        const DirtyFlags dirty = state.state();
        if (dirty & DirtyPen)
            m_pen = state.pen();
        if (dirty & DirtyBrush)
            m_brush = state.brush();
        if (dirty & DirtyTransform)
            m_transform = state.transform();
        if ((dirty & DirtyClipEnabled) && state.isClipEnabled())
            m_complete = false;
        if ((dirty & (DirtyClipPath | DirtyClipRegion)) && state.clipOperation() != Qt::NoClip)
            m_complete = false;
        if ((dirty & DirtyOpacity) && state.opacity() < 1)
            m_complete = false;
        if ((dirty & DirtyCompositionMode)
            && state.compositionMode() != QPainter::CompositionMode_SourceOver)
            m_complete = false;
    }

    void drawPath(const QPainterPath &path) override { write(path, true); }

    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override
    {
        if (count < 1)
            return;
        QPainterPath path(points[0]);
        for (int i = 1; i < count; ++i)
            path.lineTo(points[i]);
        if (mode != PolylineMode)
            path.closeSubpath();
        path.setFillRule(mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
        write(path, mode != PolylineMode);
    }

    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override
    {
        m_complete = false;
    }
    void drawImage(const QRectF &, const QImage &, const QRectF &,
                   Qt::ImageConversionFlags) override
    {
        m_complete = false;
    }

    QByteArray m_body;
    bool m_complete = true;

private:
    void write(const QPainterPath &path, bool fill)
    {
        QStringList attrs{attribute("d", pathData(path))};
        const bool filled = fill && m_brush.style() != Qt::NoBrush;
        if (filled && m_brush.style() != Qt::SolidPattern)
            m_complete = false;
        if (filled) {
            attrs << attribute("fill", colour(m_brush.color()));
            if (m_brush.color().alphaF() < 1)
                attrs << attribute("fill-opacity", num(m_brush.color().alphaF()));
            attrs << attribute("fill-rule", path.fillRule() == Qt::OddEvenFill
                                                ? QStringLiteral("evenodd")
                                                : QStringLiteral("nonzero"));
        } else {
            attrs << attribute("fill", QStringLiteral("none"));
        }
        const bool stroked = m_pen.style() != Qt::NoPen;
        if (stroked) {
            if (m_pen.style() != Qt::SolidLine || m_pen.brush().style() != Qt::SolidPattern)
                m_complete = false;
            attrs << attribute("stroke", colour(m_pen.color()))
                  << attribute("stroke-width", num(m_pen.widthF() > 0 ? m_pen.widthF() : 1));
            if (m_pen.color().alphaF() < 1)
                attrs << attribute("stroke-opacity", num(m_pen.color().alphaF()));
            const Qt::PenCapStyle cap = m_pen.capStyle();
            attrs << attribute("stroke-linecap", QLatin1String(cap == Qt::SquareCap ? "square"
                                                               : cap == Qt::RoundCap ? "round"
                                                                                     : "butt"));
            const Qt::PenJoinStyle join = m_pen.joinStyle();
            if (join == Qt::RoundJoin || join == Qt::BevelJoin)
                attrs << attribute("stroke-linejoin",
                                   QLatin1String(join == Qt::RoundJoin ? "round" : "bevel"));
            else
                attrs << attribute("stroke-linejoin", QStringLiteral("miter"))
                      << attribute("stroke-miterlimit", num(m_pen.miterLimit()));
            // A zero width is one device pixel whatever the transform.
            if (m_pen.isCosmetic())
                attrs << attribute("vector-effect", QStringLiteral("non-scaling-stroke"));
        }
        if (!filled && !stroked)
            return;
        const QTransform &t = m_transform;
        if (!t.isIdentity())
            attrs << attribute("transform", QStringLiteral("matrix(%1 %2 %3 %4 %5 %6)")
                                                .arg(num(t.m11()), num(t.m12()), num(t.m21()),
                                                     num(t.m22()), num(t.dx()), num(t.dy())));
        m_body += "  <path " + attrs.join(QLatin1Char(' ')).toUtf8() + "/>\n";
    }

    static QString attribute(const char *name, const QString &value)
    {
        return QLatin1String(name) + QStringLiteral("=\"") + value + QLatin1Char('"');
    }

    QPen m_pen;
    QBrush m_brush;
    QTransform m_transform;
};

SvgRecorder::SvgRecorder(QSize size) : m_size(size), m_engine(std::make_unique<SvgPaintEngine>())
{
}

SvgRecorder::~SvgRecorder() = default;

QPaintEngine *SvgRecorder::paintEngine() const
{
    return m_engine.get();
}

QByteArray SvgRecorder::svg() const
{
    const QByteArray w = QByteArray::number(m_size.width());
    const QByteArray h = QByteArray::number(m_size.height());
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h
        + "\" viewBox=\"0 0 " + w + ' ' + h + "\">\n" + m_engine->m_body + "</svg>\n";
}

bool SvgRecorder::complete() const
{
    return m_engine->m_complete;
}

int SvgRecorder::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth: return m_size.width();
    case PdmHeight: return m_size.height();
    case PdmWidthMM: return qRound(m_size.width() * 25.4 / 96);
    case PdmHeightMM: return qRound(m_size.height() * 25.4 / 96);
    case PdmNumColors: return 0x7fffffff;
    case PdmDepth: return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return 96;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
    }
    return 0;
}

} // namespace quor
