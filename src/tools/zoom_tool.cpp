#include "tools/picture_tools.h"

#include "core/dialog_seam.h"
#include "core/drawing_settings.h"
#include "document/model/document.h"

#include <QCoreApplication>

namespace quor {

bool zoomFits(double widthPx, double heightPx)
{
    return widthPx <= MaxZoomSide && heightPx <= MaxZoomSide
        && widthPx * heightPx <= MaxZoomPixels;
}

void ZoomTool::mouseDown(ToolContext &t, int, double, double)
{
    CanvasSurface &canvas = t.doc.canvas();
    const bool enlarge = !t.doc.hZoomed;
    const double factor = enlarge ? 3.0 : 1.0 / 3.0;
    if (enlarge && !zoomFits(canvas.widthPx() * 3.0, canvas.heightPx() * 3.0)) {
        // Stretching into a bitmap that cannot be had would lose the picture.
        msgBox(t.overlays.messageParent(), QStringLiteral("\r图片太大，无法放大。"),
               mb::Exclamation, QCoreApplication::applicationName());
        return;
    }

    // The scratch picture holds the unchanged picture while it is stretched.
    CanvasSurface &copy = t.doc.scratch();
    const double w = canvas.scaleWidth(), h = canvas.scaleHeight();
    copy.setScaleSize(w, h);
    copy.paintPicture(canvas.image(), 0, 0, w, h, 0, 0, w, h, rop::SrcCopy);
    t.doc.resizeCanvas(float(w * factor), float(h * factor));
    canvas.paintPicture(copy.image(), 0, 0, canvas.scaleWidth(), canvas.scaleHeight(), 0, 0,
                        copy.scaleWidth(), copy.scaleHeight(), rop::SrcCopy);
    copy.setPicture(Document::emptyPicture());

    // The width box passes its value on to the canvas pen, as it always does.
    t.settings.requestLineWidth(enlarge ? 3 : 1);
    t.doc.hZoomed = enlarge;
}

} // namespace quor
