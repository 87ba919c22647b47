#include "tools/line_tools.h"

#include "core/drawing_settings.h"
#include "document/model/document.h"

namespace quor {

void StraightLineTool::figure(ToolContext &t, double u, double v)
{
    t.doc.canvas().line(t.doc.hStartx, t.doc.hStarty, u, v, t.settings.drawingColour);
}

void FreehandTool::mouseDown(ToolContext &t, int, double x, double y)
{
    t.doc.hEndx = x;
    t.doc.hEndy = y;
}

void FreehandTool::mouseMove(ToolContext &t, int, double x, double y)
{
    CanvasSurface &c = t.doc.canvas();
    c.setDrawMode(t.settings.drawMode);
    c.line(t.doc.hEndx, t.doc.hEndy, x, y, t.settings.drawingColour);
}

void FreehandTool::mouseUp(ToolContext &t, int, double, double)
{
    t.doc.markChanged();
}

} // namespace quor
