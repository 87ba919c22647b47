// The Image menu's "调整大小" dialog: the new width and height in pixels or
// in percent of the present size, the aspect ratio kept or not, smooth or
// sharp pixels.
#pragma once

#include <QDialog>
#include <QSize>

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;

namespace quor {

class ResizeDialog : public QDialog
{
    Q_OBJECT
public:
    // present: the size of the picture being resized, pixels.
    explicit ResizeDialog(QSize present, QWidget *parent = nullptr);

    QSpinBox *widthBox() const { return m_width; }
    QSpinBox *heightBox() const { return m_height; }
    QComboBox *unitBox() const { return m_unit; } // 0 pixels, 1 percent
    QCheckBox *keepAspectBox() const { return m_keepAspect; }
    QRadioButton *smoothOption() const { return m_smooth; }

    // The size chosen, in pixels (at least 1 x 1), and the way of scaling.
    QSize chosenSize() const;
    bool smooth() const;

private:
    bool inPercent() const;
    void unitChanged();
    void widthChanged();
    void heightChanged();

    QSize m_present;
    QSpinBox *m_width;
    QSpinBox *m_height;
    QComboBox *m_unit;
    QCheckBox *m_keepAspect;
    QRadioButton *m_smooth;
    QRadioButton *m_sharp;
    bool m_syncing = false;
};

} // namespace quor
