#include "tools/line_tools.h"

#include "core/drawing_settings.h"
#include "document/model/document.h"

namespace quor {

void StraightLineTool::figure(ToolContext &t, double u, double v)
{
    t.doc.canvas().line(t.gesture.startX, t.gesture.startY, u, v, t.settings.drawingColour);
}

void FreehandTool::press(ToolContext &t, const CanvasEvent &e)
{
    t.gesture.lastX = e.x;
    t.gesture.lastY = e.y;
}

void FreehandTool::move(ToolContext &t, const CanvasEvent &e)
{
    CanvasSurface &c = t.doc.canvas();
    c.setDrawMode(t.settings.drawMode);
    c.line(t.gesture.lastX, t.gesture.lastY, e.x, e.y, t.settings.drawingColour);
}

void FreehandTool::release(ToolContext &t, const CanvasEvent &)
{
    t.doc.markChanged();
}

} // namespace quor
