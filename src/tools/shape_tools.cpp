#include "tools/shape_tools.h"

#include "app/module_quor_main.h"
#include "document/edit_window.h"

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

void RectangleTool::figure(frmquoredit &doc, double u, double v)
{
    doc.canvas()->surface().line(doc.hStartx, doc.hStarty, u, v, std::nullopt, LineKind::Box);
}

void EllipseTool::figure(frmquoredit &doc, double u, double v)
{
    EllipseFit e;
    if (fitEllipse(doc.hStartx, doc.hStarty, u, v, e))
        doc.canvas()->surface().circle(e.cx, e.cy, e.radius, std::nullopt, std::nullopt,
                                       std::nullopt, e.aspect);
}

void PolylineTool::figure(frmquoredit &doc, double u, double v)
{
    doc.canvas()->surface().line(doc.hStartx, doc.hStarty, u, v, doc.state().drawingColour());
}

void PolylineTool::mouseDown(frmquoredit &doc, int shift, double x, double y)
{
    if (!doc.hLinking) {
        RubberBandFigureTool::mouseDown(doc, shift, x, y);
        doc.hLinking = true;
        return;
    }
    // A later press: the band runs from the previous release point.
    doc.hEndx = x;
    doc.hEndy = y;
    doc.canvas()->surface().setDrawMode(7);
    figure(doc, x, y);
}

void PolylineTool::mouseUp(frmquoredit &doc, int shift, double x, double y)
{
    RubberBandFigureTool::mouseUp(doc, shift, x, y);
    doc.hStartx = x; // the next segment starts here
    doc.hStarty = y;
}

void PolylineTool::dblClick(frmquoredit &doc)
{
    CanvasSurface &c = doc.canvas()->surface();
    c.setDrawMode(7);
    figure(doc, doc.hEndx, doc.hEndy);
    doc.hLinking = false;
    c.setDrawMode(doc.state().userDrawMode());
}

void DotsTool::mouseMove(frmquoredit &doc, int, double x, double y)
{
    CanvasSurface &c = doc.canvas()->surface();
    c.setDrawMode(doc.state().userDrawMode());
    c.pset(x, y, doc.state().drawingColour());
}

void DotsTool::mouseUp(frmquoredit &doc, int, double, double)
{
    doc.canvas()->DataChanged = true;
}

} // namespace quor
