// Print and Page setup: both dialogs set up the main window's one printer,
// so paper, orientation and margins chosen in Page setup apply to the next
// Print.
#include "app/main_window.h"

#include "document/document_window.h"
#include "files/file_texts.h"
#include "files/print_picture.h"

#include <QCoreApplication>
#include <QPrinter>

#include <new>

namespace quor {

namespace {

constexpr PrintOptions PrintDialogOptions =
    PrintOption::NoPageNumbers | PrintOption::OfferSelection;

void showPrinterError(MainWindow &w, const QString &description)
{
    tell(&w, otherErrorMessage(description), QCoreApplication::applicationName());
}

} // namespace

void MainWindow::printDocument()
{
    DocumentWindow *doc = m_workspace.activeDocument();
    if (!doc)
        return;
    if (!askPrint(this, QStringLiteral("打印"), PrintDialogOptions, printer()))
        return;
    try {
        // What the user sees: the drawing, not only the picture loaded
        // beneath it.
        printPicture(doc->document().canvas().image(), doc->caption(), printer());
    } catch (const QuorError &e) {
        showPrinterError(*this, e.description);
    } catch (const std::bad_alloc &) {
        showPrinterError(*this, QStringLiteral("内存不足，无法打印这张图片。"));
    }
}

void MainWindow::pageSetup()
{
    if (m_workspace.activeDocument())
        askPageSetup(this, QStringLiteral("页面设置"), printer());
}

QPrinter &MainWindow::printer()
{
    // Made on first use: asking the system for its printers takes time.
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>();
    return *m_printer;
}

} // namespace quor
