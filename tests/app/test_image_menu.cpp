// The Image menu on a 7 x 5 picture and on a floating selection, each
// command against the pure operation and undone exactly; the resize limits.
#include "program_fixture.h"

#include "dialogs/resize_dialog.h"
#include "document/model/document.h"
#include "effects/image_ops.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QSpinBox>
#include <QTest>

using namespace quor;
using effects::Turn;

namespace {

QImage noise(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    quint32 s = 99;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            s = s * 1664525u + 1013904223u;
            img.setPixel(x, y, 0xff000000u | (s >> 8));
        }
    return img;
}

struct Command
{
    const char *entry;
    QImage (*expected)(const QImage &);
};

const Command commands[] = {
    {"mnuImageTurnRight", [](const QImage &i) { return effects::turned(i, Turn::Right); }},
    {"mnuImageTurnLeft", [](const QImage &i) { return effects::turned(i, Turn::Left); }},
    {"mnuImageTurnHalf", [](const QImage &i) { return effects::turned(i, Turn::Half); }},
    {"mnuImageInvert", &effects::inverted},
    {"mnuImageGrey", &effects::greyed},
};

} // namespace

class ImageMenu : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        doc().loadPicture(noise(7, 5));
        original = canvas().image();
        QApplication::setActiveWindow(main.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    }
    Document &doc() { return active()->document(); }
    QImage original;
};

TEST_F(ImageMenu, EachCommandChangesTheWholePictureInOneStep)
{
    for (const Command &c : commands) {
        doc().markSaved();
        main->action(c.entry)->trigger();
        const QImage expected = c.expected(original);
        EXPECT_EQ(canvas().image(), expected) << c.entry;
        EXPECT_EQ(canvas().scaleWidth(), expected.width() * 15) << c.entry;
        EXPECT_TRUE(doc().isModified()) << c.entry;
        main->undo();
        EXPECT_EQ(canvas().image(), original) << c.entry;
        EXPECT_EQ(canvas().scaleHeight(), 75) << c.entry;
        EXPECT_FALSE(doc().isModified()) << c.entry;
    }
    QTest::keyClick(main.get(), Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(canvas().image(), effects::turned(original, Turn::Right));
}

TEST_F(ImageMenu, WithASelectionFloatingOnlyItChangesAndCropKeepsIt)
{
    // Lift pixels 2..5 x 1..3 with the selection tool.
    workspace().settings.tool = ToolId::Select;
    active()->canvasPressed({Qt::LeftButton, {}, 30, 15});
    active()->canvasMoved({Qt::LeftButton, {}, 90, 60});
    active()->canvasReleased({Qt::LeftButton, {}, 90, 60});
    const QImage lifted = doc().selection().image();
    ASSERT_EQ(lifted, original.copy(2, 1, 4, 3));
    for (const Command &c : commands) {
        main->action(c.entry)->trigger();
        EXPECT_EQ(doc().selection().image(), c.expected(lifted)) << c.entry;
        EXPECT_EQ(canvas().image(), original) << c.entry;
        main->undo();
        EXPECT_EQ(doc().selection().image(), lifted) << c.entry;
    }
    main->action("mnuImageCrop")->trigger();
    EXPECT_EQ(canvas().image(), lifted);
    EXPECT_EQ(canvas().scaleWidth(), 60);
    EXPECT_FALSE(doc().hasFloatingSelection());
    main->undo();
    EXPECT_EQ(canvas().image(), original);
    EXPECT_TRUE(doc().hasFloatingSelection());
}

TEST_F(ImageMenu, ResizeTakesTheDialogsSizeAndRefusesTooLargeOnes)
{
    ResizeDialog dialog({7, 5});
    dialog.unitBox()->setCurrentIndex(1);
    dialog.widthBox()->setValue(200); // the height follows
    EXPECT_EQ(dialog.chosenSize(), QSize(14, 10));
    main->resizePictureTo(dialog.chosenSize(), false);
    EXPECT_EQ(canvas().image(), effects::scaled(original, {14, 10}, false));
    EXPECT_EQ(canvas().scaleWidth(), 210);

    doc().markSaved();
    const QImage before = canvas().image();
    main->resizePictureTo({40000, 10}, true);
    EXPECT_TRUE(lastMessage().text.contains("太大"));
    EXPECT_EQ(canvas().image(), before);
    EXPECT_FALSE(doc().isModified());

    main->closeActiveDocument();
    EXPECT_FALSE(main->action("mnuImageTurnRight")->isEnabled());
    EXPECT_FALSE(main->action("mnuImageResize")->isEnabled());
}
