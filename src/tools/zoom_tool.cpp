#include "tools/picture_tools.h"

#include "core/drawing_settings.h"
#include "document/model/document.h"
#include "formats/picture_errors.h"

namespace quor {

bool zoomFits(double widthPx, double heightPx)
{
    return fitsPictureLimits(widthPx, heightPx);
}

void ZoomTool::press(ToolContext &t, const CanvasEvent &)
{
    const CanvasSurface &canvas = t.doc.canvas();
    const bool enlarge = !t.doc.isZoomedIn();
    // A bitmap too large to hold leaves the picture as it was.
    if ((enlarge && !zoomFits(canvas.widthPx() * 3.0, canvas.heightPx() * 3.0))
        || !t.doc.zoomCanvas(enlarge)) {
        t.overlays.tellUser(QStringLiteral("\r图片太大，无法放大。"));
        return;
    }

    // The width box passes its value on to the canvas pen, as it always does.
    t.settings.requestLineWidth(enlarge ? 3 : 1);
}

} // namespace quor
