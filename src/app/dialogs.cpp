#include "app/dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace quor {

namespace {

QMessageBox::StandardButton toQt(Answer answer)
{
    switch (answer) {
    case Answer::Ok: return QMessageBox::Ok;
    case Answer::Cancel: return QMessageBox::Cancel;
    case Answer::Abort: return QMessageBox::Abort;
    case Answer::Retry: return QMessageBox::Retry;
    case Answer::Ignore: return QMessageBox::Ignore;
    case Answer::Yes: return QMessageBox::Yes;
    case Answer::No: return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}

QMessageBox::Icon toQt(Icon icon)
{
    switch (icon) {
    case Icon::None: return QMessageBox::NoIcon;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Information: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

QWidget *ownerWidget(QObject *o)
{
    // A box centres over its owner's window; a dialog that is still loading
    // and not shown yet would put it at the screen's corner, so the nearest
    // owner on screen takes it.
    for (; o; o = o->parent())
        if (auto *w = qobject_cast<QWidget *>(o); w && w->window()->isVisible())
            return w;
    return QApplication::activeWindow();
}

// The index of the filter Qt reports as chosen. With hidden details Qt
// reports it as shown, without its last parenthesised patterns.
qsizetype chosenFilter(const QStringList &filters, const QString &reported)
{
    for (qsizetype i = 0; i < filters.size(); ++i) {
        const QString &f = filters[i];
        const QString shown = f.left(f.lastIndexOf(QLatin1String(" ("))).trimmed();
        if (f == reported || shown == reported.trimmed())
            return i;
    }
    return -1;
}

} // namespace

Answer QtDialogBackend::message(QObject *parent, const QString &text, const QString &title,
                                const MessageStyle &style)
{
    const QList<Answer> answers = answersOf(style.buttons);
    QMessageBox box(ownerWidget(parent));
    box.setWindowTitle(title);
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(shown);
    box.setIcon(toQt(style.icon));
    for (Answer a : answers)
        box.addButton(toQt(a));
    // First, second or third, in the order the buttons are shown.
    if (const int index = int(style.defaultButton); index < answers.size())
        box.setDefaultButton(toQt(answers[index]));
    box.setEscapeButton(toQt(escapeAnswer(style.buttons)));
    box.exec();
    for (Answer a : answers)
        if (box.clickedButton() == box.button(toQt(a)))
            return a;
    return escapeAnswer(style.buttons);
}

std::optional<FileChoice> QtDialogBackend::fileDialog(QObject *parent,
                                                      const FileDialogRequest &request,
                                                      FileDialogKind kind)
{
    const bool save = kind == FileDialogKind::Save;
    QFileDialog dlg(ownerWidget(parent), request.title, request.folder);
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setOption(QFileDialog::HideNameFilterDetails);
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Open takes any name too: a missing file is the command's to report.
    dlg.setFileMode(QFileDialog::AnyFile);
    // Without the overwrite question the dialog replaces silently.
    dlg.setOption(QFileDialog::DontConfirmOverwrite,
                  !request.options.testFlag(FileOption::ConfirmOverwrite));
    const QStringList filters = qtNameFilters(request.filter);
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        dlg.selectNameFilter(filters.value(qMax(0, request.filterEntry - 1)));
    }
    // Choosing another filter puts its first pattern's extension on the
    // typed name, which for our either-case patterns would be "[jJ][pP][gG]";
    // the plain extension of the filter text goes there instead.
    if (save && filters.size() > 1) {
        auto plainExtension = [&dlg, &request, filters](const QString &chosen) {
            const qsizetype entry = chosenFilter(filters, chosen);
            if (entry < 0)
                return;
            const QString pattern = request.filter.split(QLatin1Char('|'))
                                        .value(2 * int(entry) + 1)
                                        .section(QLatin1Char(';'), 0, 0);
            const QString extension = QFileInfo(pattern).suffix();
            auto *edit = dlg.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            if (!edit || extension.isEmpty() || extension.contains(QLatin1Char('*')))
                return;
            QString name = edit->text();
            const QString typed = QFileInfo(name).suffix();
            if (typed.isEmpty())
                return;
            name.chop(typed.size());
            edit->setText(name + extension);
        };
        QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg, plainExtension);
    }
    if (!request.fileName.isEmpty())
        dlg.selectFile(request.fileName);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return std::nullopt;
    FileChoice choice{QDir::toNativeSeparators(dlg.selectedFiles().first()), request.filterEntry};
    // Commands that read by the chosen entry ask for it afterwards.
    if (const qsizetype chosen = chosenFilter(filters, dlg.selectedNameFilter()); chosen >= 0)
        choice.filterEntry = int(chosen) + 1;
    return choice;
}

std::optional<QColor> QtDialogBackend::colourDialog(QObject *parent, const QString &title,
                                                    const QColor &start)
{
    const QColor c = QColorDialog::getColor(start.isValid() ? start : QColor(Qt::black),
                                            ownerWidget(parent), title,
                                            QColorDialog::DontUseNativeDialog);
    if (!c.isValid())
        return std::nullopt;
    return c;
}

std::optional<QFont> QtDialogBackend::fontDialog(QObject *parent, const QString &title,
                                                 const QFont &font)
{
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, font, ownerWidget(parent), title,
                                         QFontDialog::DontUseNativeDialog);
    if (!ok)
        return std::nullopt;
    return f;
}

bool QtDialogBackend::printDialog(QObject *parent, const QString &title, PrintOptions options,
                                  QPrinter &printer)
{
    QPrintDialog dlg(&printer, ownerWidget(parent));
    dlg.setWindowTitle(title);
    dlg.setOption(QAbstractPrintDialog::PrintPageRange,
                  !options.testFlag(PrintOption::NoPageNumbers));
    dlg.setOption(QAbstractPrintDialog::PrintSelection,
                  options.testFlag(PrintOption::OfferSelection));
    return dlg.exec() == QDialog::Accepted;
}

bool QtDialogBackend::pageSetupDialog(QObject *parent, const QString &title, QPrinter &printer)
{
    QPageSetupDialog dlg(&printer, ownerWidget(parent));
    dlg.setWindowTitle(title);
    return dlg.exec() == QDialog::Accepted;
}

} // namespace quor
