// The zoom's exact 3 x 3 blocks on odd-sized canvases, and scrolling by a
// page from the trough and by wheel notches.
#include "program_fixture.h"

#include "document/model/document.h"
#include "document/model/raster_zoom.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

using namespace quor;

namespace {

QImage noise(int w, int h, quint32 seed = 7)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            img.setPixel(x, y, 0xff000000u | (seed >> 8));
        }
    return img;
}

} // namespace

TEST(RasterZoom, EveryPixelBecomesAThreeByThreeBlockAndComesBackWhole)
{
    for (QSize size : {QSize(1, 1), QSize(2, 5), QSize(316, 234), QSize(17, 4)}) {
        const QImage src = noise(size.width(), size.height());
        // The fractional twips of the threefold size can add a column/row.
        const int w = 3 * size.width() + 1, h = 3 * size.height() + 1;
        const QImage big = raster::zoomEnlarge(src, w, h);
        ASSERT_EQ(big.size(), QSize(w, h));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(big.pixel(x, y), src.pixel(std::min(x / 3, size.width() - 1),
                                                     std::min(y / 3, size.height() - 1)))
                    << x << "," << y << " of " << w << "x" << h;
        EXPECT_EQ(raster::zoomShrink(big, size.width(), size.height()), src);
    }
}

TEST_F(ProgramTest, ZoomingANewDocumentInAndOutIsExact)
{
    DocumentWindow *doc = active();
    // A new document's canvas: 4745 x 3515 twips, 316 x 234 pixels.
    ASSERT_EQ(canvas().widthPx(), 316);
    const QImage picture = noise(316, 234);
    canvas().setImage(picture);
    workspace().settings.tool = ToolId::Zoom;
    for (int round = 0; round < 2; ++round) {
        QTest::mouseClick(doc->view()->canvasBox(), Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(canvas().scaleWidth(), 14235);
        EXPECT_EQ(canvas().widthPx(), 949);
        EXPECT_EQ(canvas().image().pixel(947, 233 * 3), picture.pixel(315, 233));
        EXPECT_EQ(canvas().image().pixel(948, 10), picture.pixel(315, 3));
        QTest::mouseClick(doc->view()->canvasBox(), Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(canvas().scaleWidth(), 4745);
        EXPECT_EQ(canvas().image(), picture) << "round " << round;
    }
}

TEST_F(ProgramTest, TheTroughScrollsAPageAndTheWheelAboutSixtyPixels)
{
    DocumentWindow *doc = active();
    doc->view()->canvasBox()->moveTwips(0, 0, 120000 / 8, 120000);
    QScrollBar *v = doc->view()->verticalScrollBar();
    const int visibleUnits = int((doc->innerHeightTwips() - pixelsToTwips(doc->view()->horizontalScrollBar()->height())) / 20);
    EXPECT_EQ(v->pageStep(), visibleUnits);
    EXPECT_EQ(v->singleStep(), 1);
    // A click in the trough below the slider.
    QTest::mouseClick(v, Qt::LeftButton, {}, QPoint(v->width() / 2, v->height() - v->width() - 3));
    EXPECT_EQ(v->value(), visibleUnits);

    v->setValue(0);
    QWheelEvent down(QPointF(10, 10), doc->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(doc->view(), &down);
    const int lines = QApplication::wheelScrollLines();
    EXPECT_EQ(v->value(), lines * 20 * 15 / 20); // lines x 20 pixels, in 20-twip units
    EXPECT_EQ(doc->view()->canvasBox()->topTwips(), -20.0 * v->value());

    QWheelEvent across(QPointF(10, 10), doc->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120),
                       Qt::NoButton, Qt::ShiftModifier, Qt::NoScrollPhase, false);
    doc->view()->canvasBox()->moveTwips(0, doc->view()->canvasBox()->topTwips(), 120000, 120000);
    QApplication::sendEvent(doc->view(), &across);
    EXPECT_EQ(doc->view()->horizontalScrollBar()->value(), lines * 15);
}
