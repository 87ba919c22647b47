#include "document/model/document.h"

#include "document/model/raster_zoom.h"

#include <QThreadPool>
#include <QTimer>

#include <cstring>
#include <utility>

namespace quor {

namespace {

// Drops this reference to the pixels on a pool thread; when it was the last,
// the memory is freed there.
void releaseInBackground(QImage image)
{
    if (image.isNull())
        return;
    QThreadPool::globalInstance()->start([image = std::move(image)]() mutable { image = QImage(); });
}

} // namespace

Document::Document()
{
    m_restTimer.setSingleShot(true);
    m_restTimer.setInterval(1000);
    connect(&m_restTimer, &QTimer::timeout, this, [this] {
        if (m_depth == 0 && !m_scheduled)
            releaseInBackground(std::exchange(m_base, m_canvas.image()));
    });
    m_canvas.setDamageListener([this](const QRect &r) {
        m_pending |= r;
        if (!m_applying) {
            m_stepRect |= r;
            scheduleStep();
        }
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
    m_modified = true;
    const QRect r = m_pending;
    m_pending = {};
    emit committed(r);
}

void Document::takePen(const DrawingSettings &d)
{
    m_canvas.setForeColor(d.foreColour);
    m_canvas.setFillColor(d.drawingColour);
    m_canvas.setFillStyle(d.fillStyle.value_or(FillStyle::Solid));
    m_canvas.setLineStyle(d.lineStyle.value_or(LineStyle::Solid));
    m_canvas.setDrawWidth(d.lineWidth);
}

void Document::setForeColour(Colour c, PenScope scope)
{
    m_canvas.setForeColor(c);
    if (scope == PenScope::CanvasAndFloating)
        m_selection.setForeColor(c);
}

void Document::setFillStyle(FillStyle style, PenScope scope)
{
    m_canvas.setFillStyle(style);
    if (scope == PenScope::CanvasAndFloating)
        m_selection.setFillStyle(style);
}

void Document::setLineStyle(LineStyle style, PenScope scope)
{
    m_canvas.setLineStyle(style);
    if (scope == PenScope::CanvasAndFloating)
        m_selection.setLineStyle(style);
}

void Document::changeTextFont(const std::function<QFont(const QFont &)> &change)
{
    m_canvas.setFont(change(m_canvas.font()));
    m_selection.setFont(change(m_selection.font()));
}

void Document::setBackColour(Colour c, PenScope scope)
{
    m_canvas.setBackColor(c);
    if (scope != PenScope::CanvasAndFloating)
        return;
    // The blank a dropped selection leaves is no loaded picture: it would
    // stay behind as a white dot.
    if (m_selection.picture() == emptyPicture())
        m_selection.setPicture(QImage());
    m_selection.setBackColor(c);
}

void Document::setFile(const QString &fileName, const PictureFileForm &form)
{
    m_fileName = fileName;
    m_fileForm = form;
    emit fileChanged();
}

void Document::loadPicture(const QImage &picture)
{
    m_canvas.setPicture(picture);
    emit canvasResized();
    rebase(); // a picture opened is where its history starts
}

void Document::resizeCanvas(double width, double height)
{
    m_canvas.setScaleSize(width, height);
    emit canvasResized();
}

bool Document::zoomCanvas(bool enlarge)
{
    const double factor = enlarge ? 3.0 : 1.0 / 3.0;
    const double w = float(m_canvas.scaleWidth() * factor);
    const double h = float(m_canvas.scaleHeight() * factor);
    const int pw = m_canvas.toPixelSize(w), ph = m_canvas.toPixelSize(h);
    QImage next = enlarge ? raster::zoomEnlarge(m_canvas.image(), pw, ph)
                          : raster::zoomShrink(m_canvas.image(), pw, ph);
    if (next.isNull())
        return false;
    // Freeing a bitmap of hundreds of megabytes takes a while: the old one
    // goes elsewhere to be let go of.
    QImage old = m_canvas.image();
    m_canvas.adoptImage(std::move(next), w, h);
    releaseInBackground(std::move(old));
    m_zoomedIn = enlarge;
    emit canvasResized();
    return true;
}

void Document::replaceCanvas(QImage picture, double width, double height)
{
    if (picture.isNull() || picture.format() != QImage::Format_RGB32)
        return;
    m_canvas.adoptImage(std::move(picture), width, height);
    m_canvasReplaced = true;
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
    if (m_depth == 0 && !m_scheduled)
        m_selectionBase = selectionState();
    emit selectionPlaced();
}

void Document::placeSelection(double left, double top, double width, double height)
{
    m_selLeft = left;
    m_selTop = top;
    const double unit = m_selection.unit() / CanvasSurface::TwipsPerPixel;
    m_selection.setScaleSize(width * unit, height * unit);
    if (m_depth == 0 && !m_scheduled)
        m_selectionBase = selectionState();
    emit selectionPlaced();
}

void Document::setSelectionVisible(bool visible)
{
    if (m_selectionVisible == visible)
        return;
    m_selectionVisible = visible;
    if (m_depth == 0 && !m_scheduled)
        m_selectionBase = selectionState();
    emit selectionPlaced();
}

void Document::copyCanvasToSelection(const TwipBox &b)
{
    placeSelection(b.left, b.top, b.width, b.height);
    m_selection.paintPicture(m_canvas.image(), 0, 0, b.width, b.height, b.left, b.top, b.width,
                             b.height, rop::SrcCopy);
}

void Document::liftSelection(const TwipBox &box)
{
    copyCanvasToSelection(box);
    m_floating = true;
    setSelectionVisible(true);
}

void Document::floatPicture(const QImage &picture, double left, double top)
{
    m_selection.setPicture(picture);
    m_floating = true;
    placeSelection(left, top);
    setSelectionVisible(true);
}

void Document::putDownSelection()
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
    m_floating = false;
    m_selectionVisible = false;
    emit selectionPlaced();
}

} // namespace quor

namespace quor {

SelectionState Document::selectionState() const
{
    const TwipBox p = selectionPlace();
    return {m_selection.image(), p.left, p.top, p.width, p.height, m_selectionVisible, m_floating};
}

void Document::scheduleStep()
{
    if (m_depth > 0 || m_scheduled)
        return;
    m_scheduled = true;
    m_stepSelection = m_selectionBase;
    QTimer::singleShot(0, this, [this] {
        if (!m_scheduled)
            return;
        m_scheduled = false;
        if (m_depth == 0)
            finishStep();
    });
}

void Document::beginStep()
{
    if (m_depth++ > 0)
        return;
    if (m_scheduled) {
        // A change still waiting for its step closes first.
        m_scheduled = false;
        finishStep();
    }
    m_stepSelection = selectionState();
}

void Document::endStep()
{
    if (m_depth == 0 || --m_depth > 0)
        return;
    finishStep();
}

void Document::finishStep()
{
    const QSizeF size(m_canvas.scaleWidth(), m_canvas.scaleHeight());
    // A new picture in place of the old: the step shares both rather than
    // comparing and copying every pixel.
    const bool resized = std::exchange(m_canvasReplaced, false) || m_base.isNull()
                         || size != m_baseSize || m_base.size() != m_canvas.image().size();
    const QRect rect = m_stepRect & m_canvas.image().rect();
    const bool edited = m_selectionEdited;
    m_stepRect = {};
    m_selectionEdited = false;
    const auto sameRows = [&] {
        // Redrawing what was there (a Cls over the same picture) is no step.
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            if (std::memcmp(reinterpret_cast<const QRgb *>(m_base.constScanLine(y)) + rect.left(),
                            reinterpret_cast<const QRgb *>(m_canvas.image().constScanLine(y)) + rect.left(),
                            std::size_t(rect.width()) * sizeof(QRgb)) != 0)
                return false;
        return true;
    };
    if (!resized && !edited && (rect.isEmpty() || sameRows())) {
        m_selectionBase = selectionState();
        if (!rect.isEmpty())
            m_restTimer.start();
        return;
    }
    HistoryStep step;
    step.sizeBefore = m_baseSize;
    step.sizeAfter = size;
    if (resized) {
        step.whole = true;
        step.rect = m_canvas.image().rect();
        step.before = m_base;
        step.after = m_canvas.image();
        m_base = m_canvas.image();
    } else if (!rect.isEmpty()) {
        step.rect = rect;
        step.before = m_base.copy(rect);
        step.after = m_canvas.image().copy(rect);
        if (m_base.isDetached()) {
            // The base follows the canvas in that rectangle only.
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                std::memcpy(reinterpret_cast<QRgb *>(m_base.scanLine(y)) + rect.left(),
                            reinterpret_cast<const QRgb *>(m_canvas.image().constScanLine(y))
                                + rect.left(),
                            std::size_t(rect.width()) * sizeof(QRgb));
        } else {
            // Still the picture as it was opened: writing it would copy it.
            m_base = m_canvas.image();
        }
        // Steps come quickly while the user works; once they stop, the base
        // shares the canvas again and the document holds one bitmap fewer.
        m_restTimer.start();
    }
    m_baseSize = size;
    step.selectionBefore = m_stepSelection;
    step.selectionAfter = selectionState();
    m_selectionBase = step.selectionAfter;
    m_history.push(std::move(step));
    emit historyChanged();
}

void Document::apply(const HistoryStep &step, bool before)
{
    m_applying = true;
    const QImage &pixels = before ? step.before : step.after;
    const QSizeF size = before ? step.sizeBefore : step.sizeAfter;
    if (step.whole && !pixels.isNull()) {
        m_canvas.adoptImage(pixels, size.width(), size.height());
        m_base = m_canvas.image();
        emit canvasResized();
    } else if (!pixels.isNull()) {
        // Let go of the base first, so writing the canvas does not detach
        // it: each pixel of the step is copied once, and the base shares the
        // result.
        m_base = QImage();
        m_canvas.putPixels(pixels, step.rect.topLeft());
        m_base = m_canvas.image();
    }
    m_baseSize = QSizeF(m_canvas.scaleWidth(), m_canvas.scaleHeight());

    const SelectionState &sel = before ? step.selectionBefore : step.selectionAfter;
    m_selection.setScaleMode(ScaleMode::Twips);
    if (!sel.image.isNull())
        m_selection.shareImage(sel.image);
    m_selLeft = sel.left;
    m_selTop = sel.top;
    m_selection.setScaleSize(sel.width, sel.height);
    m_selectionVisible = sel.visible;
    m_floating = sel.floating;
    m_selectionBase = selectionState();
    m_stepRect = {};
    m_applying = false;

    m_modified = !m_history.isSaved();
    emit selectionPlaced();
    emit restored();
    emit historyChanged();
}

void Document::undo()
{
    if (!canUndo() || m_depth > 0)
        return;
    if (m_scheduled) {
        m_scheduled = false;
        finishStep();
    }
    apply(m_history.undo(), true);
}

void Document::redo()
{
    if (!canRedo() || m_depth > 0)
        return;
    apply(m_history.redo(), false);
}

void Document::markSaved()
{
    if (m_scheduled && m_depth == 0) {
        m_scheduled = false;
        finishStep();
    }
    m_modified = false;
    m_history.markSaved();
    emit historyChanged();
}

void Document::markUnsaved()
{
    m_history.forgetSaved();
    markChanged();
    emit historyChanged();
}

void Document::rebase()
{
    m_base = m_canvas.image();
    m_baseSize = QSizeF(m_canvas.scaleWidth(), m_canvas.scaleHeight());
    m_stepRect = {};
    m_scheduled = false;
    m_selectionEdited = false;
    m_selectionBase = selectionState();
}

void Document::setRunning(bool running)
{
    m_running = running;
    emit historyChanged();
}

} // namespace quor
