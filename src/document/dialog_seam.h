// The one seam every dialog and message box of the program goes through.
//
// A command asks with typed buttons or a typed request and gets a typed
// answer: the button pressed, or the file, colour or font chosen, nothing
// when the user cancelled. In the running program a DialogBackend shows
// Qt's own dialogs (the main window installs it); a test installs a
// DialogScript and the seam answers from its queues instead, recording
// everything that would have been shown, so no test blocks on a modal
// window.
#pragma once

#include <QColor>
#include <QFlags>
#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>

class QObject;
class QPrinter;

namespace quor {

// What a message box offers: its buttons, its icon, which button is the
// default, and the answer of the button pressed.
enum class Buttons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class Icon { None, Critical, Question, Exclamation, Information };
enum class DefaultButton { First, Second, Third };
enum class Answer { Ok, Cancel, Abort, Retry, Ignore, Yes, No };

struct MessageStyle
{
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    DefaultButton defaultButton = DefaultButton::First;

    bool operator==(const MessageStyle &) const = default;
};

// The answers of the buttons, in the order the box shows them.
QList<Answer> answersOf(Buttons buttons);
// What a box answers when closed without a choice (Escape, the close box):
// Cancel when it has one, its only button, else Abort, else No.
Answer escapeAnswer(Buttons buttons);

// A message box: its text (carriage returns become line breaks) and
// title, its buttons and icon; the answer of the button pressed.
Answer ask(QObject *parent, const QString &text, const QString &title, Buttons buttons,
           Icon icon = Icon::None, DefaultButton defaultButton = DefaultButton::First);
// A message box with only OK.
void tell(QObject *parent, const QString &text, const QString &title, Icon icon = Icon::None);

// Builds the message texts the program uses: one carriage return, n
// blanks, the message, n blanks, one carriage return.
QString paddedMessage(const QString &message, int blanks);

// What the commands ask of the file dialogs. Qt's dialog acts on the
// overwrite question; it has no read-only box, and a name in a missing
// folder fails when the command writes it.
enum class FileOption { HideReadOnly = 0x1, ConfirmOverwrite = 0x2, PathMustExist = 0x4 };
Q_DECLARE_FLAGS(FileOptions, FileOption)

struct FileDialogRequest
{
    QString title;
    QString filter;      // "Description|*.a;*.b|…" pairs
    int filterEntry = 1; // the entry shown first, 1-based
    QString folder;      // where the dialog starts
    QString fileName;    // the name it offers
    FileOptions options;
};

// A file chosen, and the filter entry (1-based) it was chosen under.
struct FileChoice
{
    QString fileName;
    int filterEntry = 1;
};

enum class FileDialogKind { Open, Save };

std::optional<FileChoice> askOpenFile(QObject *parent, const FileDialogRequest &request);
std::optional<FileChoice> askSaveFile(QObject *parent, const FileDialogRequest &request);

// Folder the file dialogs start in.
QString programFolder();

// "A|*.a;*.b|B|*.c" into Qt name filters whose patterns match either case
// while the combo box still shows each description as given.
QStringList qtNameFilters(const QString &pairs);

// StartFromColour opens the colour dialog on the colour last chosen in it
// rather than on black; Qt's dialog is always fully open.
enum class ColourOption { StartFromColour = 0x1, FullyOpen = 0x2 };
Q_DECLARE_FLAGS(ColourOptions, ColourOption)

std::optional<QColor> askColour(QObject *parent, const QString &title, ColourOptions options);

// The program's dialogs remember as one: the colour dialog opens on the
// colour last chosen in it, or last put there, until a file or font
// dialog, or an accepted printer dialog, starts them afresh and it opens
// on black again. Installing a script or a backend starts afresh too.
QColor colourDialogStart();
void setColourDialogStart(const QColor &colour);

// The font chosen; the dialog opens on font.
std::optional<QFont> askFont(QObject *parent, const QString &title, const QFont &font);

enum class PrintOption { NoPageNumbers = 0x1, OfferSelection = 0x2 };
Q_DECLARE_FLAGS(PrintOptions, PrintOption)

// The print and page-setup dialogs set up the printer they are given (the
// main window keeps one for both, so Page setup's paper applies to the
// next Print); true when the user accepted.
bool askPrint(QObject *parent, const QString &title, PrintOptions options, QPrinter &printer);
bool askPageSetup(QObject *parent, const QString &title, QPrinter &printer);

// One shown dialog or message box, as recorded for tests.
struct ShownDialog
{
    QString kind; // "message", "open", "save", "colour", "font", "print", "pagesetup"
    QString title;
    QString text;       // message text, or the file dialog's filter
    MessageStyle style; // of a message box
    QString fileName;   // the name a file dialog offers
    QString folder;     // and where it starts
    FileOptions fileOptions;
    ColourOptions colourOptions;
    PrintOptions printOptions;
};

// Queued answers for scripted runs. An empty file name, or no colour or
// font, cancels that dialog.
struct DialogScript
{
    std::deque<Answer> messageAnswers;
    std::deque<QString> fileAnswers;
    // The filter entry (1-based) each file dialog returns as chosen; with
    // none queued the entry it was given stays.
    std::deque<int> filterAnswers;
    std::deque<std::optional<QColor>> colourAnswers;
    std::deque<std::optional<QFont>> fontAnswers;
    std::deque<bool> printAnswers; // print and page-setup dialogs
    QList<ShownDialog> shown;
    // Runs as each dialog is shown, before it is answered.
    std::function<void(const ShownDialog &)> onShow;
    int unanswered = 0; // dialogs shown with an empty queue (answered Cancel)
};

// Installs (or with nullptr removes) the script the seam answers from.
void setDialogScript(DialogScript *script);
DialogScript *dialogScript();

// What shows real dialogs. Each call blocks until the user answers.
class DialogBackend
{
public:
    virtual ~DialogBackend() = default;
    virtual Answer message(QObject *parent, const QString &text, const QString &title,
                           const MessageStyle &style) = 0;
    virtual std::optional<FileChoice> fileDialog(QObject *parent, const FileDialogRequest &request,
                                                 FileDialogKind kind) = 0;
    // start: invalid for black.
    virtual std::optional<QColor> colourDialog(QObject *parent, const QString &title,
                                               const QColor &start) = 0;
    virtual std::optional<QFont> fontDialog(QObject *parent, const QString &title,
                                            const QFont &font) = 0;
    virtual bool printDialog(QObject *parent, const QString &title, PrintOptions options,
                             QPrinter &printer) = 0;
    virtual bool pageSetupDialog(QObject *parent, const QString &title, QPrinter &printer) = 0;
};

// Installs the backend for unscripted runs (nullptr: every dialog cancels).
void setDialogBackend(DialogBackend *backend);

} // namespace quor

Q_DECLARE_OPERATORS_FOR_FLAGS(quor::FileOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(quor::ColourOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(quor::PrintOptions)
