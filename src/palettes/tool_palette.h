// The tool palette: tool buttons, style panels, the gradient settings and
// the line width box. It does not draw: it sets the tool and style values
// the tool engine reads and pushes styles onto the active canvas.
#pragma once

#include "core/colour.h"
#include "palettes/style_boxes.h"

#include <QWidget>

class QAbstractButton;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollArea;

namespace quor {

struct ModuleQuorMain;
class frmquoredit;
class PictureBox;

class frmquortools : public QWidget
{
    Q_OBJECT
public:
    explicit frmquortools(ModuleQuorMain &state, QWidget *parent = nullptr);

    // Inner size of the palette, twips.
    static constexpr double InnerWidth = 960, InnerHeight = 6465;

    // Controls other parts read.
    QLineEdit *Text1() const { return m_width; } // line width, pixels
    QLineEdit *hlinewidthText() const { return m_bandWidth; } // band width, twips
    QLineEdit *hlinecornerText() const { return m_angle; }    // direction, degrees
    QRadioButton *hjianbianbanOptiondan() const { return m_options[0]; }
    QRadioButton *hjianbianbanOptionshuang() const { return m_options[1]; }
    QRadioButton *hjianbianbanOptionzong() const { return m_options[2]; }
    QRadioButton *hjianbianbanOptionzong2() const { return m_options[3]; }
    PictureBox *hstartcolorPicture() const { return m_startColour; }
    PictureBox *hendcolorPicture() const { return m_endColour; }
    QAbstractButton *Command(int n) const { return m_commands[n - 1]; }
    QWidget *Frame(int n) const { return m_frames[n - 1]; }
    QLabel *Picture1() const { return m_marker; } // marker on the chosen button
    PictureBox *styleBox(StyleFamily f, int i) const;
    // 1 when the box carries its group's single border, else 0.
    static int BorderStyle(const PictureBox *box);

    // Handlers. A tool button acts when it gets the focus.
    void Command_GotFocus(int command);
    void styleBox_Click(StyleFamily f, int i);
    void hstartcolorPicture_DblClick();
    void hendcolorPicture_DblClick();
    void Text1_Change();
    void hlinewidthText_Change();
    void hlinecornerText_Change();

    // Procedures on the active document.
    void hCancelSelection();
    void hCancelArcGuides();
    void hShowGradientLineStyles();
    void hHideGradientLineStyles();

    // Sample redraws the colour palette asks for. hApplyDrawingColour: the
    // line samples in the drawing colour, the shape families' line samples
    // in their fore colours, the drawing colour as fill colour of the fill
    // boxes and the active canvas, then the fill samples again.
    void hApplyDrawingColour();
    // Fore colour c on boxes 1..14 of the box, circle and sector families,
    // with their samples redrawn.
    void applySampleForeColour(Colour c);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *e) override;

private:
    enum class Setup { A, B, C, Text, Emptied };

    void Form_Load();
    void buildButtons();
    void buildFrames();
    void buildStyleBoxes();
    void buildGradientControls();
    void buildWidthBox();
    void runCommand(int command);
    void showOnlyFrame(int frame);
    void gradientSetup(Setup s, const QString &widthTip = {});
    void pickGradientColour(bool start);
    void drawLineSamples();
    void drawShapeLineSamples();
    void drawFillSamples();
    frmquoredit *activeDoc() const;

    ModuleQuorMain &m_state;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_body = nullptr;
    QAbstractButton *m_commands[16] = {};
    QWidget *m_frames[6] = {};
    QLabel *m_marker = nullptr;
    QList<PictureBox *> m_boxes[5];
    PictureBox *m_startColour = nullptr;
    PictureBox *m_endColour = nullptr;
    QLineEdit *m_bandWidth = nullptr;
    QLineEdit *m_angle = nullptr;
    QRadioButton *m_options[4] = {};
    QLineEdit *m_width = nullptr;
};

} // namespace quor
