// The Image menu: resize, the three turns, crop to the selection, negative
// and grey, each on the floating selection if one floats, else on the whole
// picture, and each one step of the history.
#include "app/main_window.h"

#include "core/dialog_seam.h"
#include "dialogs/resize_dialog.h"
#include "document/document_window.h"
#include "document/selection_frame.h"
#include "effects/image_ops.h"
#include "formats/picture_errors.h"

#include <QCoreApplication>

#include <functional>

namespace quor {

namespace {

using ImageOperation = std::function<QImage(const QImage &)>;

void tellTooLarge(QWidget *parent, QSize size)
{
    msgBox(parent,
           QStringLiteral("\r图片太大（%1 x %2 像素），无法完成。").arg(size.width()).arg(size.height()),
           mb::Exclamation, QCoreApplication::applicationName());
}

// The floating picture, else the canvas, replaced by what op makes of it.
// Without memory for the result the picture stays as it was.
void transformPicture(QWidget *parent, DocumentWindow *doc, const ImageOperation &op)
{
    if (!doc)
        return;
    Document &d = doc->document();
    const bool floating = d.hasFloatingSelection();
    const CanvasSurface &source = floating ? d.selection() : d.canvas();
    QImage result = op(source.image());
    if (result.isNull()) {
        tellTooLarge(parent, source.image().size());
        return;
    }
    d.beginStep();
    if (floating) {
        d.markSelectionEdit();
        const TwipBox at = d.selectionPlace();
        d.selection().shareImage(std::move(result)); // nothing else holds it
        d.placeSelection(at.left, at.top);
        doc->view()->selectionFrame()->placeAround(d.selectionPlace());
    } else {
        const CanvasSurface &c = d.canvas();
        // A turn keeps the logical size exactly, its sides exchanged.
        double w = c.scaleWidth(), h = c.scaleHeight();
        if (result.size() == c.image().size().transposed() && result.size() != c.image().size())
            std::swap(w, h);
        else if (result.size() != c.image().size())
            w = result.width() * c.unit(), h = result.height() * c.unit();
        d.replaceCanvas(std::move(result), w, h);
    }
    d.markChanged();
    d.endStep();
}

} // namespace

void MainWindow::resizePicture()
{
    DocumentWindow *doc = m_workspace.activeDocument();
    if (!doc)
        return;
    const Document &d = doc->document();
    const QSize present = (d.hasFloatingSelection() ? d.selection() : d.canvas()).image().size();
    ResizeDialog dialog(present, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    resizePictureTo(dialog.chosenSize(), dialog.smooth());
}

void MainWindow::resizePictureTo(QSize size, bool smooth)
{
    // Refused before anything is allocated.
    if (!fitsPictureLimits(size.width(), size.height())) {
        tellTooLarge(this, size);
        return;
    }
    transformPicture(this, m_workspace.activeDocument(), [size, smooth](const QImage &img) {
        return effects::scaled(img, size, smooth);
    });
}

void MainWindow::turnPicture(int quarters)
{
    const effects::Turn turn = quarters == 1   ? effects::Turn::Right
                               : quarters == 2 ? effects::Turn::Half
                                               : effects::Turn::Left;
    transformPicture(this, m_workspace.activeDocument(),
                     [turn](const QImage &img) { return effects::turned(img, turn); });
}

void MainWindow::turnPictureRight() { turnPicture(1); }
void MainWindow::turnPictureHalf() { turnPicture(2); }
void MainWindow::turnPictureLeft() { turnPicture(3); }

void MainWindow::invertPicture()
{
    transformPicture(this, m_workspace.activeDocument(), &effects::inverted);
}

void MainWindow::greyPicture()
{
    transformPicture(this, m_workspace.activeDocument(), &effects::greyed);
}

void MainWindow::cropToSelection()
{
    DocumentWindow *doc = m_workspace.activeDocument();
    if (!doc || !doc->document().hasFloatingSelection())
        return;
    Document &d = doc->document();
    const CanvasSurface &c = d.canvas();
    const TwipBox at = d.selectionPlace();
    const QRect keep = QRect(c.toPixelX(at.left), c.toPixelY(at.top), d.selection().widthPx(),
                             d.selection().heightPx())
                       & c.image().rect();
    if (keep.isEmpty())
        return;
    // What shows is what stays: the floating picture goes down first.
    d.beginStep();
    d.putDownSelection();
    QImage kept = c.image().copy(keep);
    if (kept.isNull())
        tellTooLarge(this, keep.size());
    else
        d.replaceCanvas(std::move(kept), keep.width() * c.unit(), keep.height() * c.unit());
    d.markChanged();
    d.endStep();
}

} // namespace quor
