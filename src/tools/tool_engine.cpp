#include "tools/tool_engine.h"

#include "core/drawing_settings.h"
#include "document/model/gesture.h"
#include "tools/arc_tools.h"
#include "tools/colour_tools.h"
#include "tools/gradient_tools.h"
#include "tools/line_tools.h"
#include "tools/picture_tools.h"
#include "tools/shape_tools.h"

#include <QPointer>

namespace quor {

ToolEngine::ToolEngine()
{
    m_tools[ToolId::Select] = std::make_unique<SelectTool>();
    m_tools[ToolId::Line] = std::make_unique<StraightLineTool>();
    m_tools[ToolId::Ellipse] = std::make_unique<EllipseTool>();
    m_tools[ToolId::Rectangle] = std::make_unique<RectangleTool>();
    m_tools[ToolId::Polyline] = std::make_unique<PolylineTool>();
    m_tools[ToolId::Freehand] = std::make_unique<FreehandTool>();
    m_tools[ToolId::Dots] = std::make_unique<DotsTool>();
    m_tools[ToolId::Arc] = std::make_unique<ArcTool>();
    m_tools[ToolId::Text] = std::make_unique<TextTool>();
    m_tools[ToolId::Sector] = std::make_unique<SectorTool>();
    m_tools[ToolId::GradientEllipse] = std::make_unique<GradientEllipseTool>();
    m_tools[ToolId::GradientBox] = std::make_unique<GradientFramesTool>();
    m_tools[ToolId::GradientDirectional] = std::make_unique<DirectionalGradientTool>();
    m_tools[ToolId::GradientArcBand] = std::make_unique<GradientArcBandTool>();
    m_tools[ToolId::Zoom] = std::make_unique<ZoomTool>();
    m_tools[ToolId::Fill] = std::make_unique<FillTool>();
    m_tools[ToolId::Picker] = std::make_unique<PickerTool>();
}

ToolEngine::~ToolEngine() = default;

Tool *ToolEngine::current(const ToolContext &t) const
{
    const auto it = m_tools.find(t.settings.tool);
    return it == m_tools.end() ? nullptr : it->second.get();
}

void ToolEngine::press(ToolContext &t, const CanvasEvent &e)
{
    // A right press of a tool that takes it makes its own step: no right
    // release ends a gesture.
    if (e.isLeft() && !t.gesture.step)
        t.gesture.step.emplace(t.doc);
    if (Tool *tool = current(t))
        tool->press(t, e);
}

void ToolEngine::move(ToolContext &t, const CanvasEvent &e)
{
    if (Tool *tool = current(t))
        tool->move(t, e);
}

void ToolEngine::release(ToolContext &t, const CanvasEvent &e)
{
    // A long tool run takes events: the document may close meanwhile, and
    // its gesture with it.
    const QPointer<Document> doc(&t.doc);
    if (Tool *tool = current(t))
        tool->release(t, e);
    if (doc && e.isLeft())
        t.gesture.step.reset();
}

void ToolEngine::doubleClick(ToolContext &t)
{
    // The second press of a double click: its release ends the step.
    if (!t.gesture.step)
        t.gesture.step.emplace(t.doc);
    if (Tool *tool = current(t))
        tool->doubleClick(t);
}

} // namespace quor
