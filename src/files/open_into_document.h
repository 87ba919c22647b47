// Loading a picture file into a document window just made for it, as
// Open and the browser do.
#pragma once

#include <QImage>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class QObject;

namespace quor {

class DocumentWindow;
struct PictureNotes;
struct PictureFileForm;

// Reads fileName; while it is missing, asks Retry or Cancel (the message
// names missingName and is titled with fileName; beforeMessage runs first).
// Nothing when the user cancelled; any other failure throws. What the
// picture could not show goes to notes, and what kind of file it was (and
// what of it the canvas can not hold) to form, when given.
std::optional<QImage> readPictureFile(const QString &fileName, const QString &missingName,
                                      QObject *messageParent,
                                      const std::function<void()> &beforeMessage = {},
                                      PictureNotes *notes = nullptr, PictureFileForm *form = nullptr);

// Loads fileName into doc and names the document after it. A missing file
// asks Retry or Cancel (titled with the name; beforeMessage runs first) and
// Retry tries again. False when the user cancelled or the window went; the
// window stays either way. Any other failure throws QuorError.
bool openIntoDocument(const QPointer<DocumentWindow> &doc, const QString &fileName,
                      QObject *messageParent, const std::function<void()> &beforeMessage = {},
                      PictureNotes *notes = nullptr);

// The message for the open failure being handled (inside a catch block):
// the error's description, an overflow, or memory running out. Anything
// else is thrown on.
QString openFailureMessage();

} // namespace quor
