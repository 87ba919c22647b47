#include "tools/arc_tools.h"

#include "core/drawing_settings.h"
#include "document/model/document.h"

namespace quor {

ArcCircle arcCircleOf(const ArcGesture &g)
{
    return {g.cx, g.cy, g.radius, g.hRadiusAngle};
}

void TwoPhaseArcTool::mouseDown(ToolContext &t, int, double x, double y)
{
    ArcGesture &g = t.doc.arc;
    if (!t.doc.hHulineradius) {
        g.x1 = g.x2 = x;
        g.y1 = g.y2 = y;
        g.placing = true;
        t.overlays.showGuide(x, y, x, y);
        return;
    }
    // The guide has done its work: the circle and its direction are read
    // from it once, here.
    t.overlays.hideGuide();
    const ArcCircle c = readGuide({g.x1, g.y1, g.x2, g.y2});
    g.cx = c.cx;
    g.cy = c.cy;
    g.radius = c.radius;
    g.hRadiusAngle = c.guideAngle;
    g.hArcAngle = pointAngle(g.cx, g.cy, x, y);
    t.doc.canvas().setDrawMode(7);
    rubberBand(t, g.hArcAngle);
    g.pointing = true;
}

void TwoPhaseArcTool::mouseMove(ToolContext &t, int, double x, double y)
{
    ArcGesture &g = t.doc.arc;
    if (g.pointing) {
        t.doc.canvas().setDrawMode(7);
        rubberBand(t, g.hArcAngle);
        g.hArcAngle = pointAngle(g.cx, g.cy, x, y);
        rubberBand(t, g.hArcAngle);
    } else if (g.placing) {
        g.x2 = x;
        g.y2 = y;
        t.overlays.moveGuide(g.x1, g.y1, x, y);
    }
}

void TwoPhaseArcTool::mouseUp(ToolContext &t, int, double, double)
{
    ArcGesture &g = t.doc.arc;
    if (g.pointing) {
        // The figure ends where the last press or move pointed, not at the
        // release point.
        CanvasSurface &c = t.doc.canvas();
        c.setDrawMode(7);
        rubberBand(t, g.hArcAngle);
        c.setDrawMode(t.settings.drawMode);
        g.pointing = false;
        t.doc.hHulineradius = false;
        if (finish(t))
            t.doc.markChanged();
        return;
    }
    if (!g.placing)
        return;
    g.placing = false;
    if (g.x1 == g.x2 && g.y1 == g.y2)
        t.overlays.hideGuide(); // a guide without length: start over
    else
        t.doc.hHulineradius = true;
}

void TwoPhaseArcTool::rubberBand(ToolContext &t, double a)
{
    // The radius to the pointer closes the arc into a pie; it must not be
    // filled, since the finished arc is a thin line whatever the fill style.
    CanvasSurface &c = t.doc.canvas();
    const int fill = c.fillStyle();
    c.setFillStyle(1);
    drawCircleCall(c, arcFigureCall(ArcFigure::ArcRubberBand, arcCircleOf(t.doc.arc), a),
                   t.settings.drawingColour);
    c.setFillStyle(fill);
}

bool ArcTool::finish(ToolContext &t)
{
    const ArcGesture &g = t.doc.arc;
    drawCircleCall(t.doc.canvas(), arcFigureCall(ArcFigure::Arc, arcCircleOf(g), g.hArcAngle),
                   t.settings.drawingColour);
    return true;
}

void SectorTool::rubberBand(ToolContext &t, double a)
{
    drawCircleCall(t.doc.canvas(), arcFigureCall(ArcFigure::Sector, arcCircleOf(t.doc.arc), a),
                   std::nullopt);
}

bool SectorTool::finish(ToolContext &t)
{
    rubberBand(t, t.doc.arc.hArcAngle); // the same figure, now in the user's mode
    return true;
}

} // namespace quor
