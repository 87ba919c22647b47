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
    double leftTwips() const { return m_left; }
    double topTwips() const { return m_top; }
    double widthTwips() const { return m_width; }
    double heightTwips() const { return m_height; }
    void moveTwips(double left, double top, double width, double height);
    // Places the box at (left, top), sized to the measured text plus 50.
    void placeAt(double left, double top);
    // Escape: back to one letter's measure, empty and hidden.
    void abandon();

    // The canvas's view scale in percent: place, size and font shown that
    // much larger or smaller; the twips and the font set stay the picture's.
    void setViewScale(int percent);
    // The font as set, whatever the view scale shows.
    QFont pictureFont() const { return m_pictureFont; }

signals:
    // Right button at (x, y) in the box's own twips.
    void rightButtonPressed(double x, double y);

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void changeEvent(QEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;

private:
    void textChangedResize();
    void showFontScaled();

    QLabel *m_measure;
    double m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    int m_viewScale = 100;
    QFont m_pictureFont;
    bool m_scalingFont = false;
};

// Width and height of a label's text, in twips.
double labelWidth(const QLabel *l);
double labelHeight(const QLabel *l);

} // namespace quor
