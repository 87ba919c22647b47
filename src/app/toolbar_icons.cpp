#include "app/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>
#include <QStandardPaths>

#include <cmath>

namespace quor {

namespace {

// Every drawing works on a 24 x 24 grid; lines one unit wide sit on half
// units so they stay sharp at 24 pixels.
using Draw = void (*)(QPainter &);

const QColor ink(0x2e, 0x34, 0x36);
const QColor grey(0x88, 0x8a, 0x85);
const QColor blue(0x34, 0x65, 0xa4);
const QColor sky(0x72, 0x9f, 0xcf);
const QColor paper(0xff, 0xff, 0xff);

void outlined(QPainter &p, const QColor &fill, const QColor &line = ink)
{
    p.setPen(QPen(line, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(fill);
}

void polygon(QPainter &p, std::initializer_list<QPointF> points, const QColor &fill)
{
    outlined(p, fill, fill == sky ? blue : ink);
    p.drawPolygon(QPolygonF(QList<QPointF>(points)));
}

void arrowHead(QPainter &p, QPointF tip, QPointF dir)
{
    const double len = std::hypot(dir.x(), dir.y());
    const QPointF d = dir / len;
    const QPointF n(-d.y(), d.x());
    const QPointF base = tip - d * 4.0;
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPolygon(QPolygonF({tip, base + n * 2.8, base - n * 2.8}));
}

// A line with a head at both ends.
void doubleArrow(QPainter &p, QPointF a, QPointF b)
{
    const QPointF d = b - a;
    const QPointF u = d / std::hypot(d.x(), d.y());
    p.setPen(QPen(ink, 1.5));
    p.drawLine(a + u * 3.0, b - u * 3.0);
    arrowHead(p, b, d);
    arrowHead(p, a, -d);
}

void axis(QPainter &p, QPointF a, QPointF b)
{
    QPen pen(grey, 1);
    pen.setDashPattern({2, 1.5});
    p.setPen(pen);
    p.drawLine(a, b);
}

// Flips: a solid picture, its mirror image as a pale ghost, the axis.
void drawFlipVertical(QPainter &p)
{
    axis(p, {1, 11.5}, {17, 11.5});
    polygon(p, {{3.5, 2.5}, {3.5, 9.5}, {15.5, 9.5}}, blue);
    polygon(p, {{3.5, 20.5}, {3.5, 13.5}, {15.5, 13.5}}, sky);
    doubleArrow(p, {20, 2}, {20, 21});
}

void drawFlipHorizontal(QPainter &p)
{
    axis(p, {11.5, 7}, {11.5, 23});
    polygon(p, {{2.5, 21.5}, {9.5, 21.5}, {9.5, 9.5}}, blue);
    polygon(p, {{20.5, 21.5}, {13.5, 21.5}, {13.5, 9.5}}, sky);
    doubleArrow(p, {2, 4}, {21, 4});
}

// The diagonal flip is a half turn: the picture and its copy turned about
// the centre, with two turning arrows.
void drawHalfTurn(QPainter &p)
{
    polygon(p, {{2.5, 2.5}, {10.5, 2.5}, {2.5, 10.5}}, blue);
    polygon(p, {{21.5, 21.5}, {13.5, 21.5}, {21.5, 13.5}}, sky);
    p.setPen(QPen(ink, 1.5));
    p.setBrush(Qt::NoBrush);
    const QRectF ring(3.5, 3.5, 17, 17);
    p.drawArc(ring, 85 * 16, -60 * 16);
    p.drawArc(ring, 265 * 16, -60 * 16);
    auto at = [](double deg) {
        const double r = deg * M_PI / 180;
        return QPointF(12 + 8.5 * std::cos(r), 12 - 8.5 * std::sin(r));
    };
    auto clockwise = [](double deg) {
        const double r = deg * M_PI / 180;
        return QPointF(std::sin(r), std::cos(r));
    };
    arrowHead(p, at(25) + clockwise(25) * 3, clockwise(25));
    arrowHead(p, at(205) + clockwise(205) * 3, clockwise(205));
}

// Background colour: the coloured square lies behind a plain one.
void drawBackColour(QPainter &p)
{
    outlined(p, blue);
    p.drawRect(QRectF(8.5, 8.5, 13, 13));
    outlined(p, paper);
    p.drawRect(QRectF(2.5, 2.5, 12, 12));
}

// Foreground colour: a letter over a red bar.
void drawForeColour(QPainter &p)
{
    QPainterPath a;
    a.setFillRule(Qt::OddEvenFill);
    a.addPolygon(QPolygonF({{4, 16}, {10.5, 1.5}, {13.5, 1.5}, {20, 16}, {16.8, 16},
                            {15.3, 12.3}, {8.7, 12.3}, {7.2, 16}, {4, 16}}));
    a.addPolygon(QPolygonF({{9.7, 9.8}, {14.3, 9.8}, {12, 4.3}, {9.7, 9.8}}));
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(a);
    outlined(p, QColor(0xef, 0x29, 0x29), QColor(0xa4, 0, 0));
    p.drawRect(QRectF(2.5, 18.5, 19, 4));
}

// Soften: a blot whose edge fades away.
void drawSoften(QPainter &p)
{
    QRadialGradient g(QPointF(12, 12), 11);
    g.setColorAt(0, blue);
    g.setColorAt(0.4, QColor(blue.red(), blue.green(), blue.blue(), 220));
    g.setColorAt(1, QColor(blue.red(), blue.green(), blue.blue(), 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(QPointF(12, 12), 11, 11);
}

// Sharpen: a four-pointed star, half black and half white, hard edged.
void drawSharpen(QPainter &p)
{
    QPolygonF star;
    for (int i = 0; i < 8; ++i) {
        const double r = i % 2 ? 2.8 : 10.5;
        const double t = i * M_PI / 4;
        star << QPointF(12 + r * std::sin(t), 12 - r * std::cos(t));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(paper);
    p.drawPolygon(star);
    p.save();
    p.setClipRect(QRectF(0, 0, 12, 24));
    p.setBrush(ink);
    p.drawPolygon(star);
    p.restore();
    p.setPen(QPen(ink, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(star);
}

// Emboss: a grey tile with a raised disc, lit from the top left.
void drawEmboss(QPainter &p)
{
    const QColor light(0xee, 0xee, 0xec), stone(0xba, 0xbd, 0xb6), shade(0x55, 0x57, 0x53);
    p.setPen(Qt::NoPen);
    p.setBrush(stone);
    p.drawRect(QRectF(2, 2, 20, 20));
    p.setPen(QPen(light, 1.5));
    p.drawPolyline(QPolygonF({{2.75, 21.25}, {2.75, 2.75}, {21.25, 2.75}}));
    p.setPen(QPen(shade, 1.5));
    p.drawPolyline(QPolygonF({{3.5, 21.25}, {21.25, 21.25}, {21.25, 3.5}}));
    p.setPen(Qt::NoPen);
    p.setBrush(light);
    p.drawEllipse(QPointF(10.8, 10.8), 6, 6);
    p.setBrush(shade);
    p.drawEllipse(QPointF(13.2, 13.2), 6, 6);
    p.setBrush(stone);
    p.drawEllipse(QPointF(12, 12), 6, 6);
}

// Oil paint: a painter's palette with four blobs of paint.
void drawOilPaint(QPainter &p)
{
    QPainterPath board;
    board.addEllipse(QRectF(1.5, 4.5, 21, 15));
    QPainterPath thumb;
    thumb.addEllipse(QPointF(16, 14.5), 2.3, 2.3);
    outlined(p, QColor(0xe9, 0xb9, 0x6e), QColor(0x8f, 0x59, 0x02));
    p.drawPath(board.subtracted(thumb));
    const struct { QPointF at; QColor colour; } blobs[] = {
        {{6.5, 10.5}, QColor(0xcc, 0, 0)},
        {{11, 8}, QColor(0xed, 0xd4, 0)},
        {{16, 8.5}, blue},
        {{7.5, 15.5}, QColor(0x4e, 0x9a, 0x06)},
    };
    p.setPen(Qt::NoPen);
    for (const auto &b : blobs) {
        p.setBrush(b.colour);
        p.drawEllipse(b.at, 2.2, 2.2);
    }
}

// A document window: white body, blue title bar.
void window(QPainter &p, QRectF r)
{
    outlined(p, paper);
    p.drawRect(r);
    outlined(p, blue);
    p.drawRect(QRectF(r.x(), r.y(), r.width(), 4));
}

void drawMaximise(QPainter &p)
{
    window(p, {2.5, 2.5, 19, 19});
    doubleArrow(p, {5.5, 19}, {18.5, 8});
}

void drawSideBySide(QPainter &p)
{
    window(p, {1.5, 2.5, 9, 19});
    window(p, {13.5, 2.5, 9, 19});
}

void drawOneAboveAnother(QPainter &p)
{
    window(p, {2.5, 1.5, 19, 9});
    window(p, {2.5, 13.5, 19, 9});
}

void drawCascade(QPainter &p)
{
    for (double at : {2.5, 6.5, 10.5})
        window(p, {at, at, 11, 11});
}

// Fill: a tipped paint can pouring a drop of paint.
void drawFill(QPainter &p)
{
    p.save();
    p.translate(10, 12);
    p.rotate(-35);
    outlined(p, paper);
    p.drawRect(QRectF(-5.5, -5.5, 11, 12));
    outlined(p, sky, blue);
    p.drawEllipse(QRectF(-5.5, -7.5, 11, 4));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 1));
    p.drawArc(QRectF(-4, -12, 8, 9), 0, 180 * 16);
    p.restore();
    QPainterPath pour;
    pour.moveTo(13.5, 6);
    pour.cubicTo(18, 5, 20.5, 8, 20.5, 13);
    pour.cubicTo(22.5, 16, 22.5, 19.5, 20.5, 19.5);
    pour.cubicTo(18.5, 19.5, 18.5, 16, 19.5, 13);
    pour.cubicTo(19, 9.5, 17, 8, 14.5, 8.5);
    pour.closeSubpath();
    outlined(p, blue, blue);
    p.drawPath(pour);
}

// Colour picker: a pipette held slanting, a drop of colour at its tip.
void drawPicker(QPainter &p)
{
    p.save();
    p.translate(12, 12);
    p.rotate(45);
    outlined(p, ink);
    p.drawRoundedRect(QRectF(-2.5, -11.5, 5, 6), 1.5, 1.5);
    p.drawRect(QRectF(-3.5, -5.5, 7, 1.5));
    outlined(p, paper);
    p.drawRect(QRectF(-1.5, -4, 3, 10));
    outlined(p, sky, blue);
    p.drawRect(QRectF(-1.5, 1, 3, 5));
    p.setPen(QPen(ink, 1));
    p.drawLine(QPointF(0, 6), QPointF(0, 9.5));
    p.restore();
    p.setPen(Qt::NoPen);
    p.setBrush(blue);
    p.drawEllipse(QPointF(4, 20.5), 2, 2);
}

// One drawing on the 24-unit grid, rendered at each toolbar size.
template <typename Drawing>
QIcon atEverySize(const Drawing &draw)
{
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(size / 24.0, size / 24.0);
        draw(p);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

// Stand-in for a theme picture the theme lacks: a tile with one character.
QIcon lettered(const QString &letter)
{
    return atEverySize([&letter](QPainter &p) {
        outlined(p, blue, QColor(0x20, 0x4a, 0x87));
        p.drawRoundedRect(QRectF(1.5, 1.5, 21, 21), 4, 4);
        QFont f;
        f.setPixelSize(15);
        f.setBold(true);
        p.setFont(f);
        p.setPen(paper);
        p.drawText(QRectF(0, 0, 24, 24), Qt::AlignCenter, letter);
    });
}

struct IconRow
{
    const char *imageKey;
    const char *themeName; // nullptr: always our own drawing
    const char *letter;    // stand-in when the theme lacks the picture
    Draw draw;
};

const IconRow icons[] = {
    {"New", "document-new", "新", nullptr},
    {"Open", "document-open", "开", nullptr},
    {"Save", "document-save", "存", nullptr},
    {"Print", "document-print", "印", nullptr},
    {"Properties", "document-properties", "属", nullptr},
    {"Copy", "edit-copy", "复", nullptr},
    {"Paste", "edit-paste", "贴", nullptr},
    {"chuizhi", nullptr, nullptr, drawFlipVertical},
    {"shuiping", nullptr, nullptr, drawFlipHorizontal},
    {"duijiao", nullptr, nullptr, drawHalfTurn},
    {"Landscap", "preferences-desktop-font", "字", nullptr},
    {"backcolor", nullptr, nullptr, drawBackColour},
    {"WORDCOLOR", nullptr, nullptr, drawForeColour},
    {"rouhua", nullptr, nullptr, drawSoften},
    {"ruihua", nullptr, nullptr, drawSharpen},
    {"fudiao", nullptr, nullptr, drawEmboss},
    {"youhua1", nullptr, nullptr, drawOilPaint},
    {"heng", nullptr, nullptr, drawSideBySide},
    {"max", nullptr, nullptr, drawMaximise},
    {"shu", nullptr, nullptr, drawOneAboveAnother},
    {"ceng", nullptr, nullptr, drawCascade},
    {"Help", "help-browser", "?", nullptr},
    {"Fill", nullptr, nullptr, drawFill},
    {"Picker", nullptr, nullptr, drawPicker},
};

const IconRow *findRow(const QString &imageKey)
{
    for (const IconRow &row : icons)
        if (imageKey == QLatin1String(row.imageKey))
            return &row;
    return nullptr;
}

} // namespace

void ensureIconTheme()
{
    // Platforms without a desktop theme look for icons in Qt's resources
    // only; the desktop's icon folders belong on the search path as well.
    QStringList paths = QIcon::themeSearchPaths();
    const QStringList desktop = QStandardPaths::locateAll(
        QStandardPaths::GenericDataLocation, QStringLiteral("icons"), QStandardPaths::LocateDirectory);
    for (const QString &dir : desktop)
        if (!paths.contains(dir))
            paths << dir;
    QIcon::setThemeSearchPaths(paths);
    if (QIcon::fallbackThemeName().isEmpty())
        QIcon::setFallbackThemeName(QStringLiteral("hicolor"));
    const QString name = QIcon::themeName();
    if (name.isEmpty() || name == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
}

bool isThemeIcon(const QString &imageKey)
{
    const IconRow *row = findRow(imageKey);
    return row && row->themeName;
}

QIcon toolbarIcon(const QString &imageKey)
{
    const IconRow *row = findRow(imageKey);
    if (!row)
        return {};
    if (!row->themeName)
        return atEverySize(row->draw);
    const QIcon themed = QIcon::fromTheme(QLatin1String(row->themeName));
    if (!themed.isNull() && !themed.availableSizes().isEmpty())
        return themed;
    return lettered(QString::fromUtf8(row->letter));
}

} // namespace quor
