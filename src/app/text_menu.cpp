// The text tool's commands: the text box's quick menu (the box's own
// clipboard commands, Paste from a file, the text commit) and the Font
// command the box, the canvas and the floating selection share.
#include "app/main_window.h"

#include "core/screen_rate.h"
#include "document/document_window.h"
#include "files/file_texts.h"
#include "formats/rtf_reader.h"
#include "formats/text_file.h"
#include "tools/text_commit.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>

#include <new>

namespace quor {

namespace {

QString fixedCaption()
{
    return QString::fromUtf8(ProductName) + QStringLiteral(" - ") + QString::fromUtf8(AuthorCredit);
}

// Errors that mean the file named cannot be had: the user may retry.
bool fileUnreachable(int number)
{
    return number == err::PathFileAccess || number == err::FileNotFound
        || number == err::NotARegularFile || number == err::PathNotFound;
}

// Sizes the box to its measuring label, keeping the caret where it was
// while the box scrolls back to its first character.
void fitTextBox(TextEntryBox *box, QLabel *label)
{
    box->moveTwips(box->leftTwips(), box->topTwips(), labelWidth(label) + 50, labelHeight(label) + 50);
    const int caret = box->cursorPosition();
    box->setCursorPosition(0);
    box->setCursorPosition(caret);
}

// The font with the dialog's name, size, strikeout, underline, italic and
// bold; everything else the font had stays.
QFont withChosen(QFont f, const QFont &chosen)
{
    f.setFamily(chosen.family());
    if (chosen.pointSizeF() > 0)
        f.setPointSizeF(chosen.pointSizeF());
    else if (chosen.pixelSize() > 0)
        f.setPixelSize(chosen.pixelSize());
    f.setStrikeOut(chosen.strikeOut());
    f.setUnderline(chosen.underline());
    f.setItalic(chosen.italic());
    f.setBold(chosen.bold());
    return f;
}

} // namespace

void MainWindow::selectAllText()
{
    if (DocumentWindow *doc = m_workspace.activeDocument())
        doc->view()->textBox()->selectAll();
}

// Without a selection the clipboard keeps what it holds: copying nothing
// over it would lose it.
void MainWindow::cutText()
{
    DocumentWindow *doc = m_workspace.activeDocument();
    if (!doc || !doc->view()->textBox()->hasSelectedText())
        return;
    QGuiApplication::clipboard()->setText(doc->view()->textBox()->selectedText());
    doc->view()->textBox()->insert(QString());
}

void MainWindow::copyText()
{
    DocumentWindow *doc = m_workspace.activeDocument();
    if (!doc || !doc->view()->textBox()->hasSelectedText())
        return;
    QGuiApplication::clipboard()->setText(doc->view()->textBox()->selectedText());
}

// A clipboard without text leaves the selection as it is.
void MainWindow::pasteText()
{
    DocumentWindow *doc = m_workspace.activeDocument();
    if (!doc)
        return;
    const QString text = QGuiApplication::clipboard()->text();
    if (!text.isEmpty())
        doc->view()->textBox()->insert(text);
}

void MainWindow::pasteTextFromFile()
{
    const QPointer<DocumentWindow> doc = m_workspace.activeDocument();
    if (!doc)
        return;
    FileDialogRequest request;
    request.title = QStringLiteral("打开");
    request.options = OpenDialogOptions;
    request.folder = programFolder();
    request.filter = textFileFilter();
    const std::optional<FileChoice> choice = askOpenFile(this, request);
    if (!choice)
        return;
    const QString fileName = choice->fileName;
    const TextFileKind kind = textKindForFilter(choice->filterEntry);
    try {
        QString text;
        for (;;) {
            try {
                text = readTextFile(fileName, kind);
                break;
            } catch (const QuorError &e) {
                if (!fileUnreachable(e.number) || !doc)
                    throw;
                if (ask(this, notFoundMessage(doc->caption()), fileName, Buttons::RetryCancel,
                        Icon::Exclamation)
                    != Answer::Retry)
                    return;
            }
        }
        if (!doc)
            return; // closed while the question was open
        // The box would cut a longer text off without a word.
        if (text.size() > doc->view()->textBox()->maxLength())
            throw QuorError(err::OutOfMemory, QString());
        doc->view()->textBox()->setText(text);
    } catch (const QuorError &e) {
        if (e.number == err::OutOfMemory)
            tell(this, QStringLiteral("\r       文件过长！"), fixedCaption());
        else
            tell(this, QStringLiteral("\r    ") + e.description, fixedCaption());
    } catch (const std::bad_alloc &) {
        tell(this, QStringLiteral("\r       文件过长！"), fixedCaption());
    }
}

void MainWindow::chooseFont()
{
    DocumentWindow *doc = m_workspace.activeDocument();
    if (!doc)
        return;
    // The dialog opens on the font in use.
    const std::optional<QFont> chosen =
        askFont(this, QStringLiteral("字体..."), doc->document().canvas().font());
    if (!chosen || chosen->family().isEmpty())
        return;
    TextEntryBox *box = doc->view()->textBox();
    QLabel *label = doc->view()->textMeasure();
    label->setFont(withChosen(label->font(), *chosen));
    box->setFont(withChosen(box->font(), *chosen));
    fitTextBox(box, label);
    Document &d = doc->document();
    d.changeTextFont([&chosen](const QFont &f) { return withChosen(f, *chosen); });
}

void MainWindow::commitText()
{
    DocumentWindow *doc = m_workspace.activeDocument();
    if (!doc)
        return;
    TextEntryBox *box = doc->view()->textBox();
    QLabel *label = doc->view()->textMeasure();
    Document &d = doc->document();
    const CanvasSurface &canvas = d.canvas();

    // The box fits the text and moves one box-height down for the next
    // line; the text goes where it was.
    const double x0 = box->leftTwips(), y0 = box->topTwips();
    box->moveTwips(x0, box->topTwips() + box->heightTwips(), labelWidth(label) + 50, labelHeight(label) + 50);
    const TwipBox buffer = textBuffer(x0, y0, box->widthTwips(), box->heightTwips(), canvas.scaleWidth(),
                                      canvas.scaleHeight());

    const DrawingSettings &s = m_workspace.settings;
    const Colour boxColour = fromQColor(box->palette().color(QPalette::Text));
    const auto steps = textSweep(buffer.width, buffer.height, textGradientOfKind(s.gradientKind),
                                 s.gradientAngle, boxColour, s.startColour(), s.endColour());
    // The gradient builds up on screen, repainted as often as the screen
    // can show it rather than once per twip.
    QPointer<DocumentWindow> shown = doc;
    const Document::Step step(d); // the committed text is one step of the history
    sweepText(d, box->text(), canvas.font(), {x0, y0}, buffer, steps,
              {[rate = ScreenRate()]() mutable { return rate.due(); },
               [shown] {
                   if (shown)
                       shown->repaint();
               }});

    // The text is cleared before the label takes "H" back, which its
    // change would measure away.
    box->clear();
    label->setText(QStringLiteral("H"));
    d.markChanged();
    box->setFocus();
}

} // namespace quor
