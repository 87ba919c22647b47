// The Image menu: resize, the three turns, crop to the selection, negative
// and grey, each on the floating selection if one floats, else on the whole
// picture, and each one step of the history.
#include "app/main_window.h"

#include "dialogs/resize_dialog.h"
#include "document/dialog_seam.h"
#include "document/document_window.h"
#include "document/model/picture_commands.h"
#include "document/selection_frame.h"
#include "effects/image_ops.h"
#include "formats/picture_errors.h"

#include <QCoreApplication>


namespace quor {

namespace {

void tellTooLarge(QWidget *parent, QSize size)
{
    tell(parent,
         QStringLiteral("\r图片太大（%1 x %2 像素），无法完成。").arg(size.width()).arg(size.height()),
         QCoreApplication::applicationName(), Icon::Exclamation);
}

// The floating picture, else the canvas, replaced by what op makes of it.
// Without memory for the result the picture stays as it was.
void transformPicture(QWidget *parent, DocumentWindow *doc, const commands::ImageOperation &op)
{
    if (!doc)
        return;
    Document &d = doc->document();
    const QSize size = (d.hasFloatingSelection() ? d.selection() : d.canvas()).image().size();
    if (!commands::transformPicture(d, op))
        tellTooLarge(parent, size);
    else if (d.hasFloatingSelection())
        doc->view()->selectionFrame()->placeAround(d.selectionPlace());
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
    if (!doc)
        return;
    QSize kept;
    if (commands::cropToSelection(doc->document(), &kept) == commands::CropResult::NoMemory)
        tellTooLarge(this, kept);
}

} // namespace quor
