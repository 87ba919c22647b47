#include "tools/picture_tools.h"

#include "document/edit_window.h"

#include <QTimer>

#include <algorithm>
#include <cmath>

namespace quor {

void SelectTool::mouseDown(frmquoredit &doc, int, double x, double y)
{
    // A floating selection is put down before the next one starts; the
    // release sets hSelect again.
    if (doc.hSelect)
        doc.layDownSelection();
    doc.hStartx = x;
    doc.hStarty = y;
    doc.hselectShape1()->Move(x, y, 1, 1);
    doc.hselectShape2()->Move(x, y, 1, 1);
    doc.hselectShape1()->setVisible(true);
    doc.hselectshapesTimer()->start();
}

void SelectTool::mouseMove(frmquoredit &doc, int, double x, double y)
{
    const CanvasSurface &c = doc.canvas()->surface();
    const double left = std::min(doc.hStartx, x), top = std::min(doc.hStarty, y);
    const double width = std::min(std::fabs(x - doc.hStartx), c.scaleWidth());
    const double height = std::min(std::fabs(y - doc.hStarty), c.scaleHeight());
    doc.hselectShape1()->Move(left, top, width, height);
    doc.hselectShape2()->Move(left, top, width, height);
}

void SelectTool::mouseUp(frmquoredit &doc, int, double, double)
{
    // The rectangle is the one the last move drew, not the release point.
    const OverlayShape *s = doc.hselectShape1();
    PictureBox *copy = doc.PictureCopy();
    copy->Move(s->a(), s->b(), s->c(), s->d());
    copy->surface().paintPicture(doc.canvas()->surface().image(), 0, 0, copy->Width(),
                                 copy->Height(), copy->Left(), copy->Top(), copy->Width(),
                                 copy->Height(), rop::SrcCopy);
    copy->show();
    copy->raise();
    doc.hShowSelectionFrame();
    doc.hSelect = true;
}

} // namespace quor
