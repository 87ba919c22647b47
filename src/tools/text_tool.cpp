#include "tools/picture_tools.h"

#include "document/model/document.h"

namespace quor {

void TextTool::press(ToolContext &t, const CanvasEvent &e)
{
    t.overlays.showTextBox();
    move(t, e);
}

// While the button is held the box follows the pointer.
void TextTool::move(ToolContext &t, const CanvasEvent &e)
{
    t.overlays.placeTextBox(e.x, e.y);
    t.doc.canvas().setCurrentX(e.x);
    t.doc.canvas().setCurrentY(e.y);
}

} // namespace quor
