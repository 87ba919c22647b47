// Print and Page setup: both dialogs set up the one printer of the
// common-dialog component, so paper, orientation and margins chosen in
// Page setup apply to the next Print.
#include "app/main_window.h"

#include "document/document_window.h"
#include "files/file_texts.h"
#include "files/print_picture.h"

#include <QCoreApplication>

#include <new>

namespace quor {

namespace {

// Return a device context, no page numbers, offer the selection.
constexpr int PrintDialogFlags = 0x109;

void showPrinterError(MainWindow &w, const QString &description)
{
    msgBox(&w, otherErrorMessage(description), mb::OkOnly, QCoreApplication::applicationName());
}

} // namespace

void MainWindow::printDocument()
{
    DocumentWindow *doc = m_workspace.activeDocument();
    if (!doc)
        return;
    try {
        CommonDialog &dlg = m_commonDialog;
        dlg.CancelError = true;
        dlg.DialogTitle = QStringLiteral("打印");
        dlg.Flags = PrintDialogFlags;
        dlg.ShowPrinter();
        // What the user sees: the drawing, not only the picture loaded
        // beneath it.
        printPicture(doc->document().canvas().image(), doc->caption(), printerOf(dlg));
        dlg.reset();
    } catch (const QuorError &e) {
        if (e.number != err::DialogCancelled)
            showPrinterError(*this, e.description);
    } catch (const std::bad_alloc &) {
        showPrinterError(*this, QStringLiteral("内存不足，无法打印这张图片。"));
    }
}

void MainWindow::pageSetup()
{
    if (!m_workspace.activeDocument())
        return;
    try {
        // The flags stay as the previous command left them.
        CommonDialog &dlg = m_commonDialog;
        dlg.CancelError = true;
        dlg.DialogTitle = QStringLiteral("页面设置");
        dlg.ShowPageSetup();
        dlg.reset();
    } catch (const QuorError &e) {
        if (e.number != err::DialogCancelled)
            showPrinterError(*this, e.description);
    }
}

} // namespace quor
