// The effects and flips as a user runs them: keys on the main window with
// a floating selection lifted by the selection tool.
#include "program_fixture.h"

#include "document/model/document.h"
#include "effects/flips.h"
#include "effects/neighbourhood_filters.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QToolBar>

using namespace quor;

namespace {

QImage noise(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    quint32 s = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            s = s * 1664525u + 1013904223u;
            img.setPixel(x, y, 0xff000000u | (s >> 8));
        }
    return img;
}

} // namespace

class EffectsMenu : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        doc = active();
        doc->document().loadPicture(noise(60, 40));
        // Lift pixels 10..39 x 5..29 with the selection tool.
        workspace().settings.tool = ToolId::Select;
        doc->canvasPressed({Qt::LeftButton, {}, 150, 75});
        doc->canvasMoved({Qt::LeftButton, {}, 600, 450});
        doc->canvasReleased({Qt::LeftButton, {}, 600, 450});
        lifted = selection().image();
        // Shortcuts reach only the active window.
        QApplication::setActiveWindow(main.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    }
    CanvasSurface &selection() { return doc->document().selection(); }
    void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(main.get(), key, mods);
    }

    DocumentWindow *doc = nullptr;
    QImage lifted;
};

TEST_F(EffectsMenu, FilterKeysRewriteTheSelectionAndLeaveItInTwips)
{
    ASSERT_EQ(lifted.size(), QSize(30, 25));
    struct Case { Qt::Key key; bool (*filter)(const QImage &, QImage &, const effects::RowProgress &); };
    for (Case c : {Case{Qt::Key_F8, &effects::soften}, Case{Qt::Key_F9, &effects::sharpen},
                   Case{Qt::Key_F12, &effects::emboss}}) {
        const QImage before = selection().image();
        QImage expected = before;
        c.filter(before, expected, {});
        press(c.key);
        EXPECT_EQ(selection().image(), expected) << c.key;
        EXPECT_EQ(doc->document().scratch().image(), before) << "the scratch keeps the source";
    }
    EXPECT_EQ(selection().scaleMode(), ScaleMode::Twips);
    EXPECT_EQ(selection().scaleWidth(), 450);
    EXPECT_FALSE(doc->view()->runFrame()->isVisible());
    EXPECT_FALSE(doc->view()->runLine()->isVisible());
    // The canvas is untouched until the selection is put down.
    EXPECT_EQ(doc->document().canvas().image().copy(10, 5, 30, 25), lifted);
}

TEST_F(EffectsMenu, OilKeepsItsBorderAndChangesTheInside)
{
    press(Qt::Key_F11);
    const QImage oiled = selection().image();
    for (int x = 0; x < 30; ++x) {
        EXPECT_EQ(oiled.pixel(x, 0), lifted.pixel(x, 0));
        EXPECT_EQ(oiled.pixel(x, 24), lifted.pixel(x, 24));
    }
    EXPECT_NE(oiled.copy(2, 2, 26, 21), lifted.copy(2, 2, 26, 21));
}

TEST_F(EffectsMenu, FlipKeysMirrorAndTwiceRestores)
{
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(selection().image(), lifted.mirrored(true, false));
    EXPECT_EQ(doc->document().scratch().image(), lifted.mirrored(true, false));
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(selection().image(), lifted);
    press(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(selection().image(), lifted.mirrored(false, true));
    press(Qt::Key_X, Qt::ControlModifier);
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(selection().image(), lifted.mirrored(true, true));
    // Put down, the mirror lands where the selection was.
    QTest::keyClick(doc, Qt::Key_Return);
    EXPECT_EQ(doc->document().canvas().image().copy(10, 5, 30, 25), lifted.mirrored(true, true));
    EXPECT_TRUE(doc->document().isModified());
}

TEST_F(EffectsMenu, WithoutAFloatingSelectionNoCommandDoesAnything)
{
    QTest::keyClick(doc, Qt::Key_Escape); // drops the selection
    doc->document().markSaved();
    const QImage canvas = doc->document().canvas().image();
    const QImage sel = selection().image();
    for (const char *name : {"mnuquorsmooth", "mnuquorruihua", "mnuquoryouhua", "mnuquorfudiao",
                             "mnuquorfanzhuan1", "mnuquorfanzhuan2", "mnuquorfanzhuan3"})
        main->action(name)->trigger();
    for (const char *key : {"柔化", "锐化", "油化", "浮雕", "水平翻转", "垂直翻转", "对角翻转"})
        main->runToolBarButton(QString::fromUtf8(key));
    EXPECT_EQ(doc->document().canvas().image(), canvas);
    EXPECT_EQ(selection().image(), sel);
    EXPECT_FALSE(doc->document().isModified());

    // And with no document at all.
    main->closeActiveDocument();
    ASSERT_EQ(workspace().documentCount(), 0);
    for (const char *key : {"柔化", "水平翻转"})
        main->runToolBarButton(QString::fromUtf8(key));
    main->softenSelection();
    main->flipSelectionHorizontally();
}
