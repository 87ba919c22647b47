// Moving the floating selection and resizing it with its handles.
#include "document/edit_window.h"

#include "document/selection_geometry.h"

namespace quor {

void frmquoredit::PictureCopy_MouseDown(int button, int, double x, double y)
{
    if (button == 1) {
        hEndx = x; // the grab point
        hEndy = y;
    } else if (button == 2) {
        popupEditMenu(m_copy->Left() + x, m_copy->Top() + y);
    }
}

void frmquoredit::PictureCopy_MouseMove(int button, int, double x, double y)
{
    if (button != 1)
        return;
    // Moved in place: hiding it would end the drag's mouse grab.
    m_copy->Move(m_copy->Left() + x - hEndx, m_copy->Top() + y - hEndy);
    hShowSelectionFrame();
    hStartx = m_copy->Left();
    hStarty = m_copy->Top();
    update();
}

void frmquoredit::selectionHandle_MouseMove(int handle, int button, int, double x, double y)
{
    if (button != 1)
        return;
    const auto h = SelectionHandle(handle);
    const TwipRect n = resizeWithHandle(
        h, {m_copy->Left(), m_copy->Top(), m_copy->Width(), m_copy->Height()}, x, y);
    m_copy->Move(n.left, n.top, n.width, n.height);
    // Resizing selects another part of the canvas; it never stretches.
    m_copy->surface().paintPicture(m_canvas->surface().image(), 0, 0, n.width, n.height, n.left,
                                   n.top, n.width, n.height, rop::SrcCopy);
    hShowSelectionFrame();
    hStartx = m_copy->Left();
    hStarty = m_copy->Top();
}

} // namespace quor
