#include "app/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace quor {

void paintQuorIcon(QPainter &p, int size)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    // The palette board with a thumb hole.
    QPainterPath board;
    board.addEllipse(QRectF(2, 5, 27, 22));
    QPainterPath hole;
    hole.addEllipse(QRectF(17, 17, 6, 5));
    p.setPen(QPen(QColor(120, 80, 40), 1.2));
    p.setBrush(QColor(236, 200, 150));
    p.drawPath(board.subtracted(hole));
    // Paint blobs.
    const QColor blobs[] = {QColor(220, 30, 30), QColor(250, 200, 0), QColor(30, 150, 60),
                            QColor(30, 80, 220)};
    const QPointF at[] = {{8, 11}, {14, 9}, {20, 10}, {8, 19}};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        p.setBrush(blobs[i]);
        p.drawEllipse(at[i], 2.6, 2.6);
    }
    // The brush across it.
    p.setPen(QPen(QColor(90, 50, 20), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(29, 2), QPointF(17, 16));
    p.setPen(QPen(QColor(40, 40, 40), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(17, 16), QPointF(14.5, 19));
}

namespace {

QPixmap drawIcon(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    paintQuorIcon(p, size);
    return pm;
}

} // namespace

QIcon quorIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64})
        icon.addPixmap(drawIcon(size));
    return icon;
}

} // namespace quor
