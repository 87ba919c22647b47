#include "tools/rubber_band_tool.h"

#include "core/drawing_settings.h"
#include "document/model/document.h"

namespace quor {

void beginRubberBand(ToolContext &t, double x, double y)
{
    t.gesture.startX = t.gesture.lastX = x;
    t.gesture.startY = t.gesture.lastY = y;
    t.doc.canvas().setDrawMode(DrawMode::XorPen);
}

void RubberBandFigureTool::press(ToolContext &t, const CanvasEvent &e)
{
    beginRubberBand(t, e.x, e.y);
    if (visibleAtZeroSize())
        figure(t, t.gesture.lastX, t.gesture.lastY);
}

void RubberBandFigureTool::move(ToolContext &t, const CanvasEvent &e)
{
    t.doc.canvas().setDrawMode(DrawMode::XorPen);
    figure(t, t.gesture.lastX, t.gesture.lastY);
    figure(t, e.x, e.y);
}

void RubberBandFigureTool::release(ToolContext &t, const CanvasEvent &e)
{
    CanvasSurface &c = t.doc.canvas();
    c.setDrawMode(DrawMode::XorPen);
    // Erase what is on the canvas: the band of the last position seen, which
    // is also the release point unless the release came without a move.
    figure(t, t.gesture.lastX, t.gesture.lastY);
    c.setDrawMode(t.settings.drawMode);
    figure(t, e.x, e.y);
    t.doc.markChanged();
}

} // namespace quor
