// Scrolling the canvas and dragging its size handles.
#include "document/edit_window.h"

#include "document/document_host.h"
#include "document/module_quor_main.h"

#include <QMenu>
#include <QScrollBar>

#include <algorithm>

namespace quor {

void frmquoredit::connectScrollAndSelection()
{
    connect(m_vscroll, &QScrollBar::valueChanged, this, &frmquoredit::VScroll1_Change);
    connect(m_hscroll, &QScrollBar::valueChanged, this, &frmquoredit::HScroll1_Change);
    connect(m_widthSize, &PictureBox::MouseMove, this, &frmquoredit::widthsizePicture_MouseMove);
    connect(m_heightSize, &PictureBox::MouseMove, this, &frmquoredit::heightasizePicture_MouseMove);
    connect(m_bothSize, &PictureBox::MouseMove, this, &frmquoredit::bothsizePicture_MouseMove);
    connect(m_copy, &PictureBox::MouseDown, this, &frmquoredit::PictureCopy_MouseDown);
    connect(m_copy, &PictureBox::MouseMove, this, &frmquoredit::PictureCopy_MouseMove);
    for (int i = 0; i < 8; ++i)
        connect(m_handles[i], &PictureBox::MouseMove, this,
                [this, i](int b, int s, double x, double y) { selectionHandle_MouseMove(i, b, s, x, y); });
}

void frmquoredit::placeSizeHandles()
{
    m_widthSize->Move(m_canvas->Left() + m_canvas->Width(), m_canvas->Top(),
                      m_widthSize->Width(), m_canvas->Height());
    m_heightSize->Move(m_canvas->Left(), m_canvas->Top() + m_canvas->Height(), m_canvas->Width(),
                       m_heightSize->Height());
    m_bothSize->Move(m_widthSize->Left(), m_heightSize->Top());
}

// 20 twips a scroll unit, computed in full width so that every part of a
// large canvas can be reached.
void frmquoredit::VScroll1_Change()
{
    m_canvas->Move(m_canvas->Left(), -20.0 * m_vscroll->value());
    placeSizeHandles();
}

void frmquoredit::HScroll1_Change()
{
    m_canvas->Move(-20.0 * m_hscroll->value(), m_canvas->Top());
    placeSizeHandles();
}

namespace {

double clampExtent(double v, double most)
{
    return v <= 0 ? 1 : std::min(v, most);
}

} // namespace

void frmquoredit::widthsizePicture_MouseMove(int button, int, double x, double)
{
    if (button != 1)
        return;
    m_canvas->Move(m_canvas->Left(), m_canvas->Top(),
                   clampExtent(m_canvas->Width() + x, MaxCanvasWidth), m_canvas->Height());
}

void frmquoredit::heightasizePicture_MouseMove(int button, int, double, double y)
{
    if (button != 1)
        return;
    m_canvas->Move(m_canvas->Left(), m_canvas->Top(), m_canvas->Width(),
                   clampExtent(m_canvas->Height() + y, MaxCanvasHeight));
}

void frmquoredit::bothsizePicture_MouseMove(int button, int, double x, double y)
{
    if (button != 1)
        return;
    m_canvas->Move(m_canvas->Left(), m_canvas->Top(),
                   clampExtent(m_canvas->Width() + x, MaxCanvasWidth),
                   clampExtent(m_canvas->Height() + y, MaxCanvasHeight));
}

void frmquoredit::popupEditMenu(double x, double y)
{
    popupMenu(m_state.main ? m_state.main->mnuedit() : nullptr, x, y);
}

void frmquoredit::popupMenu(QMenu *menu, double x, double y)
{
    if (!menu)
        return;
    // Canvas to window coordinates: the canvas is shifted 20 twips a unit.
    const double wx = x - 20.0 * m_hscroll->value();
    const double wy = y - 20.0 * m_vscroll->value();
    menu->popup(mapToGlobal(QPoint(twipsToPixels(wx), twipsToPixels(wy))));
}

} // namespace quor
