// The File commands of the main window: Open, Save, Save as, Save all,
// Close all and Properties.
#include "app/main_window.h"

#include "document/document_window.h"
#include "files/file_properties_dialog.h"
#include "files/file_texts.h"
#include "files/open_into_document.h"
#include "files/save_document.h"
#include "formats/picture_loader.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

#include <new>
#include <stdexcept>

namespace quor {

namespace {

QString appTitle() { return QCoreApplication::applicationName(); }

} // namespace

void MainWindow::markActiveDocumentChanged()
{
    if (DocumentWindow *doc = m_workspace.activeDocument())
        doc->document().markChanged();
}

void MainWindow::openPicture()
{
    FileDialogRequest request;
    request.title = QStringLiteral("打开...");
    request.options = OpenDialogOptions;
    request.filter = openFilter();
    request.folder = programFolder();
    if (const std::optional<FileChoice> choice = askOpenFile(this, request))
        openPictureFile(choice->fileName);
}

void MainWindow::openPictureFile(const QString &fileName)
{
    try {
        newDocumentWindow();
        const QPointer<DocumentWindow> doc = m_workspace.activeDocument();
        // The window stays whatever the loading gives; with it on screen
        // the document commands belong enabled.
        m_workspace.enableDocumentCommands(true);
        PictureNotes notes;
        if (!openIntoDocument(doc, fileName, this, {}, &notes))
            return;
        showPictureNotes(notes);
        applyDrawingSettings();
        m_workspace.enableDocumentCommands(true);
        rememberRecentFile(fileName);
    } catch (const std::exception &) {
        tell(this, openFailureMessage(), appTitle());
    }
}

void MainWindow::closeAll()
{
    // From the last down, so a refusal leaves the numbers below it alone.
    for (int i = m_workspace.documentCount(); i >= 1; --i)
        if (DocumentWindow *doc = m_workspace.document(i))
            doc->closeDocument();
}

SaveResult MainWindow::saveDocument(DocumentWindow *doc, SaveRequest request)
{
    const SaveResult result = quor::saveDocument(doc, request, this);
    if (result == SaveResult::Saved)
        rememberRecentFile(doc->caption());
    return result;
}

void MainWindow::save()
{
    if (DocumentWindow *doc = m_workspace.activeDocument())
        saveDocument(doc, SaveRequest::Save);
}

void MainWindow::saveAs()
{
    if (DocumentWindow *doc = m_workspace.activeDocument())
        saveDocument(doc, SaveRequest::SaveAs);
}

// Every document in turn; one that is not saved keeps its caption and
// changed flag, and the others are still saved unless the user aborts.
void MainWindow::saveAll()
{
    const int count = m_workspace.documentCount();
    for (int i = 1; i <= count; ++i)
        if (DocumentWindow *doc = m_workspace.document(i))
            if (saveDocument(doc, SaveRequest::SaveAll) == SaveResult::Abort)
                return;
}

void MainWindow::showFileProperties()
{
    DocumentWindow *doc = m_workspace.activeDocument();
    if (!doc)
        return;
    // The dialog reports its own failures; nothing else is left to say.
    try {
        FilePropertiesDialog::showFor(doc->caption(), this);
    } catch (...) {
    }
}

} // namespace quor
