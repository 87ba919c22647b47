// Makes a line edit a digit-only box: the key filter of the palettes'
// number boxes plus a validator, so pasted or dropped text cannot bring in
// what typing may not.
#pragma once

#include <functional>

class QLineEdit;

namespace quor {

// hasDocument tells whether a document is open; while it is not, nothing
// typed reaches the box. allowBlanks keeps the blanks the program writes
// into the canvas-size box acceptable.
void makeDigitBox(QLineEdit *box, std::function<bool()> hasDocument, bool allowBlanks = false);

} // namespace quor
