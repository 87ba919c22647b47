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
    t.doc.canvas().line(t.doc.hStartx, t.doc.hStarty, u, v, std::nullopt, LineKind::Box);
}

void EllipseTool::figure(ToolContext &t, double u, double v)
{
    EllipseFit e;
    if (fitEllipse(t.doc.hStartx, t.doc.hStarty, u, v, e))
        t.doc.canvas().circle(e.cx, e.cy, e.radius, std::nullopt, std::nullopt,
                                       std::nullopt, e.aspect);
}

void PolylineTool::figure(ToolContext &t, double u, double v)
{
    t.doc.canvas().line(t.doc.hStartx, t.doc.hStarty, u, v, t.settings.drawingColour);
}

void PolylineTool::mouseDown(ToolContext &t, int shift, double x, double y)
{
    if (!t.doc.hLinking) {
        RubberBandFigureTool::mouseDown(t, shift, x, y);
        t.doc.hLinking = true;
        return;
    }
    // A later press: the band runs from the previous release point.
    t.doc.hEndx = x;
    t.doc.hEndy = y;
    t.doc.canvas().setDrawMode(7);
    figure(t, x, y);
}

void PolylineTool::mouseUp(ToolContext &t, int shift, double x, double y)
{
    RubberBandFigureTool::mouseUp(t, shift, x, y);
    t.doc.hStartx = x; // the next segment starts here
    t.doc.hStarty = y;
}

void PolylineTool::dblClick(ToolContext &t)
{
    CanvasSurface &c = t.doc.canvas();
    c.setDrawMode(7);
    figure(t, t.doc.hEndx, t.doc.hEndy);
    t.doc.hLinking = false;
    c.setDrawMode(t.settings.drawMode);
}

void DotsTool::mouseMove(ToolContext &t, int, double x, double y)
{
    CanvasSurface &c = t.doc.canvas();
    c.setDrawMode(t.settings.drawMode);
    c.pset(x, y, t.settings.drawingColour);
}

void DotsTool::mouseUp(ToolContext &t, int, double, double)
{
    t.doc.markChanged();
}

} // namespace quor
