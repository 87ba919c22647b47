#include "tools/rubber_band_tool.h"

#include "core/drawing_settings.h"
#include "document/model/document.h"

namespace quor {

void RubberBandFigureTool::mouseDown(ToolContext &t, int, double x, double y)
{
    t.doc.beginRubberBand(x, y);
    if (visibleAtZeroSize())
        figure(t, t.doc.hEndx, t.doc.hEndy);
}

void RubberBandFigureTool::mouseMove(ToolContext &t, int, double x, double y)
{
    t.doc.canvas().setDrawMode(7);
    figure(t, t.doc.hEndx, t.doc.hEndy);
    figure(t, x, y);
}

void RubberBandFigureTool::mouseUp(ToolContext &t, int, double x, double y)
{
    CanvasSurface &c = t.doc.canvas();
    c.setDrawMode(7);
    // Erase what is on the canvas: the band of the last position seen, which
    // is also the release point unless the release came without a move.
    figure(t, t.doc.hEndx, t.doc.hEndy);
    c.setDrawMode(t.settings.drawMode);
    figure(t, x, y);
    t.doc.markChanged();
}

} // namespace quor
