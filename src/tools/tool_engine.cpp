#include "tools/tool_engine.h"

#include "app/module_quor_main.h"
#include "document/edit_window.h"
#include "tools/line_tools.h"
#include "tools/picture_tools.h"
#include "tools/shape_tools.h"

namespace quor {

ToolEngine::ToolEngine()
{
    m_tools[1] = std::make_shared<SelectTool>();
    m_tools[2] = std::make_shared<StraightLineTool>();
    m_tools[3] = std::make_shared<EllipseTool>();
    m_tools[4] = std::make_shared<RectangleTool>();
    m_tools[5] = std::make_shared<PolylineTool>();
    m_tools[6] = std::make_shared<FreehandTool>();
    m_tools[7] = std::make_shared<DotsTool>();
    m_tools[9] = std::make_shared<TextTool>();
    m_tools[15] = std::make_shared<ZoomTool>();
}

ToolEngine::~ToolEngine() = default;

Tool *ToolEngine::current(frmquoredit &doc) const
{
    const auto it = m_tools.find(doc.state().hTool);
    return it == m_tools.end() ? nullptr : it->second.get();
}

void ToolEngine::mouseDown(frmquoredit &doc, int shift, double x, double y)
{
    if (Tool *t = current(doc))
        t->mouseDown(doc, shift, x, y);
}

void ToolEngine::mouseMove(frmquoredit &doc, int shift, double x, double y)
{
    if (Tool *t = current(doc))
        t->mouseMove(doc, shift, x, y);
}

void ToolEngine::mouseUp(frmquoredit &doc, int shift, double x, double y)
{
    if (Tool *t = current(doc))
        t->mouseUp(doc, shift, x, y);
}

void ToolEngine::dblClick(frmquoredit &doc)
{
    if (Tool *t = current(doc))
        t->dblClick(doc);
}

} // namespace quor
