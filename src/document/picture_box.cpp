#include "document/picture_box.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <cmath>
#include <iterator>

namespace quor {

int twipsToPixels(double twips)
{
    return int(std::floor(twips / CanvasSurface::TwipsPerPixel));
}

double pixelsToTwips(int px)
{
    return double(px) * CanvasSurface::TwipsPerPixel;
}

int scaledTwipsToPixels(double twips, int percent)
{
    return twipsToPixels(percent == 100 ? twips : twips * percent / 100.0);
}

int nextViewScale(int percent, int direction)
{
    if (direction > 0) {
        for (int s : ViewScales)
            if (s > percent)
                return s;
        return ViewScales[std::size(ViewScales) - 1];
    }
    for (auto it = std::rbegin(ViewScales); it != std::rend(ViewScales); ++it)
        if (*it < percent)
            return *it;
    return ViewScales[0];
}

namespace {

// Integer division rounding down, for positions left of or above a box.
long long floorDiv(long long a, long long b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// Widget pixels showing `px` picture pixels at a scale, a part pixel whole.
int scaledExtent(int px, int percent)
{
    return int((static_cast<long long>(px) * percent + 99) / 100);
}

// The picture pixel under the middle of widget pixel `x` at a scale: the
// one a smaller view shows there, the one whose block holds it in a larger.
int picturePixel(int x, int percent)
{
    return percent == 100 ? x : int(floorDiv((2LL * x + 1) * 100, 2LL * percent));
}

// The first picture pixel whose block reaches widget pixel `x`.
int firstPixelAt(int x, int percent)
{
    return int(floorDiv(static_cast<long long>(x) * 100, percent));
}

} // namespace

OverlayShape::OverlayShape(Kind kind, const QString &name, PictureBox *box)
    : QObject(box), m_box(box), m_kind(kind)
{
    setObjectName(name);
}

void OverlayShape::setVisible(bool v)
{
    if (m_visible == v)
        return;
    m_visible = v;
    m_box->update(area());
}

void OverlayShape::repaint(const QRegion &before)
{
    if (m_visible)
        m_box->update(before + area());
}

void OverlayShape::moveTwips(double a, double b, double c, double d)
{
    const QRegion before = m_visible ? area() : QRegion();
    m_a = a;
    m_b = b;
    m_c = c;
    m_d = d;
    repaint(before);
}

void OverlayShape::setBorderColor(Colour c)
{
    m_colour = c;
    repaint({});
}

void OverlayShape::setDotted(bool d)
{
    m_dotted = d;
    repaint({});
}

QRegion OverlayShape::area() const
{
    // A pixel of slack on each side of the one-pixel pen.
    QRegion r;
    const int scale = m_box->viewScale();
    auto px = [scale](double twips) { return scaledTwipsToPixels(twips, scale); };
    if (m_kind == Rectangle) {
        const int l = px(m_a), t = px(m_b);
        const int w = std::max(1, px(m_c)), h = std::max(1, px(m_d));
        r += QRect(l - 1, t - 1, w + 2, 3);
        r += QRect(l - 1, t + h - 2, w + 2, 3);
        r += QRect(l - 1, t - 1, 3, h + 2);
        r += QRect(l + w - 2, t - 1, 3, h + 2);
        return r;
    }
    // A long slanting line as a chain of small boxes, not one large one.
    const QPoint p1(px(m_a), px(m_b));
    const QPoint p2(px(m_c), px(m_d));
    const QPoint d = p2 - p1;
    const int pieces = std::max(1, std::max(std::abs(d.x()), std::abs(d.y())) / 32);
    QPoint from = p1;
    for (int i = 1; i <= pieces; ++i) {
        const QPoint to = p1 + d * i / pieces;
        r += QRect(from, to).normalized().adjusted(-1, -1, 1, 1);
        from = to;
    }
    return r;
}

QTimer *blinkTimer(const char *name, OverlayShape *a, OverlayShape *b, QObject *parent)
{
    auto *t = new QTimer(parent);
    t->setObjectName(QLatin1String(name));
    t->setInterval(100);
    QObject::connect(t, &QTimer::timeout, parent, [a, b] {
        a->setVisible(!a->isVisible());
        b->setVisible(!b->isVisible());
    });
    return t;
}

PictureBox::PictureBox(const QString &name, QWidget *parent)
    : QWidget(parent), m_own(std::make_unique<CanvasSurface>()), m_surface(m_own.get())
{
    setObjectName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_surface->setDamageListener([this](const QRect &r) { updatePixels(r); });
    applyGeometry(true);
}

PictureBox::PictureBox(const QString &name, CanvasSurface &shown, QWidget *parent)
    : QWidget(parent), m_surface(&shown)
{
    setObjectName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
    followSurface();
}

void PictureBox::followSurface()
{
    const double twips = CanvasSurface::TwipsPerPixel / m_surface->unit();
    const double w = m_surface->scaleWidth() * twips, h = m_surface->scaleHeight() * twips;
    const bool sizeChanged = w != m_width || h != m_height;
    m_width = w;
    m_height = h;
    placeWidget();
    if (sizeChanged)
        emit resized();
}

void PictureBox::moveTwips(double left, double top)
{
    moveTwips(left, top, m_width, m_height);
}

void PictureBox::moveTwips(double left, double top, double width, double height)
{
    const bool sizeChanged = width != m_width || height != m_height;
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    applyGeometry(sizeChanged);
}

void PictureBox::applyGeometry(bool sizeChanged)
{
    if (sizeChanged) {
        const double unit = m_surface->unit();
        m_surface->setScaleSize(m_width / CanvasSurface::TwipsPerPixel * unit,
                               m_height / CanvasSurface::TwipsPerPixel * unit);
    }
    placeWidget();
    if (sizeChanged)
        emit resized();
}

void PictureBox::placeWidget()
{
    const int placed = placementScale(), shown = viewScale();
    const QSize size = m_screenSize.isValid()
                           ? m_screenSize
                           : QSize(std::max(scaledExtent(m_surface->widthPx(), shown), m_minimumPixels.width()),
                                   std::max(scaledExtent(m_surface->heightPx(), shown), m_minimumPixels.height()));
    setGeometry(QRect(QPoint(scaledTwipsToPixels(m_left, placed), scaledTwipsToPixels(m_top, placed)), size));
}

int PictureBox::placementScale() const
{
    const auto *parentBox = qobject_cast<const PictureBox *>(parentWidget());
    return parentBox ? parentBox->viewScale() : 100;
}

int PictureBox::viewScale() const
{
    const auto *parentBox = qobject_cast<const PictureBox *>(parentWidget());
    return parentBox ? parentBox->viewScale() : m_viewScale;
}

void PictureBox::setViewScale(int percent)
{
    if (percent == m_viewScale)
        return;
    m_viewScale = percent;
    placeWidget();
    for (QObject *o : children())
        if (auto *box = qobject_cast<PictureBox *>(o))
            box->placeWidget();
    update();
}

void PictureBox::updatePixels(const QRect &r)
{
    const int scale = viewScale();
    if (scale == 100) {
        update(r);
        return;
    }
    const int left = int(floorDiv(static_cast<long long>(r.left()) * scale, 100));
    const int top = int(floorDiv(static_cast<long long>(r.top()) * scale, 100));
    update(QRect(left, top, scaledExtent(r.right() + 1, scale) - left,
                 scaledExtent(r.bottom() + 1, scale) - top));
}

void PictureBox::setMinimumPixelSize(QSize size)
{
    m_minimumPixels = size;
    applyGeometry(false);
}

void PictureBox::setScreenSize(QSize size)
{
    m_screenSize = size;
    applyGeometry(false);
}

void PictureBox::setPicture(const QImage &img)
{
    m_surface->setPicture(img);
    m_width = pixelsToTwips(m_surface->widthPx());
    m_height = pixelsToTwips(m_surface->heightPx());
    placeWidget();
    emit resized();
}

void PictureBox::paintEvent(QPaintEvent *e)
{
    QPainter p(this);
    const QRect r = e->rect();
    const int scale = viewScale();
    const QImage &img = m_surface->image();
    const QRect shown(0, 0, scaledExtent(img.width(), scale), scaledExtent(img.height(), scale));
    if (!shown.contains(r))
        p.fillRect(r, toQColor(m_surface->backColor()));
    if (scale == 100)
        p.drawImage(r.topLeft(), img, r);
    else
        paintScaled(p, r & shown, scale);
    auto px = [scale](double twips) { return scaledTwipsToPixels(twips, scale); };
    for (QObject *o : children()) {
        auto *s = qobject_cast<OverlayShape *>(o);
        if (!s || !s->isVisible())
            continue;
        QPen pen(toQColor(s->borderColor()));
        pen.setWidth(0);
        if (s->dotted())
            pen.setStyle(Qt::DotLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        if (s->kind() == OverlayShape::Rectangle) {
            const int l = px(s->a()), t = px(s->b());
            const int w = std::max(1, px(s->c())), h = std::max(1, px(s->d()));
            p.drawRect(l, t, w - 1, h - 1);
        } else {
            p.drawLine(px(s->a()), px(s->b()), px(s->c()), px(s->d()));
        }
    }
}

// Only the picture pixels under the damaged rectangle are scaled, so a
// repaint costs what the screen shows, not what the picture holds.
void PictureBox::paintScaled(QPainter &p, const QRect &r, int percent)
{
    if (r.isEmpty())
        return;
    const QImage &img = m_surface->image();
    const int x0 = firstPixelAt(r.left(), percent), y0 = firstPixelAt(r.top(), percent);
    // Up to the first pixel whose block starts at or past the far edge.
    const int x1 = std::min(img.width(), -firstPixelAt(-(r.right() + 1), percent));
    const int y1 = std::min(img.height(), -firstPixelAt(-(r.bottom() + 1), percent));
    const double k = percent / 100.0;
    const QRectF target(x0 * k, y0 * k, (x1 - x0) * k, (y1 - y0) * k);
    p.save();
    p.setClipRect(r);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false); // sharp pixel blocks
    p.drawImage(target, img, QRectF(x0, y0, x1 - x0, y1 - y0));
    if (m_pixelGrid && percent >= 600) {
        // A line along the top and left edge of every pixel, half covering.
        QVector<QLine> lines;
        lines.reserve((x1 - x0) + (y1 - y0));
        const int left = scaledExtent(x0, percent), right = scaledExtent(x1, percent) - 1;
        const int top = scaledExtent(y0, percent), bottom = scaledExtent(y1, percent) - 1;
        for (int x = x0; x < x1; ++x)
            lines.append(QLine(x * percent / 100, top, x * percent / 100, bottom));
        for (int y = y0; y < y1; ++y)
            lines.append(QLine(left, y * percent / 100, right, y * percent / 100));
        p.setPen(QPen(QColor(128, 128, 128, 128), 0));
        p.drawLines(lines);
    }
    p.restore();
}

CanvasEvent PictureBox::canvasEvent(const QMouseEvent *e, Qt::MouseButtons buttons) const
{
    const QPoint p = e->position().toPoint();
    const double unit = m_surface->unit();
    const int scale = viewScale();
    // Middle, back and forward buttons count only to spoil a chord.
    return {buttons, e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier),
            picturePixel(p.x(), scale) * unit, picturePixel(p.y(), scale) * unit};
}

void PictureBox::mousePressEvent(QMouseEvent *e)
{
    // All held buttons: a chord is no left press, which no tool acts on.
    emit pressed(canvasEvent(e, e->buttons() | e->button()));
}

void PictureBox::mouseMoveEvent(QMouseEvent *e)
{
    emit moved(canvasEvent(e, e->buttons()));
}

void PictureBox::mouseReleaseEvent(QMouseEvent *e)
{
    // The button released, whatever else is still held: releasing the left
    // button with the right one down still ends a left-button gesture.
    emit released(canvasEvent(e, e->button()));
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent *e)
{
    // The second press of a double click reaches the tools as a double
    // click only; its release still comes as a release.
    if (e->button() == Qt::LeftButton)
        emit doubleClicked();
    else
        mousePressEvent(e);
}

} // namespace quor
