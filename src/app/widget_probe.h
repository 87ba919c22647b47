// For end-to-end tests: when QUOR_E2E_WIDGETS names a file, the program
// keeps writing the screen rectangles of its visible named widgets there,
// so a test driving the real mouse can find a button or the canvas.
#pragma once

class QObject;

namespace quor {

void startWidgetProbe(QObject *owner);

} // namespace quor
