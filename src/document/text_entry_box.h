// The text tool's entry box: a borderless text box on the canvas that grows
// with its text, measured by a hidden label. It holds several lines, as the
// canvas prints them, when a text file with line breaks is pasted into it.
#pragma once

#include <QLabel>
#include <QPlainTextEdit>

namespace quor {

class TextEntryBox : public QPlainTextEdit
{
    Q_OBJECT
public:
    TextEntryBox(QLabel *measure, QWidget *parent);

    // The longest text the box takes.
    static constexpr int MaxLength = 32767;
    int maxLength() const { return MaxLength; }

    // The text and its selection, with line breaks as '\n'.
    QString text() const { return toPlainText(); }
    void setText(const QString &text) { setPlainText(text); }
    bool hasSelectedText() const { return textCursor().hasSelection(); }
    QString selectedText() const;
    // Replaces the selection (or inserts at the caret).
    void insert(const QString &text);
    void setSelection(int start, int length);
    int cursorPosition() const { return textCursor().position(); }
    void setCursorPosition(int position);

    // Placement in twips inside the canvas.
    double Left() const { return m_left; }
    double Top() const { return m_top; }
    double Width() const { return m_width; }
    double Height() const { return m_height; }
    void Move(double left, double top, double width, double height);
    // Places the box at (left, top), sized to the measured text plus 50.
    void placeAt(double left, double top);
    // Escape: back to one letter's measure, empty and hidden.
    void abandon();

signals:
    // Right button at (x, y) in the box's own twips.
    void RightButtonDown(double x, double y);

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;

private:
    void textChangedResize();

    QLabel *m_measure;
    double m_left = 0, m_top = 0, m_width = 0, m_height = 0;
};

// Width and height of a label's text, in twips.
double labelWidth(const QLabel *l);
double labelHeight(const QLabel *l);

} // namespace quor
