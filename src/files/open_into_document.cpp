#include "files/open_into_document.h"

#include "document/dialog_seam.h"
#include "document/document_window.h"
#include "files/file_texts.h"
#include "formats/picture_file_form.h"

#include <new>
#include <stdexcept>

namespace quor {

std::optional<QImage> readPictureFile(const QString &fileName, const QString &missingName,
                                      QObject *messageParent,
                                      const std::function<void()> &beforeMessage,
                                      PictureNotes *notes, PictureFileForm *form)
{
    for (;;) {
        try {
            return loadPictureFile(fileName, {}, notes, form);
        } catch (const QuorError &e) {
            if (e.number != err::FileNotFound)
                throw;
            if (beforeMessage)
                beforeMessage();
            if (ask(messageParent, notFoundMessage(missingName), fileName, Buttons::RetryCancel,
                    Icon::Exclamation)
                != Answer::Retry)
                return std::nullopt;
        }
    }
}

bool openIntoDocument(const QPointer<DocumentWindow> &doc, const QString &fileName,
                      QObject *messageParent, const std::function<void()> &beforeMessage,
                      PictureNotes *notes)
{
    if (!doc)
        return false;
    PictureFileForm form;
    const std::optional<QImage> picture =
        readPictureFile(fileName, doc->caption(), messageParent, beforeMessage, notes, &form);
    // The message may have outlived the window.
    if (!picture || !doc)
        return false;
    doc->document().loadPicture(*picture);
    doc->document().setFile(fileName, form);
    doc->document().markSaved();
    return true;
}

QString openFailureMessage()
{
    try {
        throw;
    } catch (const QuorError &e) {
        return otherErrorMessage(e.description);
    } catch (const std::overflow_error &) {
        return otherErrorMessage(QStringLiteral("溢出"));
    } catch (const std::bad_alloc &) {
        // The picture fit the limits but not what memory is left.
        return otherErrorMessage(QStringLiteral("内存不足，无法打开这张图片。"));
    }
}

} // namespace quor
