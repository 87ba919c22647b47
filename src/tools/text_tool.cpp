#include "tools/picture_tools.h"

#include "document/model/document.h"

namespace quor {

void TextTool::mouseDown(ToolContext &t, int shift, double x, double y)
{
    t.overlays.showTextBox();
    mouseMove(t, shift, x, y);
}

// While the button is held the box follows the pointer.
void TextTool::mouseMove(ToolContext &t, int, double x, double y)
{
    t.overlays.placeTextBox(x, y);
    t.doc.canvas().setCurrentX(x);
    t.doc.canvas().setCurrentY(y);
}

} // namespace quor
