// A click on a picture box: the left button released over the box it was
// pressed on.
#pragma once

#include "document/picture_box.h"

#include <utility>

namespace quor {

template <typename F>
void onBoxClick(PictureBox *box, QObject *context, F handler)
{
    QObject::connect(box, &PictureBox::released, context,
                     [box, handler = std::move(handler)](const CanvasEvent &e) {
                         if (e.isLeft() && e.x >= 0 && e.y >= 0 && e.x < box->scaleWidth()
                             && e.y < box->scaleHeight())
                             handler();
                     });
}

} // namespace quor
