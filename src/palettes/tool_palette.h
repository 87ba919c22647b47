// The tool palette: tool buttons, style panels, the gradient settings and
// the line width box. It does not draw: it sets the tool and style values
// the tool engine reads and pushes styles onto the active canvas.
#pragma once

#include "core/colour.h"
#include "core/tool_id.h"
#include "palettes/style_boxes.h"

#include <QWidget>

class QAbstractButton;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollArea;

namespace quor {

struct Workspace;
class DocumentWindow;
class KeyboardRing;
class PictureBox;

class ToolPalette : public QWidget
{
    Q_OBJECT
public:
    explicit ToolPalette(Workspace &workspace, QWidget *parent = nullptr);

    // Inner size of the palette, twips.
    static constexpr double InnerWidth = 960, InnerHeight = 6465;

    // Controls other parts read.
    QLineEdit *lineWidthBox() const { return m_width; } // line width, pixels
    QLineEdit *bandWidthBox() const { return m_bandWidth; } // band width, twips
    QLineEdit *angleBox() const { return m_angle; }    // direction, degrees
    QRadioButton *oneWayAcrossOption() const { return m_options[0]; }
    QRadioButton *twoWayAcrossOption() const { return m_options[1]; }
    QRadioButton *oneWayAlongOption() const { return m_options[2]; }
    QRadioButton *twoWayAlongOption() const { return m_options[3]; }
    PictureBox *startColourBox() const { return m_startColour; }
    PictureBox *endColourBox() const { return m_endColour; }
    QAbstractButton *button(int n) const { return m_commands[n - 1]; }
    QWidget *panel(int n) const { return m_frames[n - 1]; }
    QLabel *toolMarker() const { return m_marker; } // marker on the chosen button
    PictureBox *styleBox(StyleFamily f, int i) const;
    // 1 when the box carries its group's single border, else 0.
    static int borderStyleOf(const PictureBox *box);

    // Handlers. A tool button acts when it gets the focus.
    void buttonFocused(int command);
    void chooseStyleBox(StyleFamily f, int i);
    void pickStartColour();
    void pickEndColour();
    void lineWidthEdited();
    void bandWidthEdited();
    void angleEdited();

    // The fill or the colour picker, chosen from the toolbar: a tool of no
    // palette button.
    void chooseToolbarTool(ToolId tool);

    // The keyboard comes to the palette: the focus goes to the chosen
    // tool's button without choosing it again.
    void takeKeyboardFocus();
    KeyboardRing *keyboardRing() const { return m_ring; }
    // The button the marker lies on (CommandN), 0 for none.
    int currentButton() const { return m_current; }

    // Procedures on the active document.
    void dropActiveSelection();
    void cancelArcGuide();
    void showGradientLineStyles();
    void hideGradientLineStyles();

    // Sample redraws the colour palette asks for. applyDrawingColour: the
    // line samples in the drawing colour, the shape families' line samples
    // in their fore colours, the drawing colour as fill colour of the fill
    // boxes and the active canvas, then the fill samples again.
    void applyDrawingColour();
    // Fore colour c on boxes 1..14 of the box, circle and sector families,
    // with their samples redrawn.
    void applySampleForeColour(Colour c);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *e) override;

private:
    // What the gradient panel shows: a band width (ellipse and box), an
    // angle (directional), the arc band's width and its four kinds, the
    // text's angle, or nothing.
    enum class GradientPanel { BandWidth, Angle, ArcBand, Text, Hidden };

    void setUp();
    void buildButtons();
    void buildFrames();
    void buildStyleBoxes();
    void buildGradientControls();
    void buildWidthBox();
    void buildKeyboardRing();
    void runCommand(int command);
    void showOnlyFrame(int frame);
    // The marker on CommandN, or off the buttons for 0.
    void markButton(int command);
    void nameColourBox(PictureBox *box);
    void closeTextBox(DocumentWindow *doc);
    void showGradientPanel(GradientPanel s, const QString &widthTip = {});
    void pickGradientColour(bool start);
    void drawLineSamples();
    void drawShapeLineSamples();
    void drawFillSamples();
    DocumentWindow *activeDocument() const;

    Workspace &m_workspace;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_body = nullptr;
    QAbstractButton *m_commands[16] = {};
    QWidget *m_frames[6] = {};
    QLabel *m_marker = nullptr;
    int m_current = 1; // the marker starts on the select tool
    KeyboardRing *m_ring = nullptr;
    QList<PictureBox *> m_boxes[5];
    PictureBox *m_startColour = nullptr;
    PictureBox *m_endColour = nullptr;
    QLineEdit *m_bandWidth = nullptr;
    QLineEdit *m_angle = nullptr;
    QRadioButton *m_options[4] = {};
    QLineEdit *m_width = nullptr;
};

} // namespace quor
