// What the screen shows of the overlays while the user works: the select
// tool's band, the blinking selection frame, the arc guide and the run
// frame of an effect. Read from the window's backing store, which holds
// only what was really repainted.
#include "tools/canvas_mouse.h"

#include <QDir>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace quor;

namespace {

constexpr QRgb Grey = 0xff808080;

class OverlaysOnScreen : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        doc = active();
        // Grey, so that both the black and the white phase of a blink show.
        QImage grey(200, 150, QImage::Format_RGB32);
        grey.fill(Grey);
        doc->document().loadPicture(grey);
        QApplication::setActiveWindow(main.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    }
    // The screen as the window last showed it, in canvas pixels.
    QImage screen()
    {
        QCoreApplication::processEvents();
        const QPoint at = doc->view()->canvasBox()->mapTo(main.get(), QPoint(0, 0));
        return main->screen()
            ->grabWindow(main->winId(), at.x(), at.y(), 200, 150)
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    // Pixels of a row (or column) span that are near black, near white, red.
    static int count(const QImage &img, QPoint from, QPoint to, bool (*is)(QRgb))
    {
        int n = 0;
        const QPoint step((to.x() > from.x()) - (to.x() < from.x()), (to.y() > from.y()) - (to.y() < from.y()));
        for (QPoint p = from;; p += step) {
            n += is(img.pixel(p));
            if (p == to)
                return n;
        }
    }
    static bool dark(QRgb c) { return qGray(c) < 40; }
    static bool light(QRgb c) { return qGray(c) > 215; }
    static bool red(QRgb c) { return qRed(c) > 200 && qGreen(c) < 60; }

    DocumentWindow *doc = nullptr;
};

} // namespace

TEST_F(OverlaysOnScreen, TheSelectBandFollowsTheDragAndTheFrameBlinks)
{
    workspace().settings.tool = ToolId::Select;
    CanvasMouse m(doc);
    m.press({20, 20});
    m.move({80, 60});
    QImage s = screen();
    EXPECT_GT(count(s, {20, 20}, {79, 20}, dark), 10) << "the band's top edge";
    m.move({60, 40}); // shrinking leaves nothing behind
    s = screen();
    EXPECT_EQ(count(s, {70, 20}, {79, 20}, dark), 0);
    EXPECT_EQ(count(s, {79, 30}, {79, 59}, dark), 0);
    m.release({60, 40});

    // Floating: the dotted frame alternates black and white.
    bool black = false, white = false;
    for (int i = 0; i < 8 && !(black && white); ++i) {
        QTest::qWait(60);
        s = screen();
        black |= count(s, {25, 18}, {55, 18}, dark) > 5;
        white |= count(s, {25, 18}, {55, 18}, light) > 5;
    }
    EXPECT_TRUE(black);
    EXPECT_TRUE(white);
}

TEST_F(OverlaysOnScreen, TheArcGuideFollowsThePointer)
{
    workspace().settings.tool = ToolId::Arc;
    doc->view()->guideBlinkTimer()->setInterval(60000); // one phase for the whole test
    CanvasMouse m(doc);
    m.press({100, 100});
    m.move({160, 100});
    QImage s = screen();
    EXPECT_GT(count(s, {105, 100}, {155, 100}, dark), 45);
    m.move({100, 140});
    s = screen();
    EXPECT_EQ(count(s, {105, 100}, {155, 100}, dark), 0) << "the old guide is gone";
    EXPECT_GT(count(s, {100, 105}, {100, 135}, dark), 25);
    m.release({100, 140});
}

TEST_F(OverlaysOnScreen, TheRunFrameGoesWhenTheFilterEnds)
{
    workspace().settings.tool = ToolId::Select;
    CanvasMouse(doc).drag({{20, 20}, {120, 100}});
    QTest::keyClick(main.get(), Qt::Key_F8);
    const QImage s = screen();
    EXPECT_EQ(count(s, {20, 20}, {119, 20}, red), 0);
    EXPECT_EQ(count(s, {20, 20}, {20, 99}, red), 0);
}

