// The text tool's entry box: a borderless line edit on the canvas that
// grows with its text, measured by a hidden label.
#pragma once

#include <QLabel>
#include <QLineEdit>

namespace quor {

class TextEntryBox : public QLineEdit
{
    Q_OBJECT
public:
    TextEntryBox(QLabel *measure, QWidget *parent);

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
