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

int QtDialogBackend::message(QObject *parent, const QString &text, int style,
                             const QString &title)
{
    const QList<int> buttons = mb::buttonsOf(style);
    QMessageBox box(ownerWidget(parent));
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
    box.setEscapeButton(toQt(mb::escapeAnswer(buttons)));
    box.exec();
    for (int b : buttons)
        if (box.clickedButton() == box.button(toQt(b)))
            return b;
    return mb::escapeAnswer(buttons);
}

void QtDialogBackend::fileDialog(CommonDialog &d, bool save)
{
    QFileDialog dlg(ownerWidget(d.owner()), d.DialogTitle, d.InitDir);
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setOption(QFileDialog::HideNameFilterDetails);
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Open takes any name too: a missing file is the command's to report.
    dlg.setFileMode(QFileDialog::AnyFile);
    // Without the overwrite prompt flag (2) the dialog replaces silently.
    dlg.setOption(QFileDialog::DontConfirmOverwrite, !(d.Flags & 2));
    const QStringList filters = qtNameFilters(d.Filter);
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        dlg.selectNameFilter(filters.value(qMax(0, d.FilterIndex - 1)));
    }
    // Choosing another filter puts its first pattern's extension on the
    // typed name, which for our either-case patterns would be "[jJ][pP][gG]";
    // the plain extension of the filter text goes there instead.
    if (save && filters.size() > 1) {
        auto plainExtension = [&dlg, &d, filters](const QString &chosen) {
            const qsizetype entry = chosenFilter(filters, chosen);
            if (entry < 0)
                return;
            const QString pattern = d.Filter.split(QLatin1Char('|'))
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
    if (!d.FileName.isEmpty())
        dlg.selectFile(d.FileName);
    d.FileName.clear();
    if (dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty()) {
        d.FileName = QDir::toNativeSeparators(dlg.selectedFiles().first());
        // Commands that read by the chosen entry ask for it afterwards.
        if (const qsizetype chosen = chosenFilter(filters, dlg.selectedNameFilter()); chosen >= 0)
            d.FilterIndex = int(chosen) + 1;
    }
}

bool QtDialogBackend::colourDialog(CommonDialog &d)
{
    const QColor c = QColorDialog::getColor(d.Color.isValid() ? d.Color : Qt::black,
                                            ownerWidget(d.owner()), d.DialogTitle,
                                            QColorDialog::DontUseNativeDialog);
    if (!c.isValid())
        return false;
    d.Color = c;
    return true;
}

bool QtDialogBackend::fontDialog(CommonDialog &d)
{
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, d.Font, ownerWidget(d.owner()), d.DialogTitle,
                                         QFontDialog::DontUseNativeDialog);
    if (ok)
        d.Font = f;
    return ok;
}

bool QtDialogBackend::printDialog(CommonDialog &d, bool pageSetup)
{
    if (pageSetup) {
        QPageSetupDialog dlg(&printerOf(d), ownerWidget(d.owner()));
        dlg.setWindowTitle(d.DialogTitle);
        return dlg.exec() == QDialog::Accepted;
    }
    QPrintDialog dlg(&printerOf(d), ownerWidget(d.owner()));
    dlg.setWindowTitle(d.DialogTitle);
    // Flags: 8 no page numbers, 1 the selection option.
    dlg.setOption(QAbstractPrintDialog::PrintPageRange, !(d.Flags & 0x8));
    dlg.setOption(QAbstractPrintDialog::PrintSelection, bool(d.Flags & 0x1));
    return dlg.exec() == QDialog::Accepted;
}

QPrinter &printerOf(CommonDialog &d)
{
    std::shared_ptr<void> &state = d.backendState();
    if (!state)
        state = std::make_shared<QPrinter>();
    return *static_cast<QPrinter *>(state.get());
}

} // namespace quor
