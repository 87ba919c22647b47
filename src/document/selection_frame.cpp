#include "document/selection_frame.h"

#include "document/picture_box.h"

#include <QTimer>

#include <algorithm>

namespace quor {

namespace {

// At the view's 100 %; the handles keep that size on screen at any scale.
constexpr double HandleSize = 80;

const char *const handleNames[8] = {
    "hselsizePictLeftUp",   "hselsizePictUp",       "hselsizePictRightUp", "hselsizePictLeft",
    "hselsizePictRight",    "hselsizePictLeftDown", "hselsizePictDown",    "hselsizePictRightDown",
};
const char *const handleWords[8] = {"左上", "上", "右上", "左", "右", "左下", "下", "右下"};
const Qt::CursorShape handleCursors[8] = {
    Qt::SizeFDiagCursor, Qt::SizeVerCursor, Qt::SizeBDiagCursor, Qt::SizeHorCursor,
    Qt::SizeHorCursor,   Qt::SizeBDiagCursor, Qt::SizeVerCursor, Qt::SizeFDiagCursor,
};

// The frame's margins round the picture (24 and 39 twips) are under a
// screen pixel below 100 %, and an edge drawn where the picture's box lies
// is hidden by it: such an edge moves out to the first pixel clear of the
// box. `box` is the box's place on the canvas in screen pixels.
TwipBox clearOf(const QRect &box, const TwipBox &frame, int scale)
{
    auto px = [scale](double twips) { return scaledTwipsToPixels(twips, scale); };
    auto twips = [scale](int pixels) { return pixelsToTwips(pixels) * 100 / scale; };
    // The pixels the frame is drawn on, as the canvas box draws it.
    const int left = px(frame.left), top = px(frame.top);
    const int right = left + std::max(1, px(frame.width)) - 1;
    const int bottom = top + std::max(1, px(frame.height)) - 1;
    if (left < box.left() && top < box.top() && right > box.right() && bottom > box.bottom())
        return frame;
    const int l = std::min(left, box.left() - 1), t = std::min(top, box.top() - 1);
    const int r = std::max(right, box.right() + 1), b = std::max(bottom, box.bottom() + 1);
    return {twips(l), twips(t), twips(r - l + 1), twips(b - t + 1)};
}

} // namespace

SelectionFrame::SelectionFrame(PictureBox *canvas, CanvasSurface &picture, QColor white)
    : QObject(canvas)
{
    for (int i = 0; i < 8; ++i) {
        m_handles[i] = new PictureBox(QLatin1String(handleNames[i]), canvas);
        m_handles[i]->moveTwips(0, 0, HandleSize, HandleSize);
        const int side = int(HandleSize / CanvasSurface::TwipsPerPixel);
        m_handles[i]->setScreenSize({side, side});
        m_handles[i]->setBackColor(rgbColour(255, 255, 0));
        m_handles[i]->setCursor(handleCursors[i]);
        m_handles[i]->setAccessibleName(QStringLiteral("选定图片尺寸控点（%1）")
                                            .arg(QString::fromUtf8(handleWords[i])));
        m_handles[i]->hide();
        connect(m_handles[i], &PictureBox::moved, this,
                [this, i](const CanvasEvent &e) { emit handleDragged(SelectionHandle(i), e); });
    }
    m_picture = new PictureBox(QStringLiteral("PictureCopy"), picture, canvas);
    m_picture->setAccessibleName(QStringLiteral("选定的图片"));
    m_picture->setCursor(Qt::SizeAllCursor);
    m_picture->hide();
    connect(m_picture, &PictureBox::pressed, this, &SelectionFrame::picturePressed);
    connect(m_picture, &PictureBox::moved, this, &SelectionFrame::pictureDragged);

    m_black = new OverlayShape(OverlayShape::Rectangle, QStringLiteral("hselectShape1"), canvas);
    m_black->setDotted(true);
    m_black->setBorderColor(0);
    m_white = new OverlayShape(OverlayShape::Rectangle, QStringLiteral("hselectShape2"), canvas);
    m_white->setDotted(true);
    m_white->setBorderColor(fromQColor(white));
    m_timer = quor::blinkTimer("hselectshapesTimer", m_black, m_white, this);
}

void SelectionFrame::follow(const TwipBox &place, bool visible)
{
    m_picture->moveTwips(place.left, place.top, place.width, place.height);
    m_picture->followSurface();
    if (visible) {
        m_picture->show();
        m_picture->raise();
    } else {
        m_picture->hide();
        hide();
    }
}

void SelectionFrame::placeAround(const TwipBox &place)
{
    // The handles are moved, not hidden first: hiding the handle being
    // dragged would end its mouse grab.
    m_place = place;
    const int scale = m_handles[0]->viewScale();
    const TwipBox frame = clearOf(m_picture->geometry(), selectionFrame(place), scale);
    moveBand(frame);
    const double size = HandleSize * 100 / scale;
    const auto places = handlePositions(frame, size);
    for (int i = 0; i < 8; ++i) {
        m_handles[i]->moveTwips(places[i].x, places[i].y);
        m_handles[i]->show();
        m_handles[i]->raise();
    }
}

void SelectionFrame::followViewScale()
{
    if (!m_handles[0]->isHidden())
        placeAround(m_place);
}

void SelectionFrame::blink()
{
    m_black->setVisible(true);
    m_white->setVisible(false);
    m_timer->start();
}

void SelectionFrame::moveBand(const TwipBox &band)
{
    m_black->moveTwips(band.left, band.top, band.width, band.height);
    m_white->moveTwips(band.left, band.top, band.width, band.height);
}

void SelectionFrame::hide()
{
    m_timer->stop();
    m_black->setVisible(false);
    m_white->setVisible(false);
    for (PictureBox *h : m_handles)
        h->hide();
}

void SelectionFrame::hideMarks()
{
    hide();
    m_picture->hide();
}

void SelectionFrame::showMarks()
{
    m_picture->show();
    for (PictureBox *h : m_handles)
        h->show();
    blink();
}

} // namespace quor
