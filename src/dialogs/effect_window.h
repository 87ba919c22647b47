// What the two effect dialogs share: a window kept on top at a fixed
// screen place, placement of controls in twips, and the typing rules of
// their number boxes.
#pragma once

#include <QRect>

#include <functional>

class QLineEdit;
class QWidget;

namespace quor {

// A control's rectangle from its design position in twips.
QRect twipsRect(int left, int top, int width, int height);

// Makes w a window above every other, captioned with the program's title,
// whose outside (frame included, once a window manager adds one) lies at
// outer, in screen pixels.
void placeOnTop(QWidget *w, const QRect &outer);
// Puts w into or out of the always-on-top layer, keeping its place.
void setStaysOnTop(QWidget *w, bool onTop);

// Typing rules of a number box: of the character keys only the digits
// (and with allowMinus the minus sign) get through; backspace and every
// other character, Enter included, are discarded, Enter after calling
// onEnter when one is given. Editing keys without a character (Delete,
// the arrows, Home, End) work as usual, and pasted or dropped text is held
// to the same characters. The box claims no shortcut: the program's keys
// (Ctrl+Q, the F keys) act from it, and Escape reaches its window.
void makeNumberBox(QLineEdit *box, bool allowMinus, std::function<void()> onEnter = {});

} // namespace quor
