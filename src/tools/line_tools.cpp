#include "tools/line_tools.h"

#include "app/module_quor_main.h"
#include "document/edit_window.h"

namespace quor {

void StraightLineTool::figure(frmquoredit &doc, double u, double v)
{
    doc.canvas()->surface().line(doc.hStartx, doc.hStarty, u, v, doc.state().drawingColour());
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
