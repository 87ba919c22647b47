// The colour palette: the drawing, foreground and background colour boxes,
// the swatches, and the pointer and canvas-size read-outs.
#pragma once

#include "core/colour.h"

#include <QWidget>

class QLineEdit;

namespace quor {

struct ModuleQuorMain;
class PictureBox;
class frmquortools;

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
    PictureBox *Picture(int n) const; // swatches Picture9..Picture56

    // Puts the two read-outs at the right edge, 200 twips apart.
    void placeReadouts();

    // Handlers; each does nothing while no document is open.
    void Picture_Click(int n); // a swatch
    void PictureForeAndFillColor_DblClick();
    void Picture1Forecolor_DblClick();
    void Picture1backcolor_DblClick();
    void Text2_LostFocus();

    // The tool palette whose samples follow the colours.
    void setToolPalette(frmquortools *tools) { m_tools = tools; }

    // The three working colours: their boxes and the drawing settings.
    void setDrawingColour(Colour c);
    void setForeColour(Colour c);
    void setBackColour(Colour c);

    // Shows the drawing colour in the tool palette's samples and makes it
    // the fill colour of the active canvas.
    void hApplyDrawingColour();
    // The foreground colour in its box, the drawing settings and the tool
    // palette's samples; the samples take white for light grey, which would
    // vanish on their face, and so does the colour dialog's next colour.
    void hApplyForeColour(Colour c);

protected:
    void resizeEvent(QResizeEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    ModuleQuorMain &m_state;
    frmquortools *m_tools = nullptr;
    PictureBox *m_back;
    PictureBox *m_drawing;
    PictureBox *m_fore;
    QList<PictureBox *> m_swatches;
    QLineEdit *m_text1;
    QLineEdit *m_text2;
};

} // namespace quor
