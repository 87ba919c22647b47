#include "app/dialogs.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>

namespace quor {

namespace {

DialogScript *g_script = nullptr;

void record(const ShownDialog &d)
{
    if (!g_script)
        return;
    g_script->shown.append(d);
    if (g_script->onShow)
        g_script->onShow(d);
}

QMessageBox::StandardButton toQt(int answer)
{
    switch (answer) {
    case mb::Ok: return QMessageBox::Ok;
    case mb::Cancel: return QMessageBox::Cancel;
    case mb::Abort: return QMessageBox::Abort;
    case mb::Retry: return QMessageBox::Retry;
    case mb::Ignore: return QMessageBox::Ignore;
    case mb::Yes: return QMessageBox::Yes;
    case mb::No: return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}

QList<int> buttonsOf(int style)
{
    switch (style & 7) {
    case mb::OkCancel: return {mb::Ok, mb::Cancel};
    case mb::AbortRetryIgnore: return {mb::Abort, mb::Retry, mb::Ignore};
    case mb::YesNoCancel: return {mb::Yes, mb::No, mb::Cancel};
    case mb::YesNo: return {mb::Yes, mb::No};
    case mb::RetryCancel: return {mb::Retry, mb::Cancel};
    default: return {mb::Ok};
    }
}

// The answer a box gives when closed without a choice (Escape, close box).
int escapeAnswer(const QList<int> &buttons)
{
    if (buttons.contains(mb::Cancel))
        return mb::Cancel;
    if (buttons.size() == 1)
        return buttons.first();
    return buttons.contains(mb::Abort) ? mb::Abort : mb::No;
}

} // namespace

void setDialogScript(DialogScript *script) { g_script = script; }
DialogScript *dialogScript() { return g_script; }

QString paddedMessage(const QString &message, int blanks)
{
    const QString pad(qMax(0, blanks), QLatin1Char(' '));
    return QLatin1Char('\r') + pad + message + pad + QLatin1Char('\r');
}

int msgBox(QWidget *parent, const QString &text, int style, const QString &title)
{
    const QList<int> buttons = buttonsOf(style);
    if (g_script) {
        record({QStringLiteral("message"), title, text, style, {}, {}});
        if (g_script->messageAnswers.empty()) {
            ++g_script->unanswered;
            return escapeAnswer(buttons);
        }
        const int answer = g_script->messageAnswers.front();
        g_script->messageAnswers.pop_front();
        return answer;
    }

    QMessageBox box(parent);
    box.setWindowTitle(title);
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(shown);
    switch (style & 0x70) {
    case mb::Critical: box.setIcon(QMessageBox::Critical); break;
    case mb::Question: box.setIcon(QMessageBox::Question); break;
    case mb::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case mb::Information: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    for (int b : buttons)
        box.addButton(toQt(b));
    const int defaultIndex = (style & 0x300) >> 8;
    if (defaultIndex < buttons.size())
        box.setDefaultButton(toQt(buttons[defaultIndex]));
    box.setEscapeButton(toQt(escapeAnswer(buttons)));
    box.exec();
    for (int b : buttons)
        if (box.clickedButton() == box.button(toQt(b)))
            return b;
    return escapeAnswer(buttons);
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

void CommonDialog::cancelled()
{
    FileName.clear();
    if (CancelError)
        throw QuorError(err::DialogCancelled, QCoreApplication::translate("quor", "取消被选择。"));
}

void CommonDialog::reset()
{
    auto printer = m_printer;
    *this = CommonDialog(m_owner);
    m_printer = printer;
}

static void runFileDialog(CommonDialog &d, QWidget *owner, bool save)
{
    const QString kind = save ? QStringLiteral("save") : QStringLiteral("open");
    if (g_script) {
        record({kind, d.DialogTitle, d.Filter, d.Flags, d.FileName, d.InitDir});
        QString answer;
        if (!g_script->fileAnswers.empty()) {
            answer = g_script->fileAnswers.front();
            g_script->fileAnswers.pop_front();
        } else {
            ++g_script->unanswered;
        }
        d.FileName = answer;
        return;
    }
    QFileDialog dlg(owner, d.DialogTitle, d.InitDir);
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setOption(QFileDialog::HideNameFilterDetails);
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Without the overwrite prompt flag (2) the dialog replaces silently.
    dlg.setOption(QFileDialog::DontConfirmOverwrite, !(d.Flags & 2));
    const QStringList filters = qtNameFilters(d.Filter);
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        dlg.selectNameFilter(filters.value(qMax(0, d.FilterIndex - 1)));
    }
    if (!d.FileName.isEmpty())
        dlg.selectFile(d.FileName);
    d.FileName.clear();
    if (dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty())
        d.FileName = QDir::toNativeSeparators(dlg.selectedFiles().first());
}

void CommonDialog::ShowOpen()
{
    runFileDialog(*this, m_owner, false);
    if (FileName.isEmpty())
        cancelled();
}

void CommonDialog::ShowSave()
{
    runFileDialog(*this, m_owner, true);
    if (FileName.isEmpty())
        cancelled();
}

void CommonDialog::ShowColor()
{
    bool accepted = false;
    if (g_script) {
        record({QStringLiteral("colour"), DialogTitle, {}, Flags, {}, {}});
        if (!g_script->colourAnswers.empty()) {
            auto a = g_script->colourAnswers.front();
            g_script->colourAnswers.pop_front();
            accepted = a.accepted;
            if (accepted)
                Color = a.colour;
        } else {
            ++g_script->unanswered;
        }
    } else {
        const QColor c = QColorDialog::getColor(Color.isValid() ? Color : Qt::black, m_owner,
                                                DialogTitle, QColorDialog::DontUseNativeDialog);
        accepted = c.isValid();
        if (accepted)
            Color = c;
    }
    if (!accepted)
        cancelled();
}

void CommonDialog::ShowFont()
{
    bool accepted = false;
    if (g_script) {
        record({QStringLiteral("font"), DialogTitle, {}, Flags, {}, {}});
        if (!g_script->fontAnswers.empty()) {
            auto a = g_script->fontAnswers.front();
            g_script->fontAnswers.pop_front();
            accepted = a.accepted;
            if (accepted)
                Font = a.font;
        } else {
            ++g_script->unanswered;
        }
    } else {
        bool ok = false;
        const QFont f = QFontDialog::getFont(&ok, Font, m_owner, DialogTitle,
                                             QFontDialog::DontUseNativeDialog);
        accepted = ok;
        if (ok)
            Font = f;
    }
    if (!accepted)
        cancelled();
}

// A printer or page-setup dialog: scripted runs take the next answer.
static bool runPrinterDialog(const QString &kind, const QString &title, int flags,
                             const std::function<bool()> &show)
{
    if (!g_script)
        return show();
    record({kind, title, {}, flags, {}, {}});
    if (g_script->printAnswers.empty()) {
        ++g_script->unanswered;
        return false;
    }
    const bool accepted = g_script->printAnswers.front();
    g_script->printAnswers.pop_front();
    return accepted;
}

QPrinter &CommonDialog::printer()
{
    if (!m_printer)
        m_printer = std::make_shared<QPrinter>();
    return *m_printer;
}

void CommonDialog::ShowPrinter()
{
    if (!runPrinterDialog(QStringLiteral("print"), DialogTitle, Flags, [this] {
            QPrintDialog dlg(&printer(), m_owner);
            return dlg.exec() == QDialog::Accepted;
        }))
        cancelled();
}

void CommonDialog::ShowPageSetup()
{
    if (!runPrinterDialog(QStringLiteral("pagesetup"), DialogTitle, Flags, [this] {
            QPageSetupDialog dlg(&printer(), m_owner);
            return dlg.exec() == QDialog::Accepted;
        }))
        cancelled();
}

} // namespace quor
