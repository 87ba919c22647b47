// What the two effect dialogs share besides the fixed-layout kit: the
// typing rules of their number boxes.
#pragma once

#include "document/fixed_layout.h"

#include <functional>

class QLineEdit;

namespace quor {

// Typing rules of a number box: of the character keys only the digits
// (and with allowMinus the minus sign) get through; backspace and every
// other character, Enter included, are discarded, Enter after calling
// onEnter when one is given. Editing keys without a character (Delete,
// the arrows, Home, End) work as usual, and pasted or dropped text is held
// to the same characters. The box claims no shortcut: the program's keys
// (Ctrl+Q, the F keys) act from it, and Escape reaches its window.
void makeNumberBox(QLineEdit *box, bool allowMinus, std::function<void()> onEnter = {});

} // namespace quor
