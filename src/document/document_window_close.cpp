// The close protocol with its save question, and the bookkeeping once a
// document window has gone.
#include "document/document_window.h"

#include "document/dialog_seam.h"
#include "document/document_host.h"
#include "document/workspace.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

#include <cstdlib>

namespace quor {

bool DocumentWindow::closeDocument()
{
    if (m_sub)
        return m_sub->close();
    return close();
}

void DocumentWindow::closeEvent(QCloseEvent *e)
{
    if (m_gone) {
        e->accept();
        return;
    }
    if (!closeProtocol()) {
        e->ignore();
        return;
    }
    e->accept();
    windowGone();
}

void DocumentWindow::writeCanvas(const QString &fileName)
{
    // The floating selection is never part of the canvas bitmap, so the
    // canvas is written as it is, without a write-out copy.
    if (!m_workspace.host)
        throw QuorError(err::PathFileAccess, QStringLiteral("路径/文件访问错误"));
    m_workspace.host->writeBitmapFile(m_doc.canvas().image(), fileName);
}

bool DocumentWindow::closeProtocol()
{
    // The window about to close is shown active, after the one that will
    // be active once it has gone.
    Workspace &s = m_workspace;
    const int n = s.numberOf(this);
    if (s.documentCount() > 1) {
        if (DocumentWindow *other = s.document(n < s.documentCount() ? s.documentCount() : 1))
            other->activate();
        activate();
    }
    if (!m_doc.isModified())
        return true;

    const QString cap = caption();
    const int blanks = std::abs(int(cap.length()) - 22) / 2 + 10;
    const Answer answer = ask(this, paddedMessage(QStringLiteral("保存对此文件的更改吗？"), blanks),
                              cap, Buttons::YesNoCancel);
    if (answer == Answer::Cancel)
        return false;
    if (answer == Answer::No) {
        m_doc.discardChanges();
        return true;
    }
    // Losing the picture to a failed write is worse than staying open: the
    // document stays open and changed.
    return s.host && s.host->saveDocument(this, SaveRequest::Close) != SaveResult::NotSaved;
}

void DocumentWindow::windowGone()
{
    m_gone = true;
    m_workspace.remove(this);
}

} // namespace quor
