// The File commands of the main window: Open, Save, Save as, Save all,
// Close all and Properties, and the routines that take a floating
// selection's marks and the arc guides out of the way while a document is
// written.
#include "app/main_window.h"

#include "document/edit_window.h"
#include "files/file_properties_dialog.h"
#include "files/file_texts.h"
#include "files/open_into_document.h"
#include "formats/picture_loader.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

#include <new>
#include <stdexcept>

namespace quor {

namespace {

QString appTitle() { return QCoreApplication::applicationName(); }

// Shows the save dialog; the name chosen (cancel throws 32755).
QString askSaveName(CommonDialog &dlg, const QString &title, const QString &initialName)
{
    dlg.reset();
    dlg.CancelError = true;
    dlg.DialogTitle = title;
    dlg.Flags = SaveDialogFlags;
    dlg.Filter = bitmapFilter();
    dlg.InitDir = programFolder();
    dlg.FileName = initialName;
    dlg.ShowSave();
    const QString name = dlg.FileName;
    dlg.reset();
    return name;
}

void hideWriteMarks(frmQuorMain &w, frmquoredit *doc)
{
    if (doc->document().hSelect)
        w.hHideSelectionMarks(doc);
    if (doc->document().hHulineradius)
        w.hHideRadiusLines(doc);
}

void showWriteMarks(frmQuorMain &w, frmquoredit *doc)
{
    if (doc->document().hSelect)
        w.hShowSelectionMarks(doc);
    if (doc->document().hHulineradius)
        w.hShowRadiusLines(doc);
}

// Save and Save as: the active document, asking for a name when it was
// never saved or when `alwaysAsk`.
void saveActive(frmQuorMain &w, bool alwaysAsk, const QString &titleWord)
{
    frmquoredit *doc = w.state().hActiveEdit;
    if (!doc)
        return;
    try {
        QString fileName = doc->caption();
        if (alwaysAsk || isUnsavedCaption(fileName)) {
            fileName = askSaveName(w.dlgCommonDialog, titleWord + doc->caption(), doc->caption());
            if (fileName.isEmpty())
                return;
        }
        hideWriteMarks(w, doc);
        for (;;) {
            try {
                doc->writeCanvas(fileName);
                break;
            } catch (const QuorError &e) {
                // The marks come back whatever happens: a floating selection
                // left invisible would still be pasted by Enter.
                if (e.number != err::PathFileAccess) {
                    showWriteMarks(w, doc);
                    throw;
                }
                const QString cap = doc->caption();
                if (msgBox(&w, readOnlyMessage(cap), mb::RetryCancel + mb::Exclamation, cap) != mb::Retry) {
                    showWriteMarks(w, doc);
                    return;
                }
            }
        }
        showWriteMarks(w, doc);
        doc->setCaption(fileName);
        doc->document().markSaved();
    } catch (const QuorError &e) {
        if (e.number != err::DialogCancelled)
            msgBox(&w, otherErrorMessage(e.description), mb::OkOnly, appTitle());
    }
}

} // namespace

void frmQuorMain::hHideSelectionMarks(frmquoredit *doc)
{
    if (!(doc = doc ? doc : m_state.hActiveEdit.data()))
        return;
    doc->hselectshapesTimer()->stop();
    doc->PictureCopy()->hide();
    doc->hselectShape1()->setVisible(false);
    doc->hselectShape2()->setVisible(false);
    for (int i = 0; i < 8; ++i)
        doc->selectionHandle(i)->hide();
}

void frmQuorMain::hShowSelectionMarks(frmquoredit *doc)
{
    if (!(doc = doc ? doc : m_state.hActiveEdit.data()))
        return;
    doc->PictureCopy()->show();
    doc->hselectShape1()->setVisible(true);
    for (int i = 0; i < 8; ++i)
        doc->selectionHandle(i)->show();
    doc->hselectshapesTimer()->start();
}

void frmQuorMain::hHideRadiusLines(frmquoredit *doc)
{
    if (!(doc = doc ? doc : m_state.hActiveEdit.data()))
        return;
    doc->huradiusTimer()->stop();
    doc->huradiusLine1()->setVisible(false);
    doc->huradiusLine2()->setVisible(false);
}

void frmQuorMain::hShowRadiusLines(frmquoredit *doc)
{
    if (!(doc = doc ? doc : m_state.hActiveEdit.data()))
        return;
    doc->huradiusLine1()->setVisible(true);
    doc->huradiusTimer()->start();
}

void frmQuorMain::hSetEditChanged()
{
    if (frmquoredit *doc = m_state.hActiveEdit)
        doc->document().DataChanged = true;
}

void frmQuorMain::mnuFileOpen_Click()
{
    try {
        CommonDialog &dlg = dlgCommonDialog;
        dlg.reset();
        dlg.CancelError = true;
        dlg.DialogTitle = QStringLiteral("打开...");
        dlg.Flags = OpenDialogFlags;
        dlg.Filter = openFilter();
        dlg.InitDir = programFolder();
        dlg.ShowOpen();
        if (dlg.FileName.isEmpty())
            return;
        const QString fileName = dlg.FileName;
        dlg.reset();

        hNewEditWindow();
        const QPointer<frmquoredit> doc = m_state.hActiveEdit;
        // The window stays whatever the loading gives; with it on screen
        // the document commands belong enabled.
        m_state.hEnableDocCommands(true);
        if (!openIntoDocument(doc, fileName, this))
            return;
        applyDrawingSettings();
        m_state.hEnableDocCommands(true);
    } catch (const QuorError &e) {
        if (e.number != err::DialogCancelled)
            msgBox(this, otherErrorMessage(e.description), mb::OkOnly, appTitle());
    } catch (const std::overflow_error &) {
        msgBox(this, otherErrorMessage(QStringLiteral("溢出")), mb::OkOnly, appTitle());
    } catch (const std::bad_alloc &) {
        // The picture fit the limits but not what memory is left.
        msgBox(this, otherErrorMessage(QStringLiteral("内存不足，无法打开这张图片。")), mb::OkOnly,
               appTitle());
    }
}

void frmQuorMain::mnuAllFileClose_Click()
{
    // From the last down, so a refusal leaves the numbers below it alone.
    for (int i = m_state.hEditCount; i >= 1; --i)
        if (frmquoredit *doc = m_state.hEditForms(i))
            doc->closeDocument();
}

void frmQuorMain::mnuFileSave_Click()
{
    saveActive(*this, false, QStringLiteral("保存 "));
}

void frmQuorMain::mnuFileSaveAs_Click()
{
    saveActive(*this, true, QStringLiteral("另存为 "));
}

void frmQuorMain::mnuAllFileSave_Click()
{
    const int count = m_state.hEditCount;
    for (int i = 1; i <= count; ++i) {
        frmquoredit *doc = m_state.hEditForms(i);
        if (!doc)
            continue;
        QString fileName = doc->caption();
        if (isUnsavedCaption(fileName)) {
            try {
                fileName = askSaveName(dlgCommonDialog, QStringLiteral("保存 ") + doc->caption(),
                                       doc->caption());
            } catch (const QuorError &e) {
                // A cancelled dialog skips this document; so does any other
                // failure, after saying so.
                if (e.number != err::DialogCancelled)
                    msgBox(this, otherErrorMessage(e.description), mb::OkOnly, appTitle());
                fileName.clear();
            }
        }
        if (fileName.isEmpty())
            continue;

        hideWriteMarks(*this, doc);
        bool skip = false, abort = false;
        for (;;) {
            try {
                doc->writeCanvas(fileName);
                break;
            } catch (const QuorError &e) {
                if (e.number == err::PathFileAccess) {
                    const QString cap = doc->caption();
                    const int answer = msgBox(this, saveAllReadOnlyMessage(cap),
                                              mb::AbortRetryIgnore + mb::Exclamation
                                                  + mb::DefaultButton2,
                                              cap);
                    if (answer == mb::Retry)
                        continue;
                    abort = answer == mb::Abort;
                } else {
                    msgBox(this, otherErrorMessage(e.description), mb::OkOnly, appTitle());
                }
                // Ignored or failed: this document keeps its caption and
                // changed flag, and the others are still saved.
                skip = true;
                break;
            }
        }
        showWriteMarks(*this, doc);
        if (abort)
            return;
        if (skip)
            continue;
        doc->setCaption(fileName);
        doc->document().markSaved();
    }
}

void frmQuorMain::mnuFileProperties_Click()
{
    frmquoredit *doc = m_state.hActiveEdit;
    if (!doc)
        return;
    // The dialog reports its own failures; nothing else is left to say.
    try {
        Frmquorfileattribute::showFor(doc->caption(), this);
    } catch (...) {
    }
}

} // namespace quor
