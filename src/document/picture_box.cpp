#include "document/picture_box.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace quor {

int twipsToPixels(double twips)
{
    return int(std::floor(twips / CanvasSurface::TwipsPerPixel));
}

double pixelsToTwips(int px)
{
    return double(px) * CanvasSurface::TwipsPerPixel;
}

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

void OverlayShape::Move(double a, double b, double c, double d)
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
    if (m_kind == Rectangle) {
        const int l = twipsToPixels(m_a), t = twipsToPixels(m_b);
        const int w = std::max(1, twipsToPixels(m_c)), h = std::max(1, twipsToPixels(m_d));
        r += QRect(l - 1, t - 1, w + 2, 3);
        r += QRect(l - 1, t + h - 2, w + 2, 3);
        r += QRect(l - 1, t - 1, 3, h + 2);
        r += QRect(l + w - 2, t - 1, 3, h + 2);
        return r;
    }
    // A long slanting line as a chain of small boxes, not one large one.
    const QPoint p1(twipsToPixels(m_a), twipsToPixels(m_b));
    const QPoint p2(twipsToPixels(m_c), twipsToPixels(m_d));
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

PictureBox::PictureBox(const QString &name, QWidget *parent)
    : QWidget(parent), m_own(std::make_unique<CanvasSurface>()), m_surface(m_own.get())
{
    setObjectName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_surface->setDamageListener([this](const QRect &r) { update(r); });
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
    setGeometry(twipsToPixels(m_left), twipsToPixels(m_top),
                std::max(m_surface->widthPx(), m_minimumPixels.width()),
                std::max(m_surface->heightPx(), m_minimumPixels.height()));
    if (sizeChanged)
        emit Resize();
}

void PictureBox::Move(double left, double top)
{
    Move(left, top, m_width, m_height);
}

void PictureBox::Move(double left, double top, double width, double height)
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
    setGeometry(twipsToPixels(m_left), twipsToPixels(m_top),
                std::max(m_surface->widthPx(), m_minimumPixels.width()),
                std::max(m_surface->heightPx(), m_minimumPixels.height()));
    if (sizeChanged)
        emit Resize();
}

void PictureBox::setMinimumPixelSize(QSize size)
{
    m_minimumPixels = size;
    applyGeometry(false);
}

void PictureBox::setPicture(const QImage &img)
{
    m_surface->setPicture(img);
    m_width = pixelsToTwips(m_surface->widthPx());
    m_height = pixelsToTwips(m_surface->heightPx());
    setGeometry(twipsToPixels(m_left), twipsToPixels(m_top),
                std::max(m_surface->widthPx(), m_minimumPixels.width()),
                std::max(m_surface->heightPx(), m_minimumPixels.height()));
    emit Resize();
}

void PictureBox::paintEvent(QPaintEvent *e)
{
    QPainter p(this);
    const QRect r = e->rect();
    if (!m_surface->image().rect().contains(r))
        p.fillRect(r, toQColor(m_surface->backColor()));
    p.drawImage(r.topLeft(), m_surface->image(), r);
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
            const int l = twipsToPixels(s->a()), t = twipsToPixels(s->b());
            const int w = std::max(1, twipsToPixels(s->c())), h = std::max(1, twipsToPixels(s->d()));
            p.drawRect(l, t, w - 1, h - 1);
        } else {
            p.drawLine(twipsToPixels(s->a()), twipsToPixels(s->b()), twipsToPixels(s->c()),
                       twipsToPixels(s->d()));
        }
    }
}

static int buttonMask(Qt::MouseButtons b)
{
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0)
        | (b & Qt::MiddleButton ? 4 : 0);
}

static int shiftMask(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0)
        | (m & Qt::AltModifier ? 4 : 0);
}

void PictureBox::emitMouse(QMouseEvent *e, int button,
                           void (PictureBox::*sig)(int, int, double, double))
{
    const QPoint p = e->position().toPoint();
    const double unit = m_surface->unit();
    emit(this->*sig)(button, shiftMask(e->modifiers()), p.x() * unit, p.y() * unit);
}

void PictureBox::mousePressEvent(QMouseEvent *e)
{
    // All held buttons: a chord reads as 3, which no tool acts on.
    emitMouse(e, buttonMask(e->buttons() | e->button()), &PictureBox::MouseDown);
}

void PictureBox::mouseMoveEvent(QMouseEvent *e)
{
    emitMouse(e, buttonMask(e->buttons()), &PictureBox::MouseMove);
}

void PictureBox::mouseReleaseEvent(QMouseEvent *e)
{
    // The button released, whatever else is still held: releasing the left
    // button with the right one down still ends a left-button gesture.
    emitMouse(e, buttonMask(e->button()), &PictureBox::MouseUp);
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent *e)
{
    // The second press of a double click reaches the tools as DblClick
    // only; its release still comes as MouseUp.
    if (e->button() == Qt::LeftButton)
        emit DblClick();
    else
        mousePressEvent(e);
}

} // namespace quor
