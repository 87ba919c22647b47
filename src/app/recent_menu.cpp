// File menu: the pictures opened or saved last, above Exit's separator.
// Each opens like Open; one that has gone says so and leaves the list.
#include "app/main_window.h"

#include "document/document_window.h"
#include "files/file_texts.h"

#include <QAction>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QMenu>

namespace quor {

void MainWindow::buildRecentFileEntries()
{
    QAction *exitBar = action("mnuFileBar3");
    QMenu *file = findChild<QMenu *>(QStringLiteral("mnuFile"));
    m_recentBar = new QAction(this);
    m_recentBar->setSeparator(true);
    m_recentBar->setObjectName(QStringLiteral("mnuFileBarRecent"));
    file->insertAction(exitBar, m_recentBar);
    for (int i = 1; i <= RecentFiles::Count; ++i) {
        auto *entry = new QAction(this);
        entry->setObjectName(QStringLiteral("mnuFileRecent%1").arg(i));
        connect(entry, &QAction::triggered, this, [this, i] {
            // The list may change while the picture opens.
            openRecentFile(m_recentFiles.files().value(i - 1));
        });
        file->insertAction(exitBar, entry);
        m_recentEntries << entry;
    }
    updateRecentFileEntries();
}

void MainWindow::updateRecentFileEntries()
{
    const QStringList &files = m_recentFiles.files();
    m_recentBar->setVisible(!files.isEmpty());
    for (int i = 0; i < m_recentEntries.size(); ++i) {
        m_recentEntries[i]->setVisible(i < files.size());
        m_recentEntries[i]->setText(i < files.size() ? recentEntryText(i + 1, files[i]) : QString());
    }
}

void MainWindow::rememberRecentFile(const QString &fileName)
{
    m_recentFiles.add(fileName);
    updateRecentFileEntries();
}

void MainWindow::openRecentFile(const QString &fileName)
{
    if (fileName.isEmpty())
        return;
    if (!QFileInfo(fileName).isFile()) {
        tell(this, notFoundMessage(fileName), fileName, Icon::Exclamation);
        m_recentFiles.remove(fileName);
        updateRecentFileEntries();
        return;
    }
    // Open and unchanged, it is the same picture: its window comes forward
    // rather than a second copy. A changed one opens again as the file
    // holds it, beside the changes.
    const QString file = QFileInfo(fileName).canonicalFilePath();
    for (DocumentWindow *doc : m_workspace.documents()) {
        if (!doc || doc->document().isModified() || !QFileInfo(doc->caption()).isAbsolute()
            || QFileInfo(doc->caption()).canonicalFilePath() != file)
            continue;
        if (auto *sub = qobject_cast<QMdiSubWindow *>(doc->parentWidget()); sub && sub->isMinimized())
            sub->showNormal();
        doc->activate();
        return;
    }
    openPictureFile(fileName);
}

} // namespace quor
