#include "files/open_into_document.h"

#include "core/dialog_seam.h"
#include "document/document_window.h"
#include "files/file_texts.h"
#include "formats/picture_loader.h"

namespace quor {

bool openIntoDocument(const QPointer<DocumentWindow> &doc, const QString &fileName,
                      QObject *messageParent, const std::function<void()> &beforeMessage)
{
    PictureKind kind = PictureKind::Unknown;
    for (;;) {
        try {
            const QImage picture = loadPictureFile(fileName, {}, &kind);
            if (!doc)
                return false;
            doc->document().loadPicture(picture);
            break;
        } catch (const QuorError &e) {
            if (e.number != err::FileNotFound || !doc)
                throw;
            if (beforeMessage)
                beforeMessage();
            if (msgBox(messageParent, notFoundMessage(doc->caption()),
                       mb::RetryCancel + mb::Exclamation, fileName)
                != mb::Retry)
                return false;
        }
    }
    doc->setCaption(fileName);
    doc->setFileKind(kind);
    doc->document().markSaved();
    return true;
}

} // namespace quor
