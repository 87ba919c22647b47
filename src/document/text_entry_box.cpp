#include "document/text_entry_box.h"

#include "document/picture_box.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>

namespace quor {

// A text pasted or read from a file can hold line breaks: the label's
// extent is its widest line by its number of lines, as the canvas prints it.
double labelWidth(const QLabel *l)
{
    int widest = 0;
    for (const QString &line : l->text().split(QLatin1Char('\n')))
        widest = std::max(widest, l->fontMetrics().horizontalAdvance(line));
    return pixelsToTwips(widest);
}

double labelHeight(const QLabel *l)
{
    return pixelsToTwips(l->fontMetrics().height() * int(l->text().count(QLatin1Char('\n')) + 1));
}

TextEntryBox::TextEntryBox(QLabel *measure, QWidget *parent)
    : QPlainTextEdit(parent), m_measure(measure), m_pictureFont(font())
{
    setFrameShape(QFrame::NoFrame);
    // The text starts at the box's top-left corner, where the canvas prints
    // it on commit; the box grows instead of wrapping or scrolling.
    document()->setDocumentMargin(0);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    // The quick menu replaces the toolkit's own text menu.
    setContextMenuPolicy(Qt::NoContextMenu);
    connect(this, &QPlainTextEdit::textChanged, this, &TextEntryBox::textChangedResize);
}

QString TextEntryBox::selectedText() const
{
    // The cursor marks paragraph ends with U+2029.
    return textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

void TextEntryBox::insert(const QString &text)
{
    QTextCursor c = textCursor();
    c.insertText(text);
    setTextCursor(c);
}

void TextEntryBox::setSelection(int start, int length)
{
    QTextCursor c = textCursor();
    c.setPosition(start);
    c.setPosition(start + length, QTextCursor::KeepAnchor);
    setTextCursor(c);
}

void TextEntryBox::setCursorPosition(int position)
{
    QTextCursor c = textCursor();
    c.setPosition(std::clamp(position, 0, int(document()->characterCount()) - 1));
    setTextCursor(c);
}

void TextEntryBox::moveTwips(double left, double top, double width, double height)
{
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    // Room for the caret after the last letter, so text that measures as
    // wide as the box is shown whole.
    constexpr int innerMargins = 6;
    const int scale = m_viewScale;
    setGeometry(scaledTwipsToPixels(left, scale), scaledTwipsToPixels(top, scale),
                scaledTwipsToPixels(width, scale) + innerMargins, scaledTwipsToPixels(height, scale));
}

void TextEntryBox::setViewScale(int percent)
{
    if (percent == m_viewScale)
        return;
    m_viewScale = percent;
    showFontScaled();
    moveTwips(m_left, m_top, m_width, m_height);
}

void TextEntryBox::showFontScaled()
{
    QFont f = m_pictureFont;
    if (m_viewScale != 100) {
        if (f.pixelSize() > 0)
            f.setPixelSize(std::max(1, f.pixelSize() * m_viewScale / 100));
        else
            f.setPointSizeF(f.pointSizeF() * m_viewScale / 100);
    }
    m_scalingFont = true;
    setFont(f);
    m_scalingFont = false;
}

void TextEntryBox::wheelEvent(QWheelEvent *e)
{
    // Ctrl and the wheel zoom the view, not the box's own text.
    if (e->modifiers() & Qt::ControlModifier) {
        e->ignore();
        return;
    }
    QPlainTextEdit::wheelEvent(e);
}

void TextEntryBox::changeEvent(QEvent *e)
{
    // A font set from outside is the picture's font; the box shows it scaled.
    if (e->type() == QEvent::FontChange && !m_scalingFont) {
        m_pictureFont = font();
        if (m_viewScale != 100)
            showFontScaled();
    }
    QPlainTextEdit::changeEvent(e);
}

void TextEntryBox::placeAt(double left, double top)
{
    moveTwips(left, top, labelWidth(m_measure) + 50, labelHeight(m_measure) + 50);
}

void TextEntryBox::textChangedResize()
{
    m_measure->setText(text());
    placeAt(m_left, m_top);
    // Back to the first character, keeping the caret where it was.
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

void TextEntryBox::abandon()
{
    clear(); // measures the empty text first, so the "H" below stays
    m_measure->setText(QStringLiteral("H"));
    hide();
}

void TextEntryBox::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        abandon();
        return;
    }
    // The clipboard's text as a copy: Qt's own paste reads the offered data
    // object, which another program's clipboard may take away mid-read.
    if (e->matches(QKeySequence::Paste)) {
        if (!isReadOnly())
            insertPlainText(QGuiApplication::clipboard()->text());
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

void TextEntryBox::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::RightButton) {
        const QPoint p = e->position().toPoint();
        emit rightButtonPressed(pixelsToTwips(p.x()) * 100 / m_viewScale,
                                pixelsToTwips(p.y()) * 100 / m_viewScale);
        return;
    }
    QPlainTextEdit::mousePressEvent(e);
}

} // namespace quor
