#include "tools/picture_tools.h"

#include "document/model/document.h"

#include <algorithm>
#include <cmath>

namespace quor {

void SelectTool::mouseDown(ToolContext &t, int, double x, double y)
{
    // A floating selection is put down before the next one starts; the
    // release sets hSelect again.
    if (t.doc.hSelect)
        t.doc.layDownSelection();
    t.doc.hStartx = x;
    t.doc.hStarty = y;
    t.doc.selectionBand = {x, y, 1, 1};
    t.overlays.showSelectionBand(x, y, 1, 1);
}

void SelectTool::mouseMove(ToolContext &t, int, double x, double y)
{
    const CanvasSurface &c = t.doc.canvas();
    const double left = std::min(t.doc.hStartx, x), top = std::min(t.doc.hStarty, y);
    const double width = std::min(std::fabs(x - t.doc.hStartx), c.scaleWidth());
    const double height = std::min(std::fabs(y - t.doc.hStarty), c.scaleHeight());
    t.doc.selectionBand = {left, top, width, height};
    t.overlays.moveSelectionBand(left, top, width, height);
}

void SelectTool::mouseUp(ToolContext &t, int, double, double)
{
    // The rectangle is the one the last move drew, not the release point.
    t.doc.copyCanvasToSelection(t.doc.selectionBand);
    t.doc.setSelectionVisible(true);
    t.overlays.showSelectionFrame();
    t.doc.hSelect = true;
}

} // namespace quor
