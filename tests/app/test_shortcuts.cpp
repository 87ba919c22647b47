// Every menu key pressed as a user presses it: with a picture open each
// fires its own entry and nothing is ambiguous; with none open only the
// commands that need no picture fire.
#include "program_fixture.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QTimer>

using namespace quor;

namespace {

struct Key
{
    const char *entry;
    QKeySequence keys;
    bool withoutDocument; // fires with no picture open
};

// Destructive keys (close, exit) come last.
const Key keys[] = {
    {"mnuFileNew", QKeySequence("F1"), true},
    {"mnuFileOpen", QKeySequence("F2"), true},
    {"mnuFileSave", QKeySequence("F3"), false},
    {"mnuFileSaveAs", QKeySequence("F4"), false},
    {"mnuFileProperties", QKeySequence("F5"), false},
    {"mnuFilePageSetup", QKeySequence("Ctrl+Y"), false},
    {"mnuFilePrint", QKeySequence("F6"), false},
    {"mnuEditselect", QKeySequence("Ctrl+A"), false},
    {"mnuEditCopy", QKeySequence("Ctrl+C"), false},
    {"mnuEditPaste", QKeySequence("Ctrl+V"), false},
    {"mnuquorfanzhuan1", QKeySequence("Ctrl+Z"), false},
    {"mnuquorfanzhuan2", QKeySequence("Ctrl+X"), false},
    {"mnuquorfanzhuan3", QKeySequence("Ctrl+S"), false},
    {"mnueditforecolor", QKeySequence("Ctrl+F"), false},
    {"mnueditbackcolor", QKeySequence("Ctrl+B"), false},
    {"mnufont", QKeySequence("Ctrl+W"), false},
    {"mnueditseeall", QKeySequence("Ctrl+T"), false},
    {"mnuquorsmooth", QKeySequence("F8"), false},
    {"mnuquorruihua", QKeySequence("F9"), false},
    {"mnuquoryouhua", QKeySequence("F11"), false},
    {"mnuquorfudiao", QKeySequence("F12"), false},
    {"mnuquorcustom", QKeySequence("Ctrl+G"), false},
    {"mnuquorjianbianse", QKeySequence("Ctrl+J"), false},
    {"mnuImageTurnRight", QKeySequence("Ctrl+R"), false},
    {"mnuToolFill", QKeySequence("Ctrl+K"), false},
    {"mnuToolPicker", QKeySequence("Ctrl+D"), false},
    {"mnuQuorToolbar", QKeySequence("Shift+F11"), true},
    {"mnuQuorStatusBar", QKeySequence("Shift+F12"), true},
    {"mnuWindowTileHorizontal", QKeySequence("Ctrl+U"), true},
    {"mnuWindowTileVertical", QKeySequence("Ctrl+I"), true},
    {"mnuWindowCascade", QKeySequence("Ctrl+O"), true},
    {"mnuWindowmax", QKeySequence("Ctrl+P"), true},
    {"mnuWindowArrangeIcons", QKeySequence("Ctrl+L"), true},
    {"mnuWindowZoomIn", QKeySequence("Ctrl+="), false},
    {"mnuWindowZoomOut", QKeySequence("Ctrl+-"), false},
    {"mnuWindowZoomActual", QKeySequence("Ctrl+0"), false},
    {"mnuHelpContents", QKeySequence("Ctrl+Shift+F11"), true},
    {"mnuHelpAbout", QKeySequence("Ctrl+M"), true},
    {"mnuFileClose", QKeySequence("F7"), false},
};

QStringList g_warnings;

void collect(QtMsgType type, const QMessageLogContext &, const QString &msg)
{
    if (type == QtWarningMsg)
        g_warnings << msg;
}

} // namespace

class Shortcuts : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        QApplication::setActiveWindow(main.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
        for (const Key &k : keys) {
            QAction *a = main->action(k.entry);
            ASSERT_TRUE(a) << k.entry;
            QObject::connect(a, &QAction::triggered, [this, &k] { fired << k.entry; });
        }
        // A window of our own that is modal and not behind the dialog seam
        // closes right away.
        closer.setInterval(20);
        QObject::connect(&closer, &QTimer::timeout, [] {
            if (QWidget *w = QApplication::activeModalWidget())
                w->close();
        });
        closer.start();
        g_warnings.clear();
        previous = qInstallMessageHandler(collect);
    }
    void TearDown() override
    {
        qInstallMessageHandler(previous);
        closer.stop();
        ProgramTest::TearDown();
    }
    void press(const QKeySequence &keys)
    {
        const QKeyCombination c = keys[0];
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : main.get();
        QTest::keyClick(target, c.key(), c.keyboardModifiers());
    }
    QStringList fired;
    QTimer closer;
    QtMessageHandler previous = nullptr;
};

TEST_F(Shortcuts, WithAPictureOpenEveryKeyFiresItsOwnEntry)
{
    for (const Key &k : keys) {
        fired.clear();
        press(k.keys);
        EXPECT_EQ(fired, QStringList{k.entry}) << k.keys.toString().toStdString();
        // Each command leaves a picture open for the next key.
        if (workspace().documentCount() == 0)
            main->newDocument();
        QApplication::setActiveWindow(main.get());
        if (workspace().activeDocument())
            workspace().activeDocument()->setFocus();
    }
    for (const QString &w : g_warnings)
        EXPECT_FALSE(w.contains("Ambiguous")) << w.toStdString();
}

TEST_F(Shortcuts, WithNoPictureOnlyTheCommandsThatNeedNoneFire)
{
    main->closeActiveDocument();
    ASSERT_EQ(workspace().documentCount(), 0);
    for (const Key &k : keys) {
        if (QString(k.entry) == "mnuFileNew" || QString(k.entry) == "mnuFileOpen")
            continue; // they would open a picture
        fired.clear();
        press(k.keys);
        EXPECT_EQ(fired.size(), k.withoutDocument ? 1 : 0) << k.entry;
        ASSERT_EQ(workspace().documentCount(), 0);
    }
    fired.clear();
    press(QKeySequence("F1"));
    EXPECT_EQ(fired, QStringList{"mnuFileNew"});
    for (const QString &w : g_warnings)
        EXPECT_FALSE(w.contains("Ambiguous")) << w.toStdString();
}