TEST_F(OverlaysOnScreen, MidRunTheRowsNotYetWrittenShowTheSource)
{
    workspace().settings.tool = ToolId::Select;
    CanvasMouse(doc).drag({{20, 20}, {120, 100}});
    ASSERT_TRUE(doc->document().hasFloatingSelection());
    const QPoint at = doc->view()->canvasBox()->mapTo(main.get(), QPoint(0, 0));
    QImage midRun;
    // Rows 3 .. 40 turn blue inside a frame of 3 the run leaves alone; the
    // screen is read while the run waits after row 40.
    doc->runOnSelection(
        [&](const QImage &, QImage &target, const std::function<void(int)> &rowDone) {
            for (int y = 3; y <= 40; ++y) {
                auto *row = reinterpret_cast<QRgb *>(target.scanLine(y));
                std::fill(row + 3, row + target.width() - 3, qRgb(0, 0, 255));
                if (y == 40)
                    QTest::qSleep(40); // the screen is due
                rowDone(y);
            }
            midRun = main->screen()->grabWindow(main->winId(), at.x(), at.y(), 200, 150).toImage();
            for (int y = 41; y < target.height() - 3; ++y) {
                auto *row = reinterpret_cast<QRgb *>(target.scanLine(y));
                std::fill(row + 3, row + target.width() - 3, qRgb(0, 0, 255));
            }
        },
        QMargins(3, 3, 3, 3));
    EXPECT_EQ(midRun.pixel(70, 20 + 30), qRgb(0, 0, 255));
    EXPECT_EQ(midRun.pixel(70, 20 + 60), Grey) << "below the line";
    EXPECT_EQ(midRun.pixel(22, 20 + 30), Grey) << "in the frame";
    const QImage result = doc->document().selection().image();
    EXPECT_EQ(result.pixel(1, 1), Grey);
    EXPECT_EQ(result.pixel(result.width() - 2, 60), Grey);
    EXPECT_EQ(result.pixel(50, 60), qRgb(0, 0, 255));
}

// The frame shows all four edges outside the picture's box at every scale;
// at 25 % its margins are under a pixel and the box used to hide two.
TEST_F(OverlaysOnScreen, TheSelectionFrameShowsAllFourEdgesAtEveryScale)
{
    workspace().settings.tool = ToolId::Select;
    QTest::keyClick(main.get(), Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(main.get(), Qt::Key_Minus, Qt::ControlModifier);
    CanvasMouse(doc).drag({{5, 5}, {30, 25}});
    const QWidget *box = doc->view()->selectionFrame()->pictureBox();
    // Black or white, the phases of the blink; not grey or a yellow handle.
    auto ink = [](QRgb c) { return dark(c) || (light(c) && qBlue(c) > 215); };
    for (int scale : ViewScales) {
        if (scale > 25)
            QTest::keyClick(main.get(), Qt::Key_Equal, Qt::ControlModifier);
        ASSERT_EQ(doc->view()->viewScale(), scale);
        const QImage s = doc->view()->canvasBox()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        if (scale == 25)
            s.save(QDir::temp().filePath("quor-frame-25.png"));
        // Dots on the first line out from each side that has any.
        auto edge = [&](QPoint from, QPoint to, QPoint out) {
            int n = 0;
            for (int step = 1; n == 0 && s.rect().contains(from + out * step) && step < 64; ++step)
                n = count(s, from + out * step, to + out * step, +ink);
            return n;
        };
        const QRect g = box->geometry();
        const int least = std::min(g.width(), g.height()) / 3;
        EXPECT_GE(edge(g.topLeft(), g.bottomLeft(), {-1, 0}), least) << scale << "% left";
        EXPECT_GE(edge(g.topLeft(), g.topRight(), {0, -1}), least) << scale << "% top";
        EXPECT_GE(edge(g.topRight(), g.bottomRight(), {1, 0}), least) << scale << "% right";
        EXPECT_GE(edge(g.bottomLeft(), g.bottomRight(), {0, 1}), least) << scale << "% bottom";
    }
}
