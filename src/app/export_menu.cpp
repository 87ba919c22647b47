// File, Export: the canvas written as PNG, JPEG, BMP, TIFF or WebP for
// other programs. The document keeps its name, its changed flag and Save's
// bitmap format; only the file chosen here is written.
#include "app/main_window.h"

#include "document/document_window.h"
#include "formats/bitmap_file.h"
#include "files/file_texts.h"
#include "formats/picture_export.h"

#include <QCoreApplication>
#include <QInputDialog>

#include <new>
#include <optional>

namespace quor {

namespace {

// The JPEG quality, asked in a small box; nothing when it is cancelled.
std::optional<int> askJpegQuality(QWidget *parent)
{
    QInputDialog box(parent);
    box.setObjectName(QStringLiteral("exportQuality"));
    box.setWindowTitle(QStringLiteral("JPEG 质量"));
    box.setLabelText(QStringLiteral("图片质量（1 - 100，越大越清晰，文件也越大）："));
    box.setInputMode(QInputDialog::IntInput);
    box.setIntRange(1, 100);
    box.setIntValue(DefaultJpegQuality);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.intValue();
}

} // namespace

void MainWindow::exportPicture()
{
    DocumentWindow *doc = m_workspace.activeDocument();
    const QList<ExportFormat> formats = availableExportFormats();
    if (!doc || formats.isEmpty())
        return;
    FileDialogRequest request;
    request.title = QStringLiteral("导出 ") + doc->caption();
    request.options = SaveDialogOptions;
    request.filter = exportFilter(formats);
    request.folder = programFolder();
    request.fileName = exportName(doc->caption(), formats.first());
    const std::optional<FileChoice> choice = askSaveFile(this, request);
    if (!choice)
        return;
    const QString fileName = choice->fileName;
    const ExportFormat format = formatOfFilterEntry(formats, choice->filterEntry);
    try {
        int quality = DefaultJpegQuality;
        if (format.asksQuality) {
            const std::optional<int> chosen = askJpegQuality(this);
            if (!chosen)
                return;
            quality = *chosen;
        }
        // Encoded once, as the canvas is now; a retry writes the same file.
        const QByteArray bytes = encodePicture(doc->document().canvas().image(), format, quality);
        for (;;) {
            try {
                sayWhatWasNotKept(saveEncodedFile(bytes, fileName));
                return;
            } catch (const QuorError &e) {
                if (e.number != err::PathFileAccess)
                    throw;
                const QString cap = doc->caption();
                if (ask(this, readOnlyMessage(cap), cap, Buttons::RetryCancel, Icon::Exclamation)
                    != Answer::Retry)
                    return;
            }
        }
    } catch (const QuorError &e) {
        tell(this, otherErrorMessage(e.description), QCoreApplication::applicationName());
    } catch (const std::bad_alloc &) {
        tell(this, otherErrorMessage(QStringLiteral("内存不足，文件未保存。")),
             QCoreApplication::applicationName());
    }
}

} // namespace quor
