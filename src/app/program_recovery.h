// Autosave and recovery wired into the program: the delay from the
// settings, the files a program that ended badly left, offered once the
// main window shows, the restored pictures opened as changed documents
// that save as the files they came from, and a logout, a closed terminal,
// Ctrl+C or a lost display writing the changed documents before the end.
#pragma once

#include "files/autosave.h"
#include "files/recovery_dialog.h"

#include <memory>

namespace quor {

class MainWindow;

class ProgramRecovery
{
public:
    ProgramRecovery();
    ~ProgramRecovery();

    // Pictures left by a program no longer running wait to be offered.
    bool hasLeftPictures() const { return m_left && !m_left->pictures().isEmpty(); }
    // Autosave for every document of the window, the failures said in its
    // status bar, and the handlers of SIGTERM, SIGHUP, SIGINT and exit().
    void attach(MainWindow &window);
    // Asks about the left pictures and restores or removes them; the
    // window gets its empty document when it has none after that.
    void offer(MainWindow &window);

    Autosave &autosave() { return m_autosave; }

private:
    Autosave m_autosave;
    std::unique_ptr<LeftRecovery> m_left;
};

} // namespace quor
