#include "tools/picture_tools.h"

#include "document/edit_window.h"

namespace quor {

void TextTool::mouseDown(frmquoredit &doc, int shift, double x, double y)
{
    doc.hword()->show();
    doc.hword()->raise();
    mouseMove(doc, shift, x, y);
}

// While the button is held the box follows the pointer.
void TextTool::mouseMove(frmquoredit &doc, int, double x, double y)
{
    doc.hword()->placeAt(x, y);
    doc.canvas()->surface().setCurrentX(x);
    doc.canvas()->surface().setCurrentY(y);
    doc.hword()->setFocus();
}

} // namespace quor
