#include "tools/rubber_band_tool.h"

#include "app/module_quor_main.h"
#include "document/edit_window.h"

namespace quor {

void RubberBandFigureTool::mouseDown(frmquoredit &doc, int, double x, double y)
{
    doc.BeginRubberBand(x, y);
    if (visibleAtZeroSize())
        figure(doc, doc.hEndx, doc.hEndy);
}

void RubberBandFigureTool::mouseMove(frmquoredit &doc, int, double x, double y)
{
    doc.canvas()->surface().setDrawMode(7);
    figure(doc, doc.hEndx, doc.hEndy);
    figure(doc, x, y);
}

void RubberBandFigureTool::mouseUp(frmquoredit &doc, int, double x, double y)
{
    CanvasSurface &c = doc.canvas()->surface();
    c.setDrawMode(7);
    // Erase what is on the canvas: the band of the last position seen, which
    // is also the release point unless the release came without a move.
    figure(doc, doc.hEndx, doc.hEndy);
    c.setDrawMode(doc.state().userDrawMode());
    figure(doc, x, y);
    doc.canvas()->DataChanged = true;
}

} // namespace quor
