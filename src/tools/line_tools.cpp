#include "tools/line_tools.h"

#include "app/module_quor_main.h"
#include "document/edit_window.h"

namespace quor {

void StraightLineTool::mouseDown(frmquoredit &doc, int, double x, double y)
{
    doc.BeginRubberBand(x, y);
    doc.canvas()->surface().line(doc.hStartx, doc.hStarty, doc.hEndx, doc.hEndy,
                                 doc.state().drawingColour());
}

void StraightLineTool::mouseMove(frmquoredit &doc, int, double x, double y)
{
    CanvasSurface &c = doc.canvas()->surface();
    const Colour colour = doc.state().drawingColour();
    c.setDrawMode(7);
    c.line(doc.hStartx, doc.hStarty, doc.hEndx, doc.hEndy, colour);
    c.line(doc.hStartx, doc.hStarty, x, y, colour);
}

void StraightLineTool::mouseUp(frmquoredit &doc, int, double x, double y)
{
    CanvasSurface &c = doc.canvas()->surface();
    const Colour colour = doc.state().drawingColour();
    c.setDrawMode(7);
    c.line(doc.hStartx, doc.hStarty, doc.hEndx, doc.hEndy, colour);
    c.setDrawMode(doc.state().userDrawMode());
    c.line(doc.hStartx, doc.hStarty, x, y, colour);
    doc.canvas()->DataChanged = true;
}

void FreehandTool::mouseDown(frmquoredit &doc, int, double x, double y)
{
    doc.hEndx = x;
    doc.hEndy = y;
}

void FreehandTool::mouseMove(frmquoredit &doc, int, double x, double y)
{
    CanvasSurface &c = doc.canvas()->surface();
    c.setDrawMode(doc.state().userDrawMode());
    c.line(doc.hEndx, doc.hEndy, x, y, doc.state().drawingColour());
}

void FreehandTool::mouseUp(frmquoredit &doc, int, double, double)
{
    doc.canvas()->DataChanged = true;
}

} // namespace quor
