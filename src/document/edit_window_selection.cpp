// Moving the floating selection and resizing it with its handles.
#include "document/edit_window.h"

#include "document/selection_geometry.h"

namespace quor {

void frmquoredit::PictureCopy_MouseDown(int button, int, double x, double y)
{
    if (button == 1) {
        m_doc.hEndx = x; // the grab point
        m_doc.hEndy = y;
    } else if (button == 2) {
        const TwipBox p = m_doc.selectionPlace();
        popupEditMenu(p.left + x, p.top + y);
    }
}

void frmquoredit::PictureCopy_MouseMove(int button, int, double x, double y)
{
    if (button != 1)
        return;
    // Moved in place: hiding it would end the drag's mouse grab.
    const TwipBox p = m_doc.selectionPlace();
    m_doc.placeSelection(p.left + x - m_doc.hEndx, p.top + y - m_doc.hEndy);
    hShowSelectionFrame();
    m_doc.hStartx = p.left + x - m_doc.hEndx;
    m_doc.hStarty = p.top + y - m_doc.hEndy;
    update();
}

void frmquoredit::selectionHandle_MouseMove(int handle, int button, int, double x, double y)
{
    if (button != 1)
        return;
    const auto h = SelectionHandle(handle);
    const TwipBox p = m_doc.selectionPlace();
    const TwipRect n = resizeWithHandle(h, {p.left, p.top, p.width, p.height}, x, y);
    // Resizing selects another part of the canvas; it never stretches.
    m_doc.copyCanvasToSelection({n.left, n.top, n.width, n.height});
    hShowSelectionFrame();
    m_doc.hStartx = n.left;
    m_doc.hStarty = n.top;
}

} // namespace quor
