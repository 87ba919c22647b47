#include "tools/colour_tools.h"

#include "core/drawing_settings.h"
#include "document/model/document.h"
#include "document/model/flood_fill.h"

namespace quor {

void FillTool::press(ToolContext &t, const CanvasEvent &e)
{
    if (!e.isLeft() && !e.isRight())
        return;
    CanvasSurface &canvas = t.doc.canvas();
    const QPoint seed(canvas.toPixelX(e.x), canvas.toPixelY(e.y));
    const Colour colour = e.isRight() ? t.settings.backColour : t.settings.drawingColour;
    // The canvas under a floating selection fills as it draws for the other
    // tools; the floating picture stays where it is.
    const Document::Step step(t.doc);
    const QRect filled = raster::floodFill(canvas.editImage(), seed, toQRgb(colour));
    if (!filled.isEmpty()) {
        canvas.reportChanged(filled);
        t.doc.markChanged();
    }
}

void PickerTool::press(ToolContext &t, const CanvasEvent &e)
{
    if (!e.isLeft() && !e.isRight())
        return;
    const Colour c = t.doc.canvas().point(e.x, e.y);
    if (c >= 0)
        t.settings.takeColour(c, e.isRight());
    // A right release reaches no tool, so that pick ends here.
    if (e.isRight())
        handBack(t);
}

void PickerTool::release(ToolContext &t, const CanvasEvent &)
{
    // Only now: the tool before must not see the release of the pick.
    handBack(t);
}

void PickerTool::handBack(ToolContext &t)
{
    t.settings.tool = t.settings.toolBeforePick;
}

} // namespace quor
