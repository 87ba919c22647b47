#include "files/save_document.h"

#include "document/dialog_seam.h"
#include "document/document_window.h"
#include "files/file_texts.h"
#include "formats/bitmap_file.h"
#include "formats/picture_export.h"

#include <QCoreApplication>

namespace quor {

std::optional<QString> askSaveName(QObject *dialogOwner, const QString &title,
                                   const QString &initialName)
{
    FileDialogRequest request;
    request.title = title;
    request.options = SaveDialogOptions;
    request.filter = bitmapFilter();
    request.folder = programFolder();
    request.fileName = initialName;
    if (const std::optional<FileChoice> choice = askSaveFile(dialogOwner, request))
        return choice->fileName;
    return std::nullopt;
}

namespace {

QString appTitle() { return QCoreApplication::applicationName(); }

// The file's name: the caption, or what the save dialog gives.
std::optional<QString> fileNameFor(DocumentWindow *doc, SaveRequest request, QObject *dialogOwner)
{
    const QString cap = doc->caption();
    if (request != SaveRequest::SaveAs && !doc->document().fileName().isEmpty())
        return doc->document().fileName();
    const QString word = request == SaveRequest::SaveAs ? QStringLiteral("另存为 ") : QStringLiteral("保存 ");
    return askSaveName(dialogOwner, word + cap, cap);
}

// A file read as PNG, WebP, TIFF or PNM stays one: bitmap bytes under its
// name would be refused by other programs. Save as writes a bitmap.
void writeFile(DocumentWindow *doc, SaveRequest request, const QString &fileName)
{
    const std::optional<ExportFormat> kept =
        request == SaveRequest::SaveAs ? std::nullopt : keptFormat(doc->document().fileForm().kind);
    if (!kept) {
        doc->writeCanvas(fileName);
        return;
    }
    const QString lost =
        saveEncodedFile(encodePicture(doc->document().canvas().image(), *kept, 100), fileName);
    if (!lost.isEmpty())
        tell(doc, otherErrorMessage(lost), appTitle(), Icon::Exclamation);
}

// A file kept in its format loses what the canvas does not hold (pages,
// frames, deep samples, grey): the user hears of it before the old file
// goes, and may keep it.
bool acceptLosses(DocumentWindow *doc, SaveRequest request)
{
    const PictureFileForm &form = doc->document().fileForm();
    if (request == SaveRequest::SaveAs || !keptFormat(form.kind))
        return true;
    const QStringList lost = whatSaveDrops(form);
    if (lost.isEmpty())
        return true;
    const QString text = QStringLiteral("保存“%1”会丢失原文件的一部分内容：\n\n").arg(doc->caption())
                         + lost.join(QLatin1Char('\n')) + QStringLiteral("\n\n仍要保存吗？");
    return ask(doc, text, appTitle(), Buttons::OkCancel, Icon::Exclamation) == Answer::Ok;
}

// Writes the canvas, asking again while the file is read-only.
SaveResult writeAsking(DocumentWindow *doc, SaveRequest request, const QString &fileName)
{
    for (;;) {
        try {
            writeFile(doc, request, fileName);
            return SaveResult::Saved;
        } catch (const QuorError &e) {
            if (e.number != err::PathFileAccess)
                throw;
            const QString cap = doc->caption();
            if (request == SaveRequest::SaveAll) {
                const Answer answer = ask(doc, saveAllReadOnlyMessage(cap), cap,
                                          Buttons::AbortRetryIgnore, Icon::Exclamation,
                                          DefaultButton::Second);
                if (answer == Answer::Retry)
                    continue;
                return answer == Answer::Abort ? SaveResult::Abort : SaveResult::NotSaved;
            }
            if (ask(doc, readOnlyMessage(cap), cap, Buttons::RetryCancel, Icon::Exclamation)
                != Answer::Retry)
                return SaveResult::NotSaved;
        }
    }
}

} // namespace

SaveResult saveDocument(DocumentWindow *doc, SaveRequest request, QObject *dialogOwner)
{
    const std::optional<QString> name = fileNameFor(doc, request, dialogOwner);
    if (!name)
        return SaveResult::NotSaved;
    const QString fileName = *name;
    if (!acceptLosses(doc, request))
        return SaveResult::NotSaved;
    // The marks come back whatever happens: a floating selection left
    // invisible would still be put down by Enter. Closing ends the arc
    // guide's gesture for good.
    doc->hideWriteMarks();
    if (request == SaveRequest::Close)
        doc->cancelArcGuide();
    SaveResult result = SaveResult::NotSaved;
    try {
        result = writeAsking(doc, request, fileName);
    } catch (const QuorError &e) {
        // The document stays open and changed: nothing is lost.
        tell(doc, otherErrorMessage(e.description), appTitle());
    }
    doc->showWriteMarks();
    if (result == SaveResult::Saved) {
        // What the file holds now: asked about once, not at every save.
        Document &d = doc->document();
        d.setFile(fileName, savedForm(request == SaveRequest::SaveAs ? PictureKind::Bmp
                                                                      : d.fileForm().kind));
        d.markSaved();
    }
    return result;
}

} // namespace quor
