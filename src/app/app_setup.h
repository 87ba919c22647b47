// Program-wide set-up shared by the program and its tests.
#pragma once

class QApplication;

namespace quor {

// Names the application and installs Qt's Simplified Chinese translations,
// so standard dialogs and buttons speak the program's language.
void setUpApplication(QApplication &app);

} // namespace quor
