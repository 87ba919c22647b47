// The tool buttons' handler: what choosing a tool does to the palette, the
// program state and the active document.
#include "palettes/tool_palette.h"

#include "document/workspace.h"
#include "document/document_window.h"
#include "document/picture_box.h"
#include "palettes/accessible_button.h"
#include "palettes/tool_buttons.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include <utility>

namespace quor {

void ToolPalette::buttonFocused(int command)
{
    if (!activeDocument())
        return;
    if (command == 16) {
        // The gradient sector is the gradient arc drawn lengthwise.
        runCommand(15);
        m_marker->move(twipsToPixels(750), twipsToPixels(2200));
        markButton(16);
        m_options[2]->setChecked(true);
        return;
    }
    runCommand(command);
}

void ToolPalette::runCommand(int command)
{
    DocumentWindow *doc = activeDocument();
    const ToolButtonSpec &b = toolButton(command);
    m_marker->move(twipsToPixels(b.markerLeft), twipsToPixels(b.markerTop));
    m_marker->show();
    markButton(command);
    if (command != 1)
        dropActiveSelection();
    if (command != 10 && command != 14 && command != 15)
        cancelArcGuide();
    if (command != 13)
        closeTextBox(doc);
    m_workspace.settings.tool = b.tool;

    switch (command) {
    case 1:
    case 12: showGradientPanel(GradientPanel::Hidden); break;
    case 2:
        doc->document().setLineStyle(LineStyle::Dash, Document::PenScope::CanvasAndFloating);
        break;
    case 7: showGradientPanel(GradientPanel::BandWidth, QStringLiteral("圆框宽度(Twips)")); break;
    case 8: showGradientPanel(GradientPanel::BandWidth, QStringLiteral("方框宽度(Twips)")); break;
    case 11: showGradientPanel(GradientPanel::Angle); break;
    case 15: showGradientPanel(GradientPanel::ArcBand, QStringLiteral("弧宽度(Twips)")); break;
    case 13: showGradientPanel(GradientPanel::Text); break;
    default: break;
    }
    showOnlyFrame(b.frame);

    switch (command) {
    case 2:
    case 5:
    case 6:
    case 9:
    case 10: chooseStyleBox(StyleFamily::Line, 1); break;
    case 3:
        chooseStyleBox(StyleFamily::Ellipse, 1);
        chooseStyleBox(StyleFamily::Ellipse, 9);
        break;
    case 4:
        chooseStyleBox(StyleFamily::Rectangle, 1);
        chooseStyleBox(StyleFamily::Rectangle, 9);
        break;
    case 14:
        chooseStyleBox(StyleFamily::Sector, 1);
        chooseStyleBox(StyleFamily::Sector, 9);
        break;
    case 7:
    case 8:
    case 11:
    case 15: chooseStyleBox(StyleFamily::GradientLine, 1); break;
    default: break;
    }
}

void ToolPalette::chooseToolbarTool(ToolId tool)
{
    DocumentWindow *doc = activeDocument();
    if (!doc)
        return;
    DrawingSettings &settings = m_workspace.settings;
    if (tool == ToolId::Picker) {
        // A pick hands back to the tool in use: the palette stays as it is.
        if (ToolId(settings.tool) != ToolId::Picker)
            settings.toolBeforePick = settings.tool;
        settings.tool = tool;
        return;
    }
    // Like choosing a palette tool other than the selection or the text box;
    // no palette button is the chosen one.
    m_marker->hide();
    markButton(0);
    dropActiveSelection();
    cancelArcGuide();
    closeTextBox(doc);
    settings.tool = tool;
}

void ToolPalette::markButton(int command)
{
    const int was = std::exchange(m_current, command);
    if (was == command)
        return;
    if (was)
        announceCheckedChange(button(was));
    if (command)
        announceCheckedChange(button(command));
}

void ToolPalette::closeTextBox(DocumentWindow *doc)
{
    doc->view()->textBox()->hide();
    doc->view()->textBox()->clear();
    doc->view()->textMeasure()->setText(QStringLiteral("H"));
}

void ToolPalette::showOnlyFrame(int frame)
{
    for (int i = 1; i <= 5; ++i)
        m_frames[i - 1]->setVisible(i == frame);
}

void ToolPalette::dropActiveSelection()
{
    DocumentWindow *doc = activeDocument();
    if (!doc || !doc->document().hasFloatingSelection())
        return;
    // The floating picture is dropped, not pasted.
    doc->document().dropSelection();
}

void ToolPalette::cancelArcGuide()
{
    if (DocumentWindow *doc = activeDocument())
        doc->cancelArcGuide();
}

} // namespace quor
