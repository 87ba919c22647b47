// A fresh program state per test: a new main window (which starts with one
// empty document) answering its dialogs from a script.
#pragma once

#include "app/main_window.h"
#include "document/dialog_seam.h"
#include "document/document_window.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace quor {
// A failing check names the message box's style rather than its bytes.
inline void PrintTo(const MessageStyle &s, std::ostream *os)
{
    *os << "{buttons " << int(s.buttons) << ", icon " << int(s.icon) << ", default "
        << int(s.defaultButton) << '}';
}
} // namespace quor

class ProgramTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "quor", "quor").clear();
        quor::setDialogScript(&script);
        main = std::make_unique<quor::MainWindow>();
        main->show();
    }
    void TearDown() override
    {
        // Nothing may be left to ask at the end of a test.
        for (auto *doc : main->findChildren<quor::DocumentWindow *>())
            doc->document().markSaved();
        main.reset();
        quor::setDialogScript(nullptr);
    }

    quor::Workspace &workspace() { return main->workspace(); }
    quor::DocumentWindow *active() { return workspace().activeDocument(); }
    quor::CanvasSurface &canvas() { return active()->document().canvas(); }

    // The last message box shown, or an empty record.
    quor::ShownDialog lastMessage() const
    {
        for (auto it = script.shown.rbegin(); it != script.shown.rend(); ++it)
            if (it->kind == "message")
                return *it;
        return {};
    }

    quor::DialogScript script;
    std::unique_ptr<quor::MainWindow> main;
};
