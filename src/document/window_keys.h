// The keys a window of its own (the effect dialogs, the picture browser)
// answers itself, as a dialog under a window manager does. Keys with a
// modifier that its controls leave alone go on to the program's menu
// shortcuts, which belong to the main window but act from its other
// windows too.
#pragma once

#include <functional>

class QWidget;

namespace quor {

// Escape runs `cancel`, the window's cancel button (which knows whether a
// run forbids it); Alt+F4 asks the window to close as its close box does
// (a window manager takes that key itself; without one it reaches us).
void answerWindowKeys(QWidget *window, std::function<void()> cancel);

} // namespace quor
