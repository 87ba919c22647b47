// What a document window needs from the main window that holds it, seen
// from below: its document area, the menus it pops up, the command
// switches, the bitmap writer, and holding the program still while a long
// run draws.
#pragma once

#include <QSize>

#include <functional>

class QImage;
class QMdiArea;
class QMenu;
class QString;
class QWidget;

namespace quor {

class DocumentWindow;

// Why a document is written to its file: the name is asked for by Save
// and on closing when the document was never saved, by Save as always;
// Save all and closing ask their own questions about a read-only file.
enum class SaveRequest { Save, SaveAs, SaveAll, Close };
// NotSaved: cancelled, refused or failed, after saying why. Abort: Save
// all stops.
enum class SaveResult { Saved, NotSaved, Abort };

// Where a long run (a gradient fill, a gradient tool) that lets events
// through holds the program still. The main window provides it.
class RunHost
{
public:
    virtual ~RunHost() = default;
    // A run begins (going, with stop ending it before its next step) or has
    // ended. Meanwhile nothing but the runner may take input, Escape calls
    // stop, and a request to close a document or the program calls stop
    // and goes ahead only once the run has ended.
    virtual void runGoing(QWidget *runner, bool going, const std::function<void()> &stop) = 0;
};

class DocumentHost : public RunHost
{
public:
    virtual ~DocumentHost() = default;
    virtual QMdiArea *mdiArea() const = 0;
    // Inner size of the document area, in pixels.
    virtual QSize documentAreaSize() = 0;
    virtual QMenu *editMenu() const = 0;
    virtual QMenu *textBoxMenu() const = 0;
    // Enables or disables every command that needs an open document.
    virtual void enableDocumentCommands(bool enabled) = 0;
    // Writes a picture as a bitmap file; throws QuorError.
    virtual void writeBitmapFile(const QImage &image, const QString &fileName) = 0;
    // The one way a document is written to its file.
    virtual SaveResult saveDocument(DocumentWindow *doc, SaveRequest request) = 0;
};

} // namespace quor
