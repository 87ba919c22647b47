// The colour palette: the drawing, foreground and background colour boxes,
// the swatches, and the pointer and canvas-size read-outs.
#pragma once

#include <QWidget>

class QLineEdit;

namespace quor {

struct ModuleQuorMain;
class PictureBox;

class frmquorcolortool : public QWidget
{
    Q_OBJECT
public:
    explicit frmquorcolortool(ModuleQuorMain &state, QWidget *parent = nullptr);

    PictureBox *Picture1backcolor() const { return m_back; }
    PictureBox *PictureForeAndFillColor() const { return m_drawing; }
    PictureBox *Picture1Forecolor() const { return m_fore; }
    QLineEdit *Text1() const { return m_text1; } // pointer position
    QLineEdit *Text2() const { return m_text2; } // canvas size

    // Puts the two read-outs at the right edge, 200 twips apart.
    void placeReadouts();

protected:
    void resizeEvent(QResizeEvent *e) override;

private:
    ModuleQuorMain &m_state;
    PictureBox *m_back;
    PictureBox *m_drawing;
    PictureBox *m_fore;
    QLineEdit *m_text1;
    QLineEdit *m_text2;
};

} // namespace quor
