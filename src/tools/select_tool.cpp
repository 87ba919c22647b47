#include "tools/picture_tools.h"

#include "document/model/document.h"

#include <algorithm>
#include <cmath>

namespace quor {

void SelectTool::press(ToolContext &t, const CanvasEvent &e)
{
    // A floating selection is put down before the next one starts.
    if (t.doc.hasFloatingSelection())
        t.doc.putDownSelection();
    t.gesture.startX = e.x;
    t.gesture.startY = e.y;
    t.gesture.selectionBand = {e.x, e.y, 1, 1};
    t.overlays.showSelectionBand(t.gesture.selectionBand);
}

void SelectTool::move(ToolContext &t, const CanvasEvent &e)
{
    const CanvasSurface &c = t.doc.canvas();
    const double left = std::min(t.gesture.startX, e.x), top = std::min(t.gesture.startY, e.y);
    const double width = std::min(std::fabs(e.x - t.gesture.startX), c.scaleWidth());
    const double height = std::min(std::fabs(e.y - t.gesture.startY), c.scaleHeight());
    t.gesture.selectionBand = {left, top, width, height};
    t.overlays.moveSelectionBand(t.gesture.selectionBand);
}

void SelectTool::release(ToolContext &t, const CanvasEvent &)
{
    // The rectangle is the one the last move drew, not the release point.
    t.doc.liftSelection(t.gesture.selectionBand);
    t.overlays.showSelectionFrame();
}

} // namespace quor
