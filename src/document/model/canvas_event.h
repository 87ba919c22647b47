// A mouse event on a picture box, as the tools and the document window
// receive it: which buttons, which modifier keys, and where, in the box's
// own scale (twips, or pixels while an effect runs on it).
#pragma once

#include <Qt>

namespace quor {

struct CanvasEvent
{
    // A press: every button held, so a chord is never a left press; a move:
    // the buttons held; a release: the button released.
    Qt::MouseButtons buttons = Qt::NoButton;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    double x = 0, y = 0;

    bool isLeft() const { return buttons == Qt::LeftButton; }
    bool isRight() const { return buttons == Qt::RightButton; }
};

} // namespace quor
