#include "core/dialog_seam.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace quor {

namespace {

DialogScript *g_script = nullptr;
DialogBackend *g_backend = nullptr;

void record(const ShownDialog &d)
{
    g_script->shown.append(d);
    if (g_script->onShow)
        g_script->onShow(d);
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

} // namespace

namespace mb {

QList<int> buttonsOf(int style)
{
    switch (style & 7) {
    case OkCancel: return {Ok, Cancel};
    case AbortRetryIgnore: return {Abort, Retry, Ignore};
    case YesNoCancel: return {Yes, No, Cancel};
    case YesNo: return {Yes, No};
    case RetryCancel: return {Retry, Cancel};
    default: return {Ok};
    }
}

int escapeAnswer(const QList<int> &buttons)
{
    if (buttons.contains(Cancel))
        return Cancel;
    if (buttons.size() == 1)
        return buttons.first();
    return buttons.contains(Abort) ? Abort : No;
}

} // namespace mb

void setDialogScript(DialogScript *script) { g_script = script; }
DialogScript *dialogScript() { return g_script; }
void setDialogBackend(DialogBackend *backend) { g_backend = backend; }

QString paddedMessage(const QString &message, int blanks)
{
    const QString pad(qMax(0, blanks), QLatin1Char(' '));
    return QLatin1Char('\r') + pad + message + pad + QLatin1Char('\r');
}

int msgBox(QObject *parent, const QString &text, int style, const QString &title)
{
    const QList<int> buttons = mb::buttonsOf(style);
    if (g_script) {
        record({QStringLiteral("message"), title, text, style, {}, {}});
        int answer = 0;
        return takeAnswer(g_script->messageAnswers, answer) ? answer : mb::escapeAnswer(buttons);
    }
    if (!g_backend)
        return mb::escapeAnswer(buttons);
    return g_backend->message(parent, text, style, title);
}

void CommonDialog::cancelled()
{
    FileName.clear();
    if (CancelError)
        throw QuorError(err::DialogCancelled, QCoreApplication::translate("quor", "取消被选择。"));
}

void CommonDialog::reset()
{
    auto kept = m_backendState;
    *this = CommonDialog(m_owner);
    m_backendState = kept;
}

static void runFileDialog(CommonDialog &d, bool save)
{
    if (g_script) {
        record({save ? QStringLiteral("save") : QStringLiteral("open"), d.DialogTitle, d.Filter,
                d.Flags, d.FileName, d.InitDir});
        QString answer;
        takeAnswer(g_script->fileAnswers, answer);
        d.FileName = answer;
        if (!g_script->filterAnswers.empty()) // optional: no unanswered dialog
            takeAnswer(g_script->filterAnswers, d.FilterIndex);
    } else if (g_backend) {
        g_backend->fileDialog(d, save);
    } else {
        d.FileName.clear();
    }
    if (d.FileName.isEmpty())
        d.cancelled();
}

void CommonDialog::ShowOpen() { runFileDialog(*this, false); }
void CommonDialog::ShowSave() { runFileDialog(*this, true); }

void CommonDialog::ShowColor()
{
    bool accepted = false;
    if (g_script) {
        record({QStringLiteral("colour"), DialogTitle, {}, Flags, {}, {}});
        DialogScript::ColourAnswer a{false, {}};
        if (takeAnswer(g_script->colourAnswers, a) && a.accepted) {
            accepted = true;
            Color = a.colour;
        }
    } else if (g_backend) {
        accepted = g_backend->colourDialog(*this);
    }
    if (!accepted)
        cancelled();
}

void CommonDialog::ShowFont()
{
    bool accepted = false;
    if (g_script) {
        record({QStringLiteral("font"), DialogTitle, {}, Flags, {}, {}});
        DialogScript::FontAnswer a{false, {}};
        if (takeAnswer(g_script->fontAnswers, a) && a.accepted) {
            accepted = true;
            Font = a.font;
        }
    } else if (g_backend) {
        accepted = g_backend->fontDialog(*this);
    }
    if (!accepted)
        cancelled();
}

static bool runPrinterDialog(CommonDialog &d, bool pageSetup)
{
    if (g_script) {
        record({pageSetup ? QStringLiteral("pagesetup") : QStringLiteral("print"), d.DialogTitle,
                {}, d.Flags, {}, {}});
        bool accepted = false;
        takeAnswer(g_script->printAnswers, accepted);
        return accepted;
    }
    return g_backend && g_backend->printDialog(d, pageSetup);
}

void CommonDialog::ShowPrinter()
{
    if (!runPrinterDialog(*this, false))
        cancelled();
}

void CommonDialog::ShowPageSetup()
{
    if (!runPrinterDialog(*this, true))
        cancelled();
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
