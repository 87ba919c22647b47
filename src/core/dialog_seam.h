// The one seam every dialog and message box of the program goes through.
//
// Commands fill a CommonDialog and call its Show… methods, or call msgBox.
// In the running program a DialogBackend shows Qt's own dialogs (the
// application installs it); a test installs a DialogScript and the seam
// answers from its queues instead, recording everything that would have
// been shown, so no test blocks on a modal window.
#pragma once

#include "core/errors.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>

class QObject;

namespace quor {

// Message box button sets, icons and default buttons (combined by adding),
// and its answers.
namespace mb {
constexpr int OkOnly = 0, OkCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4,
              RetryCancel = 5;
constexpr int Critical = 16, Question = 32, Exclamation = 48, Information = 64;
constexpr int DefaultButton1 = 0, DefaultButton2 = 256, DefaultButton3 = 512;
enum Answer { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

// The buttons of a style, and the answer a box gives when closed without
// a choice (Escape, close box).
QList<int> buttonsOf(int style);
int escapeAnswer(const QList<int> &buttons);
} // namespace mb

// One shown dialog or message box, as recorded for tests.
struct ShownDialog
{
    QString kind;  // "message", "open", "save", "colour", "font", "print", "pagesetup"
    QString title;
    QString text;  // message text, or the dialog's filter
    int buttons = 0; // message box style value (buttons + icon + default)
    QString fileName; // initial file name of file dialogs
    QString initDir;
};

// Queued answers for scripted runs. A file dialog answer with an empty
// name, or a colour/font answer marked cancelled, cancels that dialog.
struct DialogScript
{
    std::deque<int> messageAnswers;
    std::deque<QString> fileAnswers;
    // The filter entry (1-based) each file dialog returns as chosen; with
    // none queued the entry it was given stays.
    std::deque<int> filterAnswers;
    struct ColourAnswer { bool accepted; QColor colour; };
    std::deque<ColourAnswer> colourAnswers;
    struct FontAnswer { bool accepted; QFont font; };
    std::deque<FontAnswer> fontAnswers;
    std::deque<bool> printAnswers; // print and page-setup dialogs
    QList<ShownDialog> shown;
    // Runs as each dialog is shown, before it is answered.
    std::function<void(const ShownDialog &)> onShow;
    int unanswered = 0; // dialogs shown with an empty queue (answered Cancel)
};

// Installs (or with nullptr removes) the script the seam answers from.
void setDialogScript(DialogScript *script);
DialogScript *dialogScript();

class CommonDialog;

// What shows real dialogs. Each call blocks until the user answers.
class DialogBackend
{
public:
    virtual ~DialogBackend() = default;
    virtual int message(QObject *parent, const QString &text, int style,
                        const QString &title) = 0;
    // Sets d.FileName to the name chosen, or empties it on cancel.
    virtual void fileDialog(CommonDialog &d, bool save) = 0;
    virtual bool colourDialog(CommonDialog &d) = 0; // sets d.Color
    virtual bool fontDialog(CommonDialog &d) = 0;   // sets d.Font
    virtual bool printDialog(CommonDialog &d, bool pageSetup) = 0;
};

// Installs the backend for unscripted runs (nullptr: every dialog cancels).
void setDialogBackend(DialogBackend *backend);

// A message box shaped like the classic one: text (carriage returns become
// line breaks), style = buttons + icon + default button, title; returns the
// button pressed.
int msgBox(QObject *parent, const QString &text, int style, const QString &title);

// Builds the message texts the program uses: one carriage return, n
// blanks, the message, n blanks, one carriage return.
QString paddedMessage(const QString &message, int blanks);

// The common-dialog component owned by the main window. Set the
// properties, then call a Show… method; Cancel throws QuorError 32755 when
// CancelError is set (the program always sets it) and leaves FileName
// empty otherwise.
class CommonDialog
{
public:
    explicit CommonDialog(QObject *owner) : m_owner(owner) {}

    QString DialogTitle;
    QString Filter;      // "Description|*.a;*.b|…" pairs
    int FilterIndex = 1; // the entry shown first, and after a file dialog the one chosen
    int Flags = 0;
    QString InitDir;
    QString FileName;
    bool CancelError = true;
    QColor Color;
    QFont Font;

    void ShowOpen();
    void ShowSave();
    void ShowColor();
    void ShowFont();
    void ShowPrinter();
    void ShowPageSetup();
    // Resets every property, like releasing the dialog; what the backend
    // keeps (the printer) stays.
    void reset();

    QObject *owner() const { return m_owner; }
    // Kept across reset() for the backend: the one printer both printer
    // dialogs set up.
    std::shared_ptr<void> &backendState() { return m_backendState; }

    // Clears FileName and, with CancelError, throws 32755.
    void cancelled();

private:
    QObject *m_owner;
    std::shared_ptr<void> m_backendState;
};

// "A|*.a;*.b|B|*.c" into Qt name filters whose patterns match either case
// while the combo box still shows each description as given.
QStringList qtNameFilters(const QString &pairs);

// Folder the file dialogs start in.
QString programFolder();

} // namespace quor
