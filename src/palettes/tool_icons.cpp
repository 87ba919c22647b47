// Pictures of the tool buttons, drawn rather than loaded so they stay crisp
// at any screen scale.
#include "palettes/tool_buttons.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

namespace quor {

namespace {

constexpr qreal Scale = 2; // drawn at twice the size for sharp scaling

const QColor ink(32, 32, 32);
const QColor deep(30, 70, 160);
const QColor light(235, 242, 255);

QPen inkPen(qreal width = 1.3)
{
    QPen p(ink, width);
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

// Drawing area of an icon in logical units: a 24 x 14 box centred.
QRectF area(QSize s)
{
    const qreal w = 24, h = 14;
    return {(s.width() - w) / 2, (s.height() - h) / 2, w, h};
}

void drawIcon(QPainter &p, int command, QRectF r)
{
    const QPointF c = r.center();
    switch (command) {
    case 1: { // select: a dashed frame
        QPen pen = inkPen(1);
        pen.setDashPattern({2, 2});
        p.setPen(pen);
        p.drawRect(r.adjusted(1.5, 1.5, -1.5, -1.5));
        break;
    }
    case 2: // straight line
        p.setPen(inkPen(1.6));
        p.drawLine(r.bottomLeft() + QPointF(2, -1), r.topRight() + QPointF(-2, 1));
        break;
    case 3: // ellipse
        p.setPen(inkPen());
        p.drawEllipse(r.adjusted(1, 1, -1, -1));
        break;
    case 4: // rectangle
        p.setPen(inkPen());
        p.drawRect(r.adjusted(3, 1, -3, -1));
        break;
    case 5: { // polyline with its corners
        const QPointF pts[] = {r.bottomLeft() + QPointF(1, -1), r.topLeft() + QPointF(7, 2),
                               r.bottomLeft() + QPointF(14, -3), r.topRight() + QPointF(-1, 1)};
        p.setPen(inkPen());
        p.drawPolyline(pts, 4);
        p.setBrush(ink);
        for (QPointF pt : pts)
            p.drawEllipse(pt, 1.2, 1.2);
        break;
    }
    case 6: { // freehand stroke
        QPainterPath path(r.bottomLeft() + QPointF(1, -3));
        path.cubicTo(r.left() + 6, r.top() - 4, r.left() + 10, r.bottom() + 4, c.x() + 2, c.y());
        path.cubicTo(c.x() + 5, r.top() - 2, r.right() - 2, r.top() + 4, r.right() - 1, r.bottom() - 1);
        p.setPen(inkPen(1.5));
        p.drawPath(path);
        break;
    }
    case 7: { // gradient ellipse
        QRadialGradient g(c, r.width() / 2);
        g.setColorAt(0, deep);
        g.setColorAt(1, light);
        p.setBrush(g);
        p.setPen(inkPen(1));
        p.drawEllipse(r.adjusted(1, 1, -1, -1));
        break;
    }
    case 8: { // gradient rectangle, from the border in
        const QRectF box = r.adjusted(3, 0.5, -3, -0.5);
        for (int i = 0; i < 7; ++i) {
            const qreal t = i / 6.0;
            const QColor col = QColor::fromRgbF(light.redF() + t * (deep.redF() - light.redF()),
                                                light.greenF() + t * (deep.greenF() - light.greenF()),
                                                light.blueF() + t * (deep.blueF() - light.blueF()));
            p.setPen(Qt::NoPen);
            p.setBrush(col);
            p.drawRect(box.adjusted(i, i * 0.9, -i, -i * 0.9));
        }
        p.setBrush(Qt::NoBrush);
        p.setPen(inkPen(1));
        p.drawRect(box);
        break;
    }
    case 9: { // star dots
        const QPointF dots[] = {{3, 3}, {8, 9}, {12, 2}, {15, 11}, {20, 5}, {6, 12}, {18, 1.5},
                                {22, 11}, {11, 6.5}};
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        for (QPointF d : dots)
            p.drawEllipse(r.topLeft() + d, 1.1, 1.1);
        break;
    }
    case 10: { // arc over its diameter
        QPen dashed = inkPen(0.8);
        dashed.setDashPattern({1.5, 2});
        p.setPen(dashed);
        p.drawLine(QPointF(r.left() + 2, r.bottom() - 1), QPointF(r.right() - 2, r.bottom() - 1));
        p.setPen(inkPen(1.5));
        p.drawArc(QRectF(r.left() + 2, r.top() + 1, r.width() - 4, 2 * (r.height() - 2)), 0,
                  180 * 16);
        break;
    }
    case 11: { // gradient rectangle, across
        QLinearGradient g(r.topLeft(), r.topRight());
        g.setColorAt(0, light);
        g.setColorAt(1, deep);
        p.setBrush(g);
        p.setPen(inkPen(1));
        p.drawRect(r.adjusted(2, 1, -2, -1));
        break;
    }
    case 14: { // sector
        const qreal radius = r.height() - 1;
        p.setPen(inkPen());
        p.drawPie(QRectF(c.x() - radius, r.bottom() - radius, 2 * radius, 2 * radius), 35 * 16,
                  110 * 16);
        break;
    }
    case 15: { // gradient arc band
        const QRectF outer(c.x() - 11, r.top(), 22, 2 * r.height() - 1);
        QPainterPath band;
        band.arcMoveTo(outer, 0);
        band.arcTo(outer, 0, 180);
        const QRectF inner = outer.adjusted(5, 5, -5, -5);
        band.arcTo(inner, 180, -180);
        band.closeSubpath();
        QConicalGradient g(outer.center(), 0);
        g.setColorAt(0, deep);
        g.setColorAt(0.5, light);
        g.setColorAt(1, deep);
        p.setBrush(g);
        p.setPen(inkPen(1));
        p.drawPath(band);
        break;
    }
    case 16: { // gradient sector
        const qreal radius = r.height() - 1;
        const QRectF box(c.x() - radius, r.bottom() - radius, 2 * radius, 2 * radius);
        QConicalGradient g(box.center(), 35);
        g.setColorAt(0, deep);
        g.setColorAt(110 / 720.0, light);
        g.setColorAt(110 / 360.0, deep);
        p.setBrush(g);
        p.setPen(inkPen(1));
        p.drawPie(box, 35 * 16, 110 * 16);
        break;
    }
    case 13: { // text
        QFont f = p.font();
        f.setPixelSize(13);
        f.setBold(true);
        f.setFamily(QStringLiteral("Serif"));
        p.setFont(f);
        p.setPen(ink);
        p.drawText(r.adjusted(0, -2, 0, 2), Qt::AlignCenter, QStringLiteral("A"));
        p.setPen(inkPen(1));
        p.drawLine(QPointF(r.right() - 5, r.top()), QPointF(r.right() - 5, r.bottom()));
        break;
    }
    case 12: { // zoom: a magnifying glass
        const QPointF lens(c.x() - 2, c.y() - 1.5);
        p.setPen(inkPen(1.3));
        p.setBrush(light);
        p.drawEllipse(lens, 5, 5);
        p.setPen(inkPen(2.4));
        p.drawLine(lens + QPointF(3.8, 3.8), lens + QPointF(8, 7.5));
        break;
    }
    default:
        break;
    }
}

QPixmap canvasFor(QSize size)
{
    QPixmap pm(size * Scale);
    pm.setDevicePixelRatio(Scale);
    pm.fill(Qt::transparent);
    return pm;
}

} // namespace

QIcon toolIcon(int command, QSize size)
{
    QPixmap pm = canvasFor(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    drawIcon(p, command, area(size));
    p.end();
    return QIcon(pm);
}

QPixmap toolMarkerPixmap(QSize size)
{
    // A red corner flag pointing at the chosen button's picture.
    QPixmap pm = canvasFor(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width(), h = size.height();
    const QPointF tri[] = {{w, 0}, {w, h}, {0, h}};
    p.setPen(QPen(QColor(120, 0, 0), 0.8));
    p.setBrush(QColor(220, 30, 30));
    p.drawPolygon(tri, 3);
    return pm;
}

} // namespace quor
