#include "tools/picture_tools.h"

#include "app/module_quor_main.h"
#include "document/edit_window.h"
#include "palettes/tool_palette.h"

#include <QLineEdit>

namespace quor {

void ZoomTool::mouseDown(frmquoredit &doc, int, double, double)
{
    PictureBox *canvas = doc.canvas();
    PictureBox *copy = doc.PictureCopy();
    const bool enlarge = !doc.hZoomed;
    const double factor = enlarge ? 3.0 : 1.0 / 3.0;

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

    const QString width = enlarge ? QStringLiteral("3") : QStringLiteral("1");
    if (frmquortools *tools = doc.state().tools)
        tools->Text1()->setText(width);
    canvas->surface().setDrawWidth(width.toInt());
    doc.hZoomed = enlarge;
}

} // namespace quor
