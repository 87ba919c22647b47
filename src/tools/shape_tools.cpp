#include "tools/shape_tools.h"

#include "core/drawing_settings.h"
#include "document/model/document.h"

#include <algorithm>
#include <cmath>

namespace quor {

bool fitEllipse(double x0, double y0, double x1, double y1, EllipseFit &out)
{
    if (x1 == x0 || y1 == y0)
        return false;
    const double w = std::fabs(x1 - x0), h = std::fabs(y1 - y0);
    out.cx = float((x0 + x1) / 2);
    out.cy = float((y0 + y1) / 2);
    out.radius = float(std::max(w, h) / 2);
    out.aspect = float(std::fabs((y1 - y0) / (x1 - x0)));
    return true;
}

void RectangleTool::figure(ToolContext &t, double u, double v)
{
    t.doc.canvas().line(t.gesture.startX, t.gesture.startY, u, v, std::nullopt, LineKind::Box);
}

void EllipseTool::figure(ToolContext &t, double u, double v)
{
    EllipseFit e;
    if (fitEllipse(t.gesture.startX, t.gesture.startY, u, v, e))
        t.doc.canvas().circle(e.cx, e.cy, e.radius, std::nullopt, std::nullopt,
                                       std::nullopt, e.aspect);
}

void PolylineTool::figure(ToolContext &t, double u, double v)
{
    t.doc.canvas().line(t.gesture.startX, t.gesture.startY, u, v, t.settings.drawingColour);
}

void PolylineTool::press(ToolContext &t, const CanvasEvent &e)
{
    if (!t.gesture.polylineGoing) {
        RubberBandFigureTool::press(t, e);
        t.gesture.polylineGoing = true;
        return;
    }
    // A later press: the band runs from the previous release point.
    t.gesture.lastX = e.x;
    t.gesture.lastY = e.y;
    t.doc.canvas().setDrawMode(DrawMode::XorPen);
    figure(t, e.x, e.y);
}

void PolylineTool::release(ToolContext &t, const CanvasEvent &e)
{
    RubberBandFigureTool::release(t, e);
    t.gesture.startX = e.x; // the next segment starts here
    t.gesture.startY = e.y;
}

void PolylineTool::doubleClick(ToolContext &t)
{
    CanvasSurface &c = t.doc.canvas();
    c.setDrawMode(DrawMode::XorPen);
    figure(t, t.gesture.lastX, t.gesture.lastY);
    t.gesture.polylineGoing = false;
    c.setDrawMode(t.settings.drawMode);
}

void DotsTool::move(ToolContext &t, const CanvasEvent &e)
{
    CanvasSurface &c = t.doc.canvas();
    c.setDrawMode(t.settings.drawMode);
    c.pset(e.x, e.y, t.settings.drawingColour);
}

void DotsTool::release(ToolContext &t, const CanvasEvent &)
{
    t.doc.markChanged();
}

} // namespace quor
