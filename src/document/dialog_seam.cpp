#include "document/dialog_seam.h"

#include <QDir>
#include <QStandardPaths>

namespace quor {

namespace {

DialogScript *g_script = nullptr;
DialogBackend *g_backend = nullptr;
QColor g_colourStart; // invalid: black

void record(const ShownDialog &d)
{
    g_script->shown.append(d);
    if (g_script->onShow)
        g_script->onShow(d);
}

ShownDialog shownAs(const QString &kind, const QString &title)
{
    ShownDialog d;
    d.kind = kind;
    d.title = title;
    return d;
}

template <typename Queue>
bool takeAnswer(Queue &queue, typename Queue::value_type &out)
{
    if (queue.empty()) {
        ++g_script->unanswered;
        return false;
    }
    out = queue.front();
    queue.pop_front();
    return true;
}

std::optional<FileChoice> askFile(QObject *parent, const FileDialogRequest &request,
                                  FileDialogKind kind)
{
    g_colourStart = QColor();
    std::optional<FileChoice> choice;
    if (g_script) {
        ShownDialog shown = shownAs(kind == FileDialogKind::Save ? QStringLiteral("save")
                                                                 : QStringLiteral("open"),
                                    request.title);
        shown.text = request.filter;
        shown.fileName = request.fileName;
        shown.folder = request.folder;
        shown.fileOptions = request.options;
        record(shown);
        FileChoice answer{QString(), request.filterEntry};
        takeAnswer(g_script->fileAnswers, answer.fileName);
        if (!g_script->filterAnswers.empty()) // optional: no unanswered dialog
            takeAnswer(g_script->filterAnswers, answer.filterEntry);
        choice = answer;
    } else if (g_backend) {
        choice = g_backend->fileDialog(parent, request, kind);
    }
    if (choice && choice->fileName.isEmpty())
        return std::nullopt;
    return choice;
}

bool askPrinter(QObject *parent, const QString &title, PrintOptions options, QPrinter &printer,
                bool pageSetup)
{
    bool accepted = false;
    if (g_script) {
        ShownDialog shown = shownAs(pageSetup ? QStringLiteral("pagesetup") : QStringLiteral("print"),
                                    title);
        shown.printOptions = options;
        record(shown);
        takeAnswer(g_script->printAnswers, accepted);
    } else if (g_backend) {
        accepted = pageSetup ? g_backend->pageSetupDialog(parent, title, printer)
                             : g_backend->printDialog(parent, title, options, printer);
    }
    if (accepted)
        g_colourStart = QColor();
    return accepted;
}

} // namespace

QList<Answer> answersOf(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok: return {Answer::Ok};
    case Buttons::OkCancel: return {Answer::Ok, Answer::Cancel};
    case Buttons::AbortRetryIgnore: return {Answer::Abort, Answer::Retry, Answer::Ignore};
    case Buttons::YesNoCancel: return {Answer::Yes, Answer::No, Answer::Cancel};
    case Buttons::YesNo: return {Answer::Yes, Answer::No};
    case Buttons::RetryCancel: return {Answer::Retry, Answer::Cancel};
    }
    return {Answer::Ok};
}

Answer escapeAnswer(Buttons buttons)
{
    const QList<Answer> answers = answersOf(buttons);
    if (answers.contains(Answer::Cancel))
        return Answer::Cancel;
    if (answers.size() == 1)
        return answers.first();
    return answers.contains(Answer::Abort) ? Answer::Abort : Answer::No;
}

void setDialogScript(DialogScript *script)
{
    g_script = script;
    g_colourStart = QColor();
}

DialogScript *dialogScript() { return g_script; }

void setDialogBackend(DialogBackend *backend)
{
    g_backend = backend;
    g_colourStart = QColor();
}

QString paddedMessage(const QString &message, int blanks)
{
    const QString pad(qMax(0, blanks), QLatin1Char(' '));
    return QLatin1Char('\r') + pad + message + pad + QLatin1Char('\r');
}

Answer ask(QObject *parent, const QString &text, const QString &title, Buttons buttons, Icon icon,
           DefaultButton defaultButton)
{
    const MessageStyle style{buttons, icon, defaultButton};
    if (g_script) {
        ShownDialog shown = shownAs(QStringLiteral("message"), title);
        shown.text = text;
        shown.style = style;
        record(shown);
        Answer answer = Answer::Ok;
        return takeAnswer(g_script->messageAnswers, answer) ? answer : escapeAnswer(buttons);
    }
    if (!g_backend)
        return escapeAnswer(buttons);
    return g_backend->message(parent, text, title, style);
}

void tell(QObject *parent, const QString &text, const QString &title, Icon icon)
{
    ask(parent, text, title, Buttons::Ok, icon);
}

std::optional<FileChoice> askOpenFile(QObject *parent, const FileDialogRequest &request)
{
    return askFile(parent, request, FileDialogKind::Open);
}

std::optional<FileChoice> askSaveFile(QObject *parent, const FileDialogRequest &request)
{
    return askFile(parent, request, FileDialogKind::Save);
}

std::optional<QColor> askColour(QObject *parent, const QString &title, ColourOptions options)
{
    std::optional<QColor> chosen;
    if (g_script) {
        ShownDialog shown = shownAs(QStringLiteral("colour"), title);
        shown.colourOptions = options;
        record(shown);
        takeAnswer(g_script->colourAnswers, chosen);
    } else if (g_backend) {
        const QColor start =
            options.testFlag(ColourOption::StartFromColour) ? g_colourStart : QColor();
        chosen = g_backend->colourDialog(parent, title, start);
    }
    if (chosen)
        g_colourStart = *chosen;
    return chosen;
}

QColor colourDialogStart() { return g_colourStart; }
void setColourDialogStart(const QColor &colour) { g_colourStart = colour; }

std::optional<QFont> askFont(QObject *parent, const QString &title, const QFont &font)
{
    g_colourStart = QColor();
    if (g_script) {
        record(shownAs(QStringLiteral("font"), title));
        std::optional<QFont> chosen;
        takeAnswer(g_script->fontAnswers, chosen);
        return chosen;
    }
    return g_backend ? g_backend->fontDialog(parent, title, font) : std::nullopt;
}

bool askPrint(QObject *parent, const QString &title, PrintOptions options, QPrinter &printer)
{
    return askPrinter(parent, title, options, printer, false);
}

bool askPageSetup(QObject *parent, const QString &title, QPrinter &printer)
{
    return askPrinter(parent, title, {}, printer, true);
}

QStringList qtNameFilters(const QString &pairs)
{
    QStringList result;
    const QStringList parts = pairs.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString &p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            // "All files" means names without a dot too.
            if (p.trimmed() == QLatin1String("*.*")) {
                patterns << QStringLiteral("*");
                continue;
            }
            QString any;
            for (QChar c : p.trimmed()) {
                if (c.isLetter() && c.toLower() != c.toUpper())
                    any += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
                else
                    any += c;
            }
            patterns << any;
        }
        // Qt reads the patterns from the last parenthesised group and, with
        // HideNameFilterDetails, shows everything before it.
        result << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return result;
}

QString programFolder()
{
    // The program's own folder is not a place to keep pictures on this
    // desktop; the user's picture folder (or home) takes its part.
    QString dir = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (dir.isEmpty() || !QDir(dir).exists())
        dir = QDir::homePath();
    return dir;
}

} // namespace quor
