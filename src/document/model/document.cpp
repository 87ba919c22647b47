#include "document/model/document.h"

namespace quor {

Document::Document()
{
    m_canvas.setDamageListener([this](const QRect &r) {
        m_pending |= r;
        emit canvasDamaged(r);
    });
    m_selection.setDamageListener([this](const QRect &r) { emit selectionDamaged(r); });
}

const QImage &Document::emptyPicture()
{
    static const QImage empty = [] {
        QImage img(1, 1, QImage::Format_RGB32);
        img.fill(Qt::white);
        return img;
    }();
    return empty;
}

void Document::markChanged()
{
    DataChanged = true;
    const QRect r = m_pending;
    m_pending = {};
    emit committed(r);
}

void Document::beginRubberBand(double x, double y)
{
    hStartx = x;
    hStarty = y;
    hEndx = x;
    hEndy = y;
    m_canvas.setDrawMode(7);
}

void Document::loadPicture(const QImage &picture)
{
    m_canvas.setPicture(picture);
    emit canvasResized();
}

void Document::resizeCanvas(double width, double height)
{
    m_canvas.setScaleSize(width, height);
    emit canvasResized();
}

TwipBox Document::selectionPlace() const
{
    const double unit = CanvasSurface::TwipsPerPixel / m_selection.unit();
    return {m_selLeft, m_selTop, m_selection.scaleWidth() * unit,
            m_selection.scaleHeight() * unit};
}

void Document::placeSelection(double left, double top)
{
    m_selLeft = left;
    m_selTop = top;
    emit selectionPlaced();
}

void Document::placeSelection(double left, double top, double width, double height)
{
    m_selLeft = left;
    m_selTop = top;
    const double unit = m_selection.unit() / CanvasSurface::TwipsPerPixel;
    m_selection.setScaleSize(width * unit, height * unit);
    emit selectionPlaced();
}

void Document::setSelectionVisible(bool visible)
{
    if (m_selectionVisible == visible)
        return;
    m_selectionVisible = visible;
    emit selectionPlaced();
}

void Document::copyCanvasToSelection(const TwipBox &b)
{
    placeSelection(b.left, b.top, b.width, b.height);
    m_selection.paintPicture(m_canvas.image(), 0, 0, b.width, b.height, b.left, b.top, b.width,
                             b.height, rop::SrcCopy);
}

void Document::layDownSelection()
{
    const TwipBox p = selectionPlace();
    m_canvas.paintPicture(m_selection.image(), p.left, p.top, m_selection.scaleWidth(),
                          m_selection.scaleHeight(), 0, 0, m_selection.scaleWidth(),
                          m_selection.scaleHeight(), pasteRasterOp);
    dropSelection();
    markChanged();
}

void Document::dropSelection()
{
    m_selection.setPicture(emptyPicture());
    m_selectionVisible = false;
    emit selectionPlaced();
}

} // namespace quor
