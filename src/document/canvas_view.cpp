#include "document/canvas_view.h"

#include "core/colour.h"
#include "document/model/document.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace quor {

namespace {

constexpr double ScrollBarThickness = 255;
constexpr double SizeHandleThickness = 25;

PictureBox *sizeHandle(const char *name, Qt::CursorShape cursor, QWidget *parent)
{
    auto *p = new PictureBox(QLatin1String(name), parent);
    p->setBackColor(0x808080);
    p->setCursor(cursor);
    p->setMinimumPixelSize({4, 4}); // something a pointer can hit
    return p;
}

// Twips from a widget's pixel extent.
double tw(int px) { return pixelsToTwips(px); }

// A dragged size: at least 1 twip, at most the largest canvas.
double clampExtent(double v, double most)
{
    return v <= 0 ? 1 : std::min(v, most);
}

} // namespace

CanvasView::CanvasView(Document &doc, QWidget *parent) : QWidget(parent), m_doc(doc)
{
    m_canvas = new PictureBox(QStringLiteral("Picture1"), doc.canvas(), this);
    m_canvas->setFocusPolicy(Qt::ClickFocus);
    m_canvas->setMouseTracking(true); // the pointer read-out follows a hovering pointer
    m_canvas->setAccessibleName(QStringLiteral("画布"));
    const auto describeCanvas = [this] {
        const CanvasSurface &c = m_doc.canvas();
        m_canvas->setAccessibleDescription(
            QStringLiteral("%1 × %2 像素").arg(c.widthPx()).arg(c.heightPx()));
    };
    describeCanvas();
    connect(m_canvas, &PictureBox::resized, this, describeCanvas);
    CanvasSurface &c = doc.canvas();
    c.setBackColor(fromQColor(palette().color(QPalette::Base)));
    c.setForeColor(fromQColor(palette().color(QPalette::Text)));

    m_canvas->setPixelGrid(true);
    m_frame = new SelectionFrame(m_canvas, doc.selection(), palette().color(QPalette::Base));
    m_frame->pictureBox()->setPixelGrid(true);
    m_runFrame = new OverlayShape(OverlayShape::Rectangle, QStringLiteral("hrunShape"),
                                  m_frame->pictureBox());
    m_runFrame->setBorderColor(rgbColour(255, 0, 0));
    m_runLine = new OverlayShape(OverlayShape::Line, QStringLiteral("hrunLine"), m_frame->pictureBox());
    m_runLine->setBorderColor(rgbColour(255, 0, 0));

    m_textMeasure = new QLabel(QStringLiteral("H"), m_canvas);
    m_textMeasure->setObjectName(QStringLiteral("hwordLabel"));
    m_textMeasure->setTextFormat(Qt::PlainText);
    m_textMeasure->hide();
    m_text = new TextEntryBox(m_textMeasure, m_canvas);
    m_text->setObjectName(QStringLiteral("hword"));
    m_text->setAccessibleName(QStringLiteral("文字输入框"));
    m_text->setFont(c.font());
    m_textMeasure->setFont(c.font());
    m_text->hide();

    m_blackGuide = new OverlayShape(OverlayShape::Line, QStringLiteral("huradiusLine1"), m_canvas);
    m_blackGuide->setBorderColor(0);
    m_whiteGuide = new OverlayShape(OverlayShape::Line, QStringLiteral("huradiusLine2"), m_canvas);
    m_whiteGuide->setBorderColor(0xffffff);
    m_guideTimer = blinkTimer("huradiusTimer", m_blackGuide, m_whiteGuide, this);

    m_vscroll = new QScrollBar(Qt::Vertical, this);
    m_vscroll->setObjectName(QStringLiteral("VScroll1"));
    m_vscroll->resize(twipsToPixels(ScrollBarThickness), 100);
    m_hscroll = new QScrollBar(Qt::Horizontal, this);
    m_hscroll->setObjectName(QStringLiteral("HScroll1"));
    m_hscroll->resize(100, twipsToPixels(ScrollBarThickness));
    m_vscroll->setAccessibleName(QStringLiteral("垂直滚动条"));
    m_hscroll->setAccessibleName(QStringLiteral("水平滚动条"));
    for (QScrollBar *bar : {m_vscroll, m_hscroll}) {
        bar->setRange(0, 0);
        bar->setFocusPolicy(Qt::NoFocus);
    }
    m_widthHandle = sizeHandle("widthsizePicture", Qt::SizeHorCursor, this);
    m_widthHandle->moveTwips(0, 0, SizeHandleThickness, 15);
    m_heightHandle = sizeHandle("heightasizePicture", Qt::SizeVerCursor, this);
    m_heightHandle->moveTwips(0, 0, 15, SizeHandleThickness);
    m_cornerHandle = sizeHandle("bothsizePicture", Qt::SizeFDiagCursor, this);
    m_cornerHandle->moveTwips(0, 0, SizeHandleThickness, SizeHandleThickness);
    m_widthHandle->setAccessibleName(QStringLiteral("画布宽度控点"));
    m_heightHandle->setAccessibleName(QStringLiteral("画布高度控点"));
    m_cornerHandle->setAccessibleName(QStringLiteral("画布尺寸控点"));

    connect(&doc, &Document::canvasDamaged, m_canvas, &PictureBox::updatePixels);
    connect(&doc, &Document::selectionDamaged, m_frame->pictureBox(), &PictureBox::updatePixels);
    connect(&doc, &Document::canvasResized, m_canvas, &PictureBox::followSurface);
    connect(&doc, &Document::selectionPlaced, this,
            [this] { m_frame->follow(m_doc.selectionPlace(), m_doc.selectionVisible()); });
    connect(m_vscroll, &QScrollBar::valueChanged, this, &CanvasView::verticalScrolled);
    connect(m_hscroll, &QScrollBar::valueChanged, this, &CanvasView::horizontalScrolled);
    connect(m_widthHandle, &PictureBox::moved, this,
            [this](const CanvasEvent &e) { resizeCanvasBy(e.x, 0, e); });
    connect(m_heightHandle, &PictureBox::moved, this,
            [this](const CanvasEvent &e) { resizeCanvasBy(0, e.y, e); });
    connect(m_cornerHandle, &PictureBox::moved, this,
            [this](const CanvasEvent &e) { resizeCanvasBy(e.x, e.y, e); });
}

