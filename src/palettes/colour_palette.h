// The colour palette: the drawing, foreground and background colour boxes,
// the swatches, and the pointer and canvas-size read-outs.
#pragma once

#include "core/colour.h"

#include <QWidget>

class QLineEdit;

namespace quor {

struct Workspace;
class KeyboardRing;
class PictureBox;
class ToolPalette;

class ColourPalette : public QWidget
{
    Q_OBJECT
public:
    explicit ColourPalette(Workspace &workspace, QWidget *parent = nullptr);

    PictureBox *backColourBox() const { return m_back; }
    PictureBox *drawingColourBox() const { return m_drawing; }
    PictureBox *foreColourBox() const { return m_fore; }
    QLineEdit *pointerBox() const { return m_pointerBox; } // pointer position
    QLineEdit *canvasSizeBox() const { return m_sizeBox; } // canvas size
    PictureBox *swatch(int n) const; // swatches Picture9..Picture56

    // Puts the two read-outs at the right edge, 200 twips apart.
    void placeReadouts();

    // Handlers; each does nothing while no document is open.
    void swatchClicked(int n); // a swatch
    // What a swatch click does with its colour.
    void chooseDrawingColour(Colour c);
    // The colour picker's pick: the drawing colour, or the background one.
    void colourTaken(Colour c, bool asBackground);
    void pickDrawingColour();
    void pickForeColour();
    void pickBackColour();
    void canvasSizeEdited();

    // The keyboard comes to the palette: the focus goes to the swatch or
    // colour box that had it last, at first to the first swatch.
    void takeKeyboardFocus();
    KeyboardRing *keyboardRing() const { return m_ring; }

    // The tool palette whose samples follow the colours.
    void setToolPalette(ToolPalette *tools) { m_tools = tools; }

    // The three working colours: their boxes and the drawing settings.
    void setDrawingColour(Colour c);
    void setForeColour(Colour c);
    void setBackColour(Colour c);

    // Shows the drawing colour in the tool palette's samples and makes it
    // the fill colour of the active canvas.
    void applyDrawingColour();
    // The foreground colour in its box, the drawing settings and the tool
    // palette's samples; the samples take white for light grey, which would
    // vanish on their face, and so does the colour dialog's next colour.
    void applyForeColour(Colour c);

protected:
    void resizeEvent(QResizeEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    Workspace &m_workspace;
    ToolPalette *m_tools = nullptr;
    PictureBox *m_back;
    PictureBox *m_drawing;
    PictureBox *m_fore;
    QList<PictureBox *> m_swatches;
    QLineEdit *m_pointerBox;
    QLineEdit *m_sizeBox;
    KeyboardRing *m_ring;
};

} // namespace quor
