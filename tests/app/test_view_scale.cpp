// The view scale of a document window: the same gesture writes the same
// pixels at every scale, the read-out and the size handles speak picture
// pixels, Ctrl and the wheel zoom round the pointer, and 800 % shows sharp
// blocks under a grid. Viewing never changes the picture.
#include "program_fixture.h"

#include "document/model/document.h"
#include "palettes/colour_palette.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

using namespace quor;

namespace {

// Sends one mouse event in the widget's own pixels.
void mouse(QWidget *w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent e(type, p, w->mapToGlobal(p), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void drag(QWidget *w, const QList<QPoint> &path)
{
    mouse(w, QEvent::MouseButtonPress, path.first(), Qt::LeftButton, Qt::LeftButton);
    for (QPoint p : path.mid(1))
        mouse(w, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
    mouse(w, QEvent::MouseButtonRelease, path.last(), Qt::LeftButton, Qt::NoButton);
}

QImage noise(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    quint32 seed = 11;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            img.setPixel(x, y, 0xff000000u | (seed >> 8));
        }
    return img;
}

} // namespace

class ViewScale : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        doc = active();
        view = doc->view();
        view->canvasBox()->moveTwips(0, 0, 120 * 15, 90 * 15);
    }
    // The middle of a picture pixel's block at the current scale, in the
    // pixels of a box on the canvas.
    QPoint on(int x, int y) const
    {
        const int k = view->viewScale() / 100;
        return {x * k + k / 2, y * k + k / 2};
    }
    QString readOut() const { return main->colourPalette()->pointerBox()->text(); }

    DocumentWindow *doc = nullptr;
    CanvasView *view = nullptr;
};

TEST_F(ViewScale, TheSameGestureWritesTheSameFileAtEveryScale)
{
    QTemporaryDir dir;
    const QImage blank = canvas().image();
    QList<QByteArray> files;
    for (int zoomIns : {0, 2, 5}) { // 100, 300 and 800 %
        canvas().setImage(blank);
        main->action("mnuWindowZoomActual")->trigger();
        for (int i = 0; i < zoomIns; ++i)
            main->action("mnuWindowZoomIn")->trigger();
        PictureBox *box = view->canvasBox();
        workspace().settings.tool = ToolId::Line;
        drag(box, {on(5, 5), on(30, 12), on(50, 20)});
        workspace().settings.tool = ToolId::Rectangle;
        drag(box, {on(60, 5), on(100, 30)});
        workspace().settings.tool = ToolId::Ellipse;
        drag(box, {on(5, 30), on(50, 55)});
        workspace().settings.tool = ToolId::Arc; // the guide, then the end point
        drag(box, {on(80, 60), on(100, 60)});
        drag(box, {on(80, 45)});
        // A selection over the figures, dragged, enlarged and put down.
        workspace().settings.tool = ToolId::Select;
        drag(box, {on(10, 10), on(40, 35)});
        drag(view->selectionFrame()->pictureBox(), {on(5, 5), on(25, 8)});
        drag(view->selectionFrame()->handle(RightDown), {on(1, 1), on(10, 6)});
        QTest::keyClick(doc, Qt::Key_Return);
        ASSERT_FALSE(doc->document().hasFloatingSelection());

        const QString name = dir.filePath(QString::number(zoomIns) + ".bmp");
        doc->writeCanvas(name);
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        files << f.readAll();
    }
    EXPECT_EQ(view->viewScale(), 800);
    ASSERT_NE(canvas().image(), blank);
    EXPECT_EQ(files[1], files[0]) << "300 %";
    EXPECT_EQ(files[2], files[0]) << "800 %";
}

