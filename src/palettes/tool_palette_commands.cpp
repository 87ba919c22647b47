// The tool buttons' handler: what choosing a tool does to the palette, the
// program state and the active document.
#include "palettes/tool_palette.h"

#include "document/module_quor_main.h"
#include "document/edit_window.h"
#include "document/picture_box.h"
#include "palettes/tool_buttons.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

namespace quor {

void frmquortools::Command_GotFocus(int command)
{
    if (!activeDoc())
        return;
    if (command == 16) {
        // The gradient sector is the gradient arc drawn lengthwise.
        runCommand(15);
        m_marker->move(twipsToPixels(750), twipsToPixels(2200));
        m_options[2]->setChecked(true);
        return;
    }
    runCommand(command);
}

void frmquortools::runCommand(int command)
{
    frmquoredit *doc = activeDoc();
    const ToolButtonSpec &b = toolButton(command);
    m_marker->move(twipsToPixels(b.markerLeft), twipsToPixels(b.markerTop));
    if (command != 1)
        hCancelSelection();
    if (command != 10 && command != 14 && command != 15)
        hCancelArcGuides();
    if (command != 13) {
        doc->hword()->hide();
        doc->hword()->clear();
        doc->hwordLabel()->setText(QStringLiteral("H"));
    }
    m_state.settings.hTool = b.tool;

    switch (command) {
    case 1:
    case 12: gradientSetup(Setup::Emptied); break;
    case 2:
        doc->canvas()->surface().setDrawStyle(1);
        doc->PictureCopy()->surface().setDrawStyle(1);
        break;
    case 7: gradientSetup(Setup::A, QStringLiteral("圆框宽度(Twips)")); break;
    case 8: gradientSetup(Setup::A, QStringLiteral("方框宽度(Twips)")); break;
    case 11: gradientSetup(Setup::B); break;
    case 15: gradientSetup(Setup::C, QStringLiteral("弧宽度(Twips)")); break;
    case 13: gradientSetup(Setup::Text); break;
    default: break;
    }
    showOnlyFrame(b.frame);

    switch (command) {
    case 2:
    case 5:
    case 6:
    case 9:
    case 10: styleBox_Click(StyleFamily::Line, 1); break;
    case 3:
        styleBox_Click(StyleFamily::Circle, 1);
        styleBox_Click(StyleFamily::Circle, 9);
        break;
    case 4:
        styleBox_Click(StyleFamily::Box, 1);
        styleBox_Click(StyleFamily::Box, 9);
        break;
    case 14:
        styleBox_Click(StyleFamily::Hu, 1);
        styleBox_Click(StyleFamily::Hu, 9);
        break;
    case 7:
    case 8:
    case 11:
    case 15: styleBox_Click(StyleFamily::Line0, 1); break;
    default: break;
    }
}

void frmquortools::showOnlyFrame(int frame)
{
    for (int i = 1; i <= 5; ++i)
        m_frames[i - 1]->setVisible(i == frame);
}

void frmquortools::hCancelSelection()
{
    frmquoredit *doc = activeDoc();
    if (!doc || !doc->document().hSelect)
        return;
    // The floating picture is dropped, not pasted.
    doc->document().dropSelection();
    doc->document().hSelect = false;
}

void frmquortools::hCancelArcGuides()
{
    frmquoredit *doc = activeDoc();
    if (!doc || !doc->document().hHulineradius)
        return;
    doc->huradiusTimer()->stop();
    doc->huradiusLine1()->setVisible(false);
    doc->huradiusLine2()->setVisible(false);
    doc->document().hHulineradius = false;
}

} // namespace quor
