#include "palettes/tool_palette.h"

#include "app/module_quor_main.h"
#include "document/picture_box.h"

#include <QLineEdit>

namespace quor {

frmquortools::frmquortools(ModuleQuorMain &state, QWidget *parent)
    : QWidget(parent), m_state(state)
{
    setObjectName(QStringLiteral("frmquortools"));
    setFixedWidth(twipsToPixels(960));
    setMinimumHeight(0);

    m_width = new QLineEdit(QStringLiteral("1"), this);
    m_width->setObjectName(QStringLiteral("Text1"));
    m_width->setToolTip(QStringLiteral("绘图线宽度"));
    m_width->setGeometry(twipsToPixels(120), twipsToPixels(5900), twipsToPixels(700),
                         twipsToPixels(330));
}

} // namespace quor
