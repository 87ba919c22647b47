// The tool palette: tool buttons, style panels and the line width box.
#pragma once

#include <QWidget>

class QLineEdit;

namespace quor {

struct ModuleQuorMain;

class frmquortools : public QWidget
{
    Q_OBJECT
public:
    explicit frmquortools(ModuleQuorMain &state, QWidget *parent = nullptr);

    QLineEdit *Text1() const { return m_width; } // line width, pixels

private:
    ModuleQuorMain &m_state;
    QLineEdit *m_width;
};

} // namespace quor
