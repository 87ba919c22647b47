// Opening picture files that come from outside the program: its command
// line at start-up and files dropped on the main window or a document.
#include "app/files_from_outside.h"

#include "app/main_window.h"
#include "document/document_window.h"
#include "files/file_texts.h"
#include "files/open_into_document.h"
#include "formats/picture_loader.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <new>
#include <stdexcept>

namespace quor {

QStringList filesFromArguments(const QStringList &arguments, const QString &workingDir)
{
    QStringList files;
    bool options = true;
    for (const QString &arg : arguments.mid(1)) {
        if (options && arg == QLatin1String("--")) {
            options = false;
            continue;
        }
        if (arg.isEmpty() || (options && arg.startsWith(QLatin1Char('-'))))
            continue;
        QString path = arg;
        // Some launchers hand over URLs; only local ones can be opened.
        if (arg.startsWith(QLatin1String("file:")) || arg.contains(QLatin1String("://"))) {
            const QUrl url(arg);
            if (!url.isLocalFile())
                continue;
            path = url.toLocalFile();
        }
        files << QDir::cleanPath(QDir(workingDir).absoluteFilePath(path));
    }
    return files;
}

QStringList droppedFiles(const QMimeData *data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl &url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        if (!QFileInfo(path).isDir())
            files << path;
    }
    return files;
}

namespace {

// Reads the picture before a window is made, so a file that can not be
// opened leaves none behind. The messages carry the file's name as their
// title: with several files the user must see which one failed.
bool openOne(MainWindow &w, const QString &fileName)
{
    Workspace &s = w.workspace();
    try {
        PictureNotes notes;
        PictureFileForm form;
        const std::optional<QImage> picture =
            readPictureFile(fileName, fileName, &w, {}, &notes, &form);
        if (!picture)
            return false;
        w.newDocumentWindow();
        const QPointer<DocumentWindow> doc = s.activeDocument();
        try {
            doc->document().loadPicture(*picture);
        } catch (...) {
            doc->document().markSaved();
            doc->closeDocument();
            throw;
        }
        doc->document().setFile(fileName, form);
        doc->document().markSaved();
        w.applyDrawingSettings();
        s.enableDocumentCommands(true);
        w.showPictureNotes(notes);
        w.rememberRecentFile(fileName);
        return true;
    } catch (const std::exception &) {
        tell(&w, openFailureMessage(), fileName);
    }
    return false;
}

} // namespace

int MainWindow::openFilesFromOutside(const QStringList &files)
{
    int opened = 0;
    for (const QString &file : files)
        opened += openOne(*this, file);
    return opened;
}

void MainWindow::openStartFiles(const QStringList &files)
{
    if (openFilesFromOutside(files) == 0 && m_workspace.documentCount() == 0) {
        newDocumentWindow();
        enableDocumentCommands(true);
    }
}

void MainWindow::dragEnterEvent(QDragEnterEvent *e)
{
    if (droppedFiles(e->mimeData()).isEmpty())
        e->ignore();
    else
        e->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *e)
{
    const QStringList files = droppedFiles(e->mimeData());
    if (files.isEmpty()) {
        e->ignore();
        return;
    }
    e->acceptProposedAction();
    // Opened once the drop is over: a message box inside it would hold the
    // program the files came from until it is answered.
    QTimer::singleShot(0, this, [this, files] { openFilesFromOutside(files); });
}

} // namespace quor
