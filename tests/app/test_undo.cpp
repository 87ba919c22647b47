// Undo and redo as a user works: figures drawn with real mouse events in
// several draw modes, a selection put down with a raster operation, a
// filter, a resize and a zoom, undone to the start and redone to the end.
#include "program_fixture.h"

#include "document/model/document.h"
#include "document/model/history.h"

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <random>

using namespace quor;

namespace {

struct Snapshot
{
    QImage pixels;
    double width, height;
    bool floating;
    bool operator==(const Snapshot &o) const
    {
        // The canvas as the user sees it; lifting a selection is no step, so
        // where one floats is checked on its own.
        return pixels == o.pixels && width == o.width && height == o.height;
    }
};

} // namespace

class Undo : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        QApplication::setActiveWindow(main.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
        doc = active();
    }
    void mouse(QWidget *w, QEvent::Type type, QPoint p, Qt::MouseButton b, Qt::MouseButtons held)
    {
        QMouseEvent e(type, p, w->mapToGlobal(p), b, held, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    void drag(int tool, QPoint from, QPoint to)
    {
        workspace().settings.tool = ToolId(tool);
        QWidget *c = doc->view()->canvasBox();
        mouse(c, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        mouse(c, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
        mouse(c, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        mouse(c, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        QCoreApplication::processEvents();
    }
    Snapshot snap()
    {
        const CanvasSurface &c = doc->document().canvas();
        return {c.image(), c.scaleWidth(), c.scaleHeight(), doc->document().hasFloatingSelection()};
    }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : main.get(), k, m);
        QCoreApplication::processEvents();
    }
    DocumentWindow *doc = nullptr;
};

TEST_F(Undo, AMixedSessionUndoesToTheStartAndRedoesToTheEnd)
{
    std::mt19937 rng(5);
    auto at = [&](int w, int h) {
        return QPoint(std::uniform_int_distribution<int>(2, w)(rng),
                      std::uniform_int_distribution<int>(2, h)(rng));
    };
    QList<Snapshot> states{snap()};
    const int modes[] = {13, 7, 9, 15, 4};
    for (int i = 0; i < 44; ++i) {
        workspace().settings.drawMode = DrawMode(modes[i % 5]);
        workspace().settings.drawingColour = rgbColour(40 * (i % 6), 255 - 20 * (i % 9), 77);
        const int tools[] = {2, 3, 4, 6, 7};
        drag(tools[i % 5], at(300, 220), at(300, 220));
        states << snap();
    }
    // A selection dragged elsewhere and put down with "invert the target".
    drag(1, {10, 10}, {120, 90});
    key(Qt::Key_Right);
    main->action("mnuvbdstinvert")->trigger();
    doc->activate();
    key(Qt::Key_Return);
    states << snap();
    // A filter on a selection, put down.
    drag(1, {50, 50}, {200, 160});
    key(Qt::Key_F8);
    states << snap();
    key(Qt::Key_Return);
    states << snap();
    // A resize from the size handle, and a zoom in.
    QWidget *handle = doc->view()->cornerHandle();
    mouse(handle, QEvent::MouseButtonPress, {1, 1}, Qt::LeftButton, Qt::LeftButton);
    mouse(handle, QEvent::MouseMove, {30, 20}, Qt::NoButton, Qt::LeftButton);
    mouse(handle, QEvent::MouseMove, {40, 25}, Qt::NoButton, Qt::LeftButton);
    mouse(handle, QEvent::MouseButtonRelease, {40, 25}, Qt::LeftButton, Qt::NoButton);
    QCoreApplication::processEvents();
    states << snap();
    drag(15, {5, 5}, {5, 5});
    states << snap();
    ASSERT_GE(states.size(), 50);
    ASSERT_NE(states.first().width, states.last().width);

    const qsizetype steps = states.size() - 1;
    EXPECT_EQ(doc->document().history().size(), steps);
    for (qsizetype i = steps; i > 0; --i) {
        ASSERT_TRUE(main->action("mnuEditUndo")->isEnabled()) << i;
        main->action("mnuEditUndo")->trigger();
        ASSERT_EQ(snap(), states[i - 1]) << "undo to " << i - 1;
    }
    EXPECT_FALSE(main->action("mnuEditUndo")->isEnabled());
    for (qsizetype i = 1; i <= steps; ++i) {
        main->action("mnuEditRedo")->trigger();
        ASSERT_EQ(snap(), states[i]) << "redo to " << i;
    }
    EXPECT_FALSE(main->action("mnuEditRedo")->isEnabled());

    // A random walk of undo and redo stays on the recorded states.
    qsizetype at2 = steps;
    for (int i = 0; i < 200; ++i) {
        if (std::uniform_int_distribution<int>(0, 1)(rng) && at2 > 0) {
            key(Qt::Key_Backspace, Qt::AltModifier);
            --at2;
        } else if (at2 < steps) {
            key(Qt::Key_Backspace, Qt::AltModifier | Qt::ShiftModifier);
            ++at2;
        }
        ASSERT_EQ(snap(), states[at2]) << "walk step " << i;
    }
}

TEST_F(Undo, CommandsFollowTheActiveDocumentAndNeedOne)
{
    EXPECT_FALSE(main->action("mnuEditUndo")->isEnabled());
    workspace().settings.drawingColour = rgbColour(255, 0, 0);
    drag(2, {10, 10}, {100, 60});
    EXPECT_TRUE(main->action("mnuEditUndo")->isEnabled());
    main->newDocument();
    QCoreApplication::processEvents();
    EXPECT_FALSE(main->action("mnuEditUndo")->isEnabled()) << "the new document has nothing to undo";
    doc->activate();
    QCoreApplication::processEvents();
    EXPECT_TRUE(main->action("mnuEditUndo")->isEnabled());
    EXPECT_EQ(main->action("mnuEditUndo")->shortcut(), QKeySequence("Alt+Backspace"));
    EXPECT_EQ(main->action("mnuEditRedo")->shortcut(), QKeySequence("Alt+Shift+Backspace"));
    QMenu *edit = main->findChild<QMenu *>("mnuedit");
    ASSERT_GE(edit->actions().size(), 3);
    EXPECT_EQ(edit->actions()[0]->text(), "撤销");
    EXPECT_EQ(edit->actions()[1]->text(), "重做");
    EXPECT_TRUE(edit->actions()[2]->isSeparator());
}
