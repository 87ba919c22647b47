#include "files/save_document.h"

#include "core/dialog_seam.h"
#include "document/document_window.h"
#include "files/file_texts.h"
#include "formats/bitmap_file.h"
#include "formats/picture_export.h"

#include <QCoreApplication>

namespace quor {

QString askSaveName(CommonDialog &dlg, const QString &title, const QString &initialName)
{
    dlg.reset();
    dlg.CancelError = true;
    dlg.DialogTitle = title;
    dlg.Flags = SaveDialogFlags;
    dlg.Filter = bitmapFilter();
    dlg.InitDir = programFolder();
    dlg.FileName = initialName;
    dlg.ShowSave();
    const QString name = dlg.FileName;
    dlg.reset();
    return name;
}

namespace {

QString appTitle() { return QCoreApplication::applicationName(); }

// The file's name: the caption, or what the save dialog gives.
QString fileNameFor(DocumentWindow *doc, SaveRequest request, CommonDialog &dlg)
{
    const QString cap = doc->caption();
    if (request != SaveRequest::SaveAs && !doc->document().fileName().isEmpty())
        return doc->document().fileName();
    const QString word = request == SaveRequest::SaveAs ? QStringLiteral("另存为 ") : QStringLiteral("保存 ");
    return askSaveName(dlg, word + cap, cap);
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
        msgBox(doc, otherErrorMessage(lost), mb::OkOnly + mb::Exclamation, appTitle());
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
    return msgBox(doc, text, mb::OkCancel + mb::Exclamation, appTitle()) == mb::Ok;
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
                const int answer = msgBox(doc, saveAllReadOnlyMessage(cap),
                                          mb::AbortRetryIgnore + mb::Exclamation + mb::DefaultButton2,
                                          cap);
                if (answer == mb::Retry)
                    continue;
                return answer == mb::Abort ? SaveResult::Abort : SaveResult::NotSaved;
            }
            if (msgBox(doc, readOnlyMessage(cap), mb::RetryCancel + mb::Exclamation, cap) != mb::Retry)
                return SaveResult::NotSaved;
        }
    }
}

} // namespace

SaveResult saveDocument(DocumentWindow *doc, SaveRequest request, CommonDialog &dlg)
{
    QString fileName;
    try {
        fileName = fileNameFor(doc, request, dlg);
    } catch (const QuorError &e) {
        if (e.number != err::DialogCancelled)
            msgBox(doc, otherErrorMessage(e.description), mb::OkOnly, appTitle());
        return SaveResult::NotSaved;
    }
    if (fileName.isEmpty()) {
        if (request != SaveRequest::Close)
            return SaveResult::NotSaved;
        doc->document().discardChanges();
        return SaveResult::Discarded;
    }
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
        msgBox(doc, otherErrorMessage(e.description), mb::OkOnly, appTitle());
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
