#include "tools/gradient_tools.h"

#include "core/drawing_settings.h"
#include "core/screen_rate.h"
#include "document/model/document.h"
#include "tools/shape_tools.h"

#include <algorithm>

namespace quor {

GradientPace screenPace(ToolContext &t)
{
    // One outline per twip would be tens of thousands of repaints on a large
    // canvas; repainting when the screen can show it looks the same.
    ToolOverlays *overlays = &t.overlays;
    return {[rate = ScreenRate()]() mutable { return rate.due(); },
            [overlays] {
                overlays->repaintNow();
                return true;
            }};
}

GradientColours gradientColours(const ToolContext &t)
{
    return {t.settings.startColour(), t.settings.endColour()};
}

GradientKind gradientKind(const ToolContext &t)
{
    return GradientKind(std::clamp(t.settings.gradientKind, 0, 3));
}

void GradientShapeTool::figure(ToolContext &t, double u, double v)
{
    CanvasSurface &c = t.doc.canvas();
    if (boxBand()) {
        c.line(t.doc.hStartx, t.doc.hStarty, u, v, std::nullopt, LineKind::Box);
        return;
    }
    EllipseFit e;
    if (fitEllipse(t.doc.hStartx, t.doc.hStarty, u, v, e))
        c.circle(e.cx, e.cy, e.radius, std::nullopt, std::nullopt, std::nullopt, e.aspect);
}

void GradientShapeTool::mouseDown(ToolContext &t, int, double x, double y)
{
    t.doc.canvas().setFillStyle(0);
    t.doc.beginRubberBand(x, y);
    if (boxBand())
        figure(t, x, y);
}

void GradientShapeTool::mouseMove(ToolContext &t, int, double x, double y)
{
    CanvasSurface &c = t.doc.canvas();
    c.setDrawMode(7);
    c.setFillStyle(0);
    figure(t, t.doc.hEndx, t.doc.hEndy);
    figure(t, x, y);
}

void GradientShapeTool::mouseUp(ToolContext &t, int, double x, double y)
{
    CanvasSurface &c = t.doc.canvas();
    Document &d = t.doc;
    // The band on the canvas is the one of the last position seen; it goes
    // whatever follows, also when the release leaves no rectangle.
    c.setDrawMode(7);
    c.setFillStyle(0);
    figure(t, d.hEndx, d.hEndy);
    c.setDrawMode(t.settings.drawMode);
    if (x == d.hStartx || y == d.hStarty)
        return;

    c.setFillStyle(1); // outlines only
    const GradientBox box = normalisedBox(d.hStartx, d.hStarty, d.hEndx, d.hEndy);
    d.hStartx = box.left;
    d.hStarty = box.top;
    d.hEndx = box.right;
    d.hEndy = box.bottom;
    const GradientResult drawn = draw(t, box);
    c.setFillStyle(0);
    if (drawn != GradientResult::Nothing)
        d.markChanged();
}

GradientResult GradientEllipseTool::draw(ToolContext &t, const GradientBox &box)
{
    return drawGradientEllipse(t.doc.canvas(), box, t.settings.bandWidthText,
                               gradientColours(t), gradientKind(t), screenPace(t));
}

GradientResult GradientFramesTool::draw(ToolContext &t, const GradientBox &box)
{
    return drawGradientFrames(t.doc.canvas(), box, t.settings.bandWidthText, gradientColours(t),
                              gradientKind(t), screenPace(t));
}

GradientResult DirectionalGradientTool::draw(ToolContext &t, const GradientBox &box)
{
    return drawDirectionalGradient(t.doc.canvas(), box, t.settings.hGradientAngle,
                                   gradientColours(t), gradientKind(t), screenPace(t));
}

bool GradientArcBandTool::finish(ToolContext &t)
{
    const ArcGesture &g = t.doc.arc;
    const GradientResult drawn =
        drawGradientArcBand(t.doc.canvas(), arcCircleOf(g), g.hArcAngle, t.settings.bandWidthText,
                            gradientColours(t), gradientKind(t), screenPace(t));
    return drawn != GradientResult::Nothing;
}

} // namespace quor
