// A click on a picture box: the left button released over the box it was
// pressed on.
#pragma once

#include "document/picture_box.h"

#include <utility>

namespace quor {

template <typename F>
void onBoxClick(PictureBox *box, QObject *context, F handler)
{
    QObject::connect(box, &PictureBox::MouseUp, context,
                     [box, handler = std::move(handler)](int button, int, double x, double y) {
                         if (button == 1 && x >= 0 && y >= 0 && x < box->ScaleWidth()
                             && y < box->ScaleHeight())
                             handler();
                     });
}

} // namespace quor
