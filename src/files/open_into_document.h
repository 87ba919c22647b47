// Loading a picture file into a document window just made for it, as
// Open and the browser do.
#pragma once

#include <QPointer>
#include <QString>

#include <functional>

class QObject;

namespace quor {

class DocumentWindow;
struct PictureNotes;

// Loads fileName into doc and names the document after it. A missing file
// asks Retry or Cancel (titled with the name; beforeMessage runs first) and
// Retry tries again. False when the user cancelled or the window went; the
// window stays either way. Any other failure throws QuorError. What the
// picture could not show goes to notes, when given.
bool openIntoDocument(const QPointer<DocumentWindow> &doc, const QString &fileName,
                      QObject *messageParent, const std::function<void()> &beforeMessage = {},
                      PictureNotes *notes = nullptr);

} // namespace quor
