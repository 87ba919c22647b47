// The gradient colour fill dialog: paints a two-colour gradient of
// ellipses, nested boxes or angled lines over the active document's
// floating selection. Modeless and always on top. A run draws at screen
// rate, letting the program repaint between steps, and "中 断" stops it.
#pragma once

#include "core/colour.h"

#include <QWidget>

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quor {

class EffectDialogHost;
class PictureBox;

class FrmQuorJianbian : public QWidget
{
    Q_OBJECT
public:
    explicit FrmQuorJianbian(EffectDialogHost &host, QWidget *parent = nullptr);

    // Controls. Options 1..6 in style order.
    QRadioButton *styleOption(int style) const { return m_options[std::size_t(style - 1)]; }
    PictureBox *hstartPicture() const { return m_startSwatch; }
    PictureBox *hendPicture() const { return m_endSwatch; }
    QLineEdit *hcornerText() const { return m_angle; }
    QLineEdit *hwidthText() const { return m_width; }
    QLabel *Label(int n) const { return m_labels[std::size_t(n - 1)]; } // 1..4
    QPushButton *Command(int n) const; // 1 run, 2 cancel, 3 interrupt

    int hJianbianStyle() const { return m_style; }
    Colour startColour() const { return rgbColour(m_start[0], m_start[1], m_start[2]); }
    Colour endColour() const { return rgbColour(m_end[0], m_end[1], m_end[2]); }
    bool hInterrupt() const { return m_interrupt; }
    bool running() const { return m_running; }

    // Handlers.
    void option_Click(int style);
    void hwidthText_Change();
    void hcornerText_Change();
    void hstartPicture_DblClick() { chooseColour(true); }
    void hendPicture_DblClick() { chooseColour(false); }
    void Command1_Click(); // the run
    void Command2_Click(); // closes
    void Command3_Click(); // interrupts a run before its next outline

protected:
    // Closing while a run goes stops it and closes once it has ended.
    void closeEvent(QCloseEvent *e) override;

private:
    void buildControls();
    void chooseColour(bool start);
    // Everything but "中 断" takes no input while a run goes.
    void holdControls(bool hold);

    EffectDialogHost &m_host;
    int m_style = 1;
    std::array<int, 3> m_start{239, 239, 239};
    std::array<int, 3> m_end{127, 127, 127};
    bool m_interrupt = false;
    bool m_running = false;
    bool m_closeAfterRun = false;
    QList<QWidget *> m_held;

    std::array<QRadioButton *, 6> m_options{};
    QGroupBox *m_frame = nullptr;
    std::array<QLabel *, 4> m_labels{};
    PictureBox *m_startSwatch = nullptr;
    PictureBox *m_endSwatch = nullptr;
    QLineEdit *m_angle = nullptr;
    QLineEdit *m_width = nullptr;
    QPushButton *m_run = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_stop = nullptr;
};

} // namespace quor
