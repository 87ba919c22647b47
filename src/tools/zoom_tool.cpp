#include "tools/picture_tools.h"

#include "app/dialogs.h"
#include "app/module_quor_main.h"
#include "document/edit_window.h"
#include "palettes/tool_palette.h"

#include <QCoreApplication>
#include <QLineEdit>

namespace quor {

bool zoomFits(double widthPx, double heightPx)
{
    return widthPx <= MaxZoomSide && heightPx <= MaxZoomSide
        && widthPx * heightPx <= MaxZoomPixels;
}

void ZoomTool::mouseDown(frmquoredit &doc, int, double, double)
{
    PictureBox *canvas = doc.canvas();
    PictureBox *copy = doc.PictureCopy();
    const bool enlarge = !doc.hZoomed;
    const double factor = enlarge ? 3.0 : 1.0 / 3.0;
    if (enlarge && !zoomFits(canvas->surface().widthPx() * 3.0, canvas->surface().heightPx() * 3.0)) {
        // Stretching into a bitmap that cannot be had would lose the picture.
        msgBox(&doc, QStringLiteral("\r图片太大，无法放大。"), mb::Exclamation,
               QCoreApplication::applicationName());
        return;
    }

    // PictureCopy is scratch space for the unchanged picture.
    copy->Move(0, 0, canvas->ScaleWidth(), canvas->ScaleHeight());
    copy->surface().paintPicture(canvas->surface().image(), 0, 0, copy->Width(), copy->Height(),
                                 0, 0, copy->Width(), copy->Height(), rop::SrcCopy);
    canvas->Move(canvas->Left(), canvas->Top(), float(canvas->Width() * factor),
                 float(canvas->Height() * factor));
    canvas->surface().paintPicture(copy->surface().image(), 0, 0, canvas->ScaleWidth(),
                                   canvas->ScaleHeight(), 0, 0, copy->ScaleWidth(),
                                   copy->ScaleHeight(), rop::SrcCopy);
    copy->setPicture(doc.Picture4()->surface().image());
    copy->surface().setDrawWidth(enlarge ? 3 : 1);

    // The width box passes its value on to the canvas pen, as it always does.
    const int width = enlarge ? 3 : 1;
    if (frmquortools *tools = doc.state().tools)
        tools->Text1()->setText(QString::number(width));
    else
        canvas->surface().setDrawWidth(width);
    doc.hZoomed = enlarge;
}

} // namespace quor