void CanvasView::fitCanvas()
{
    m_canvas->moveTwips(0, 0, tw(width()) - ScrollBarThickness - SizeHandleThickness,
                        tw(height()) - ScrollBarThickness - SizeHandleThickness);
}

void CanvasView::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    layOut();
}

void CanvasView::layOut()
{
    const double sw = tw(width()), sh = tw(height());
    const double vh = sh - tw(m_hscroll->height());
    m_vscroll->setGeometry(twipsToPixels(sw - tw(m_vscroll->width())), 0, m_vscroll->width(),
                           twipsToPixels(vh > 30 ? vh : 30));
    const double hw = sw - tw(m_vscroll->width());
    m_hscroll->setGeometry(0, twipsToPixels(sh - tw(m_hscroll->height())),
                           twipsToPixels(hw > 30 ? hw : 30), m_hscroll->height());
    m_vscroll->raise();
    m_hscroll->raise();
    updateScrollRanges();
}

void CanvasView::updateScrollRanges()
{
    auto maxFor = [](double hidden, double offset) {
        return roundHalfEven(float(offset < hidden ? hidden / 20 : offset / 20));
    };
    const double sw = tw(width()), sh = tw(height());
    const double hiddenV = shown(m_canvas->heightTwips())
        - (sh - tw(m_hscroll->height()) - tw(m_heightHandle->height()));
    m_vscroll->setMaximum(std::max(0, maxFor(hiddenV, std::fabs(m_canvas->topTwips()))));
    const double hiddenH = shown(m_canvas->widthTwips())
        - (sw - tw(m_vscroll->width()) - tw(m_widthHandle->width()));
    m_hscroll->setMaximum(std::max(0, maxFor(hiddenH, std::fabs(m_canvas->leftTwips()))));
    // A click in the trough moves by what the window shows; an arrow by one
    // unit.
    m_vscroll->setPageStep(std::max(1, int((sh - tw(m_hscroll->height())) / 20)));
    m_hscroll->setPageStep(std::max(1, int((sw - tw(m_vscroll->width())) / 20)));
    m_vscroll->setSingleStep(1);
    m_hscroll->setSingleStep(1);
}

void CanvasView::wheelEvent(QWheelEvent *e)
{
    if (e->modifiers() & Qt::ControlModifier) {
        // Ctrl and the wheel zoom round the point under the pointer.
        const int notches = e->angleDelta().y();
        if (notches > 0)
            setViewScale(nextViewScale(m_viewScale, +1), e->position());
        else if (notches < 0)
            setViewScale(nextViewScale(m_viewScale, -1), e->position());
        e->accept();
        return;
    }
    // Qt's lines per notch times a 20-pixel line, as desktop programs
    // scroll; Shift (or a sideways wheel) scrolls across.
    const QPoint delta = e->angleDelta();
    const bool across = (e->modifiers() & Qt::ShiftModifier) || delta.x() != 0;
    const int eighths = across ? (delta.x() != 0 ? delta.x() : delta.y()) : delta.y();
    const double pixels = -eighths / 120.0 * QApplication::wheelScrollLines() * 20;
    QScrollBar *bar = across ? m_hscroll : m_vscroll;
    bar->setValue(bar->value() + int(std::lround(pixelsToTwips(1) * pixels / 20)));
    e->accept();
}