TEST_F(ViewScale, ReadOutAndCanvasHandleSpeakPicturePixelsAt400)
{
    view->setViewScale(400);
    EXPECT_EQ(main->findChild<QLabel *>("sbViewScale")->text(), "显示 400%");
    PictureBox *box = view->canvasBox();
    ASSERT_EQ(box->size(), QSize(480, 360));
    mouse(box, QEvent::MouseMove, {4 * 30 + 3, 4 * 20}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(readOut(), "450  300");

    // 41 screen pixels right of the width handle: ten whole picture pixels.
    drag(view->widthHandle(), {{1, 1}, {41, 1}});
    EXPECT_EQ(canvas().widthPx(), 130);
    EXPECT_EQ(canvas().heightPx(), 90);
    EXPECT_EQ(box->width(), 520);
    EXPECT_EQ(view->widthHandle()->x(), box->x() + 520);
    EXPECT_EQ(view->cornerHandle()->pos(), QPoint(box->x() + 520, box->y() + 360));
}

TEST_F(ViewScale, CtrlWheelKeepsThePixelUnderThePointerAndNeverChangesThePicture)
{
    view->canvasBox()->moveTwips(0, 0, 300 * 15, 300 * 15);
    doc->document().markSaved();
    const QImage before = canvas().image();
    PictureBox *box = view->canvasBox();
    const QPoint pointer(100, 80); // in the view
    auto notch = [&](int delta) {
        // To the view: the toolkit passes only a window system's wheel
        // events on from the canvas to it.
        QWheelEvent e(pointer, view->mapToGlobal(pointer), {}, {0, delta}, Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &e);
        mouse(box, QEvent::MouseMove, box->mapFrom(view, pointer), Qt::NoButton, Qt::NoButton);
    };
    for (int expected : {200, 300, 400, 600, 800, 1200, 1600, 1600}) {
        notch(120);
        EXPECT_EQ(view->viewScale(), expected);
        EXPECT_EQ(readOut(), "1500  1200") << expected;
    }
    for (int expected : {1200, 800, 600}) {
        notch(-120);
        EXPECT_EQ(view->viewScale(), expected);
        EXPECT_EQ(readOut(), "1500  1200") << expected;
    }
    EXPECT_FALSE(doc->document().isModified());
    EXPECT_EQ(canvas().image(), before);
}

TEST_F(ViewScale, At800PercentPixelsAreSharpBlocksUnderAGrid)
{
    view->canvasBox()->moveTwips(0, 0, 40 * 15, 30 * 15);
    const QImage picture = noise(40, 30);
    canvas().setImage(picture);
    view->setViewScale(800);
    const QImage shot = view->canvasBox()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shot.size(), QSize(320, 240));
    const QRgb grey = qRgb(128, 128, 128);
    int blocks = 0, lines = 0;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            const QRgb under = picture.pixel(x / 8, y / 8);
            if (x % 8 && y % 8) {
                blocks += shot.pixel(x, y) == under;
            } else if (x % 8 || y % 8) { // a line, not where two cross
                // Half grey over the pixel, give or take rounding.
                const QRgb c = shot.pixel(x, y);
                lines += std::abs(qRed(c) - (qRed(under) + qRed(grey)) / 2) <= 2
                    && std::abs(qBlue(c) - (qBlue(under) + qBlue(grey)) / 2) <= 2;
            }
        }
    EXPECT_EQ(blocks, 40 * 30 * 49);
    EXPECT_EQ(lines, 40 * 30 * 14);
}

TEST_F(ViewScale, SelectionHandlesKeepTheirSizeOnScreen)
{
    workspace().settings.tool = ToolId::Select;
    drag(view->canvasBox(), {on(10, 10), on(30, 25)});
    PictureBox *corner = view->selectionFrame()->handle(RightDown);
    const QPoint cornerAt100 = corner->pos();
    const auto yellowPixels = [&] {
        const QImage shot = view->canvasBox()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int n = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                n += shot.pixel(x, y) == qRgb(255, 255, 0);
        return n;
    };
    const int at100 = yellowPixels();
    EXPECT_GE(at100, 8 * 4 * 4);
    for (int i = 0; i < 5; ++i) // to 800 %
        main->action("mnuWindowZoomIn")->trigger();
    ASSERT_EQ(view->viewScale(), 800);
    EXPECT_EQ(yellowPixels(), at100);
    EXPECT_EQ(corner->size(), QSize(5, 5));
    // Still at the selection's corner, which moved with the picture.
    EXPECT_NEAR(corner->x(), cornerAt100.x() * 8, 8);
    EXPECT_NEAR(corner->y(), cornerAt100.y() * 8, 8);
}
