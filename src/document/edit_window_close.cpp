// The close protocol with its save question, and the bookkeeping once a
// document window has gone.
#include "document/edit_window.h"

#include "core/dialog_seam.h"
#include "document/document_host.h"
#include "document/module_quor_main.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMdiSubWindow>
#include <QTimer>

#include <cstdlib>

namespace quor {

bool frmquoredit::closeDocument()
{
    if (m_sub)
        return m_sub->close();
    return close();
}

void frmquoredit::closeEvent(QCloseEvent *e)
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

void frmquoredit::writeCanvas(const QString &fileName)
{
    // The floating selection is never part of the canvas bitmap, so the
    // canvas is written as it is, without a write-out copy.
    if (!m_state.main)
        throw QuorError(err::PathFileAccess, QStringLiteral("路径/文件访问错误"));
    m_state.main->writeBitmapFile(m_doc.canvas().image(), fileName);
}

bool frmquoredit::closeProtocol()
{
    ModuleQuorMain &s = m_state;
    const int n = number();
    if (s.hEditCount > 1) {
        if (frmquoredit *other = s.hEditForms(n < s.hEditCount ? s.hEditCount : 1))
            other->activate();
        activate();
    }
    if (!m_doc.DataChanged)
        return true;

    const QString cap = caption();
    const int blanks = std::abs(int(cap.length()) - 22) / 2 + 10;
    const int answer = msgBox(this, paddedMessage(QStringLiteral("保存对此文件的更改吗？"), blanks),
                              mb::YesNoCancel, cap);
    if (answer == mb::Cancel)
        return false;
    if (answer == mb::No) {
        m_doc.DataChanged = false;
        return true;
    }

    auto showMarksAgain = [this] {
        if (m_doc.hSelect) {
            blinkSelectionFrame();
            m_copy->show();
        }
    };
    try {
        QString fileName = cap;
        if (cap.startsWith(QLatin1String("New Quor"))) {
            CommonDialog &dlg = s.main->commonDialog();
            dlg.reset();
            dlg.DialogTitle = QStringLiteral("保存 ") + cap;
            dlg.CancelError = true;
            dlg.Flags = 2099206;
            dlg.Filter = QStringLiteral("BMP (*.BMP)|*.bmp");
            dlg.InitDir = programFolder();
            dlg.FileName = cap;
            dlg.ShowSave();
            if (dlg.FileName.isEmpty()) {
                m_doc.DataChanged = false;
                return true;
            }
            fileName = dlg.FileName;
        }
        if (m_doc.hSelect) {
            m_shapesTimer->stop();
            m_shape1->setVisible(false);
            m_shape2->setVisible(false);
            m_copy->hide();
        }
        if (m_doc.hHulineradius) {
            huradiusTimer()->stop();
            huradiusLine1()->setVisible(false);
            huradiusLine2()->setVisible(false);
            m_doc.hHulineradius = false;
        }
        for (;;) {
            try {
                writeCanvas(fileName);
                break;
            } catch (const QuorError &e) {
                if (e.number != err::PathFileAccess)
                    throw;
                const int ro = std::abs(int(cap.length()) - 10) / 2 + 2;
                if (msgBox(this, paddedMessage(QStringLiteral("文件只读！"), ro),
                           mb::RetryCancel + mb::Exclamation, cap)
                    != mb::Retry) {
                    showMarksAgain();
                    return false;
                }
            }
        }
        showMarksAgain();
        setCaption(fileName);
        m_doc.DataChanged = false;
        return true;
    } catch (const QuorError &e) {
        if (e.number == err::DialogCancelled)
            return false;
        // Losing the picture to a failed write is worse than staying open:
        // the document stays open and changed.
        showMarksAgain();
        msgBox(this, QLatin1Char('\r') + e.description, mb::OkOnly,
               QCoreApplication::applicationName());
        return false;
    }
}

void frmquoredit::windowGone()
{
    m_gone = true;
    ModuleQuorMain &s = m_state;
    const int n = number();
    if (n >= 1 && n <= s.editForms.size())
        s.editForms.removeAt(n - 1);
    for (int i = n; i <= s.editForms.size(); ++i)
        if (frmquoredit *doc = s.hEditForms(i))
            doc->setTag(QString::number(i));
    s.hEditCount = std::int16_t(s.hEditCount - 1);
    if (s.hEditCount == 0) {
        s.hActiveEdit = nullptr;
        s.hEnableDocCommands(false);
    } else if (s.hActiveEdit == this) {
        s.hActiveEdit = nullptr; // the next activation sets it again
    }
}

} // namespace quor