void CanvasView::placeSizeHandles()
{
    const double width = shown(m_canvas->widthTwips()), height = shown(m_canvas->heightTwips());
    const double right = m_canvas->leftTwips() + width;
    const double bottom = m_canvas->topTwips() + height;
    m_widthHandle->moveTwips(right, m_canvas->topTwips(), m_widthHandle->widthTwips(), height);
    m_heightHandle->moveTwips(m_canvas->leftTwips(), bottom, width, m_heightHandle->heightTwips());
    m_cornerHandle->moveTwips(m_widthHandle->leftTwips(), m_heightHandle->topTwips());
}

// 20 twips a scroll unit, computed in full width so that every part of a
// large canvas can be reached.
void CanvasView::verticalScrolled()
{
    m_canvas->moveTwips(m_canvas->leftTwips(), -20.0 * m_vscroll->value());
    placeSizeHandles();
}

void CanvasView::horizontalScrolled()
{
    m_canvas->moveTwips(-20.0 * m_hscroll->value(), m_canvas->topTwips());
    placeSizeHandles();
}

void CanvasView::resizeCanvasBy(double dx, double dy, const CanvasEvent &e)
{
    if (!e.isLeft())
        return;
    m_doc.resizeCanvas(clampExtent(m_canvas->widthTwips() + dragInPicture(dx), MaxCanvasWidth),
                       clampExtent(m_canvas->heightTwips() + dragInPicture(dy), MaxCanvasHeight));
}

double CanvasView::shown(double pictureTwips) const
{
    return m_viewScale == 100 ? pictureTwips : pictureTwips * m_viewScale / 100.0;
}

double CanvasView::dragInPicture(double viewTwips) const
{
    if (m_viewScale == 100)
        return viewTwips;
    // Rounded down: the edge moves only a whole picture pixel at a time and
    // rests where the pointer lies over the last pixel shown.
    return std::floor(viewTwips * 100 / m_viewScale / CanvasSurface::TwipsPerPixel)
        * CanvasSurface::TwipsPerPixel;
}

void CanvasView::showGuide(double x1, double y1, double x2, double y2)
{
    moveGuide(x1, y1, x2, y2);
    m_blackGuide->setVisible(true);
    m_whiteGuide->setVisible(false);
    m_guideTimer->start();
}

void CanvasView::moveGuide(double x1, double y1, double x2, double y2)
{
    m_blackGuide->moveTwips(x1, y1, x2, y2);
    m_whiteGuide->moveTwips(x1, y1, x2, y2);
}

void CanvasView::hideGuide()
{
    m_guideTimer->stop();
    m_blackGuide->setVisible(false);
    m_whiteGuide->setVisible(false);
}

void CanvasView::setGuideShown(bool shown)
{
    if (shown)
        showGuide(m_blackGuide->a(), m_blackGuide->b(), m_blackGuide->c(), m_blackGuide->d());
    else
        hideGuide();
}

void CanvasView::popUp(QMenu *menu, double x, double y)
{
    if (!menu)
        return;
    // Canvas to view coordinates: the canvas is shifted 20 twips a unit.
    const double wx = shown(x) - 20.0 * m_hscroll->value();
    const double wy = shown(y) - 20.0 * m_vscroll->value();
    menu->popup(mapToGlobal(QPoint(twipsToPixels(wx), twipsToPixels(wy))));
}

void CanvasView::setViewScale(int percent)
{
    // The middle of what the view shows of the canvas.
    const QRect area(0, 0, m_vscroll->x(), m_hscroll->y());
    const QRect canvas = area & m_canvas->geometry();
    setViewScale(percent, QRectF(canvas.isEmpty() ? area : canvas).center());
}

void CanvasView::setViewScale(int percent, QPointF anchor)
{
    if (percent == m_viewScale)
        return;
    // The picture point under the anchor, in picture twips.
    const double ax = pixelsToTwips(1) * anchor.x(), ay = pixelsToTwips(1) * anchor.y();
    const double px = (ax - m_canvas->leftTwips()) * 100 / m_viewScale;
    const double py = (ay - m_canvas->topTwips()) * 100 / m_viewScale;
    m_viewScale = percent;
    m_canvas->setViewScale(percent);
    m_text->setViewScale(percent);
    m_frame->followViewScale();
    // The ranges for the new size first (from an unscrolled canvas, so no
    // old offset widens them), then the offsets, kept inside them.
    const QSignalBlocker holdH(m_hscroll), holdV(m_vscroll);
    m_canvas->moveTwips(0, 0);
    updateScrollRanges();
    m_hscroll->setValue(int(std::lround((shown(px) - ax) / 20)));
    m_vscroll->setValue(int(std::lround((shown(py) - ay) / 20)));
    m_canvas->moveTwips(-20.0 * m_hscroll->value(), -20.0 * m_vscroll->value());
    placeSizeHandles();
    emit viewScaleChanged(percent);
}

void CanvasView::zoomIn()
{
    setViewScale(nextViewScale(m_viewScale, +1));
}

void CanvasView::zoomOut()
{
    setViewScale(nextViewScale(m_viewScale, -1));
}

} // namespace quor
