#include "files/print_picture.h"

#include "core/errors.h"
#include "files/print_layout.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>

namespace quor {

namespace {

[[noreturn]] void fail(const QString &description)
{
    throw QuorError(err::DeviceIO, description);
}

} // namespace

void printPicture(const QImage &picture, const QString &jobName, QPrinter &printer)
{
    printer.setDocName(jobName);
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    // Without a printer system Qt falls back to a PDF file; begun without a
    // file name its engine stays busy and refuses every later setting, so
    // the shared printer would be lost for the rest of the run.
    if (toFile && printer.outputFileName().isEmpty())
        fail(QStringLiteral("没有可用的打印机，也没有指定打印到的文件。"));
    if (printer.printerState() == QPrinter::Active)
        fail(QStringLiteral("打印机正忙。"));

    QPainter painter;
    if (!painter.begin(&printer)) {
        if (toFile)
            fail(QStringLiteral("无法写入文件“%1”。").arg(printer.outputFileName()));
        fail(QStringLiteral("打印机“%1”无法打印。").arg(printer.printerName()));
    }
    // The painter's origin is the printable area's corner unless the
    // printer was set to the full page.
    QRectF area = printer.pageRect(QPrinter::DevicePixel);
    if (!printer.fullPage())
        area.moveTopLeft(QPointF(0, 0));
    const QRectF target =
        printPlacement(picture.size(), area, printer.logicalDpiX(), printer.logicalDpiY());
    // Line art in JPEG would print with smudged edges.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    if (!target.isEmpty())
        painter.drawImage(target, picture);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        fail(QStringLiteral("打印没有完成。"));
}

} // namespace quor
