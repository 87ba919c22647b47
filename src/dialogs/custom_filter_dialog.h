// The custom filter dialog: a 3 x 3 or 5 x 5 kernel of weights typed into
// a grid of boxes, a divisor and an addend, run on the active document's
// floating selection. Modeless and always on top.
#pragma once

#include <QString>
#include <QWidget>

#include <array>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace quor {

class EffectDialogHost;

namespace effects {
struct Kernel;
}

// The filter's numbers as the boxes last held them. They outlive the
// dialog, and a dialog opened again shows them.
struct CustomFilterValues
{
    // Row by row, top row first; an empty box weighs 0.
    std::array<QString, 25> weights;
    QString divisor = QStringLiteral("1");
    QString addend = QStringLiteral("0");

    // The kernel of the given radius (1: 3 x 3, 2: 5 x 5); texts that are
    // no number count as 0, the divisor as 1.
    effects::Kernel kernel(int radius) const;
};

class CustomFilterDialog : public QWidget
{
    Q_OBJECT
public:
    CustomFilterDialog(CustomFilterValues &values, EffectDialogHost &host,
                        QWidget *parent = nullptr);

    // Controls.
    QLineEdit *weightBox(int n) const { return m_weights[std::size_t(n - 1)]; } // 1..25
    QLineEdit *divisorBox() const { return m_divide; }
    QLineEdit *addendBox() const { return m_bias; }
    QLabel *label(int n) const { return n == 1 ? m_divideLabel : m_biasLabel; }
    QFrame *bar(int n) const { return m_bars[std::size_t(n - 1)]; } // 1..4
    QRadioButton *threeByThreeOption() const { return m_threeByThree; }
    QRadioButton *fiveByFiveOption() const { return m_fiveByFive; }
    // 1 run, 2 cancel, 3 up, 4 down.
    QWidget *button(int n) const;

    int kernelRadius() const { return m_filterSize; }
    QLineEdit *currentBox() const { return m_current; }

    // Handlers.
    void run(); // runs the kernel on the active selection
    void cancel(); // closes the dialog
    void stepUp(); // current box + 1
    void stepDown(); // current box - 1
    void chooseThreeByThree();  // 3 x 3
    void chooseFiveByFive();  // 5 x 5

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void buildControls();
    void weightChanged(int index);
    void divideChanged();
    void biasChanged();
    void boxGotFocus(QLineEdit *box);
    // Enter in a box: the next box for the block size.
    void enterIn(QLineEdit *box);
    void step(int by);
    void placeBars(bool inner);

    CustomFilterValues &m_values;
    EffectDialogHost &m_host;
    int m_filterSize = 2;
    QLineEdit *m_current = nullptr;

    std::array<QLineEdit *, 25> m_weights{};
    QLineEdit *m_divide = nullptr;
    QLineEdit *m_bias = nullptr;
    QLabel *m_divideLabel = nullptr;
    QLabel *m_biasLabel = nullptr;
    std::array<QFrame *, 4> m_bars{};
    QGroupBox *m_frame = nullptr;
    QRadioButton *m_threeByThree = nullptr;
    QRadioButton *m_fiveByFive = nullptr;
    QPushButton *m_run = nullptr;
    QPushButton *m_cancel = nullptr;
    QToolButton *m_up = nullptr;
    QToolButton *m_down = nullptr;
};

} // namespace quor
