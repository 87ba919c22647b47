// The Edit menu's clipboard, whole-picture and colour commands as a user
// runs them: shortcuts on the main window, the toolbar, the dialogs.
#include "program_fixture.h"

#include "app/whole_picture_window.h"
#include "document/model/document.h"
#include "files/file_texts.h"
#include "formats/picture_loader.h"
#include "formats/picture_samples.h"
#include "palettes/colour_palette.h"
#include "palettes/tool_palette.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QMimeData>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace quor;

namespace {

QImage noise(int w, int h, quint32 seed = 12345)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            img.setPixel(x, y, 0xff000000u | (seed >> 8));
        }
    return img;
}

QImage inverted(QImage img)
{
    img.invertPixels();
    return img;
}

QImage rgb32(const QImage &img) { return img.convertToFormat(QImage::Format_RGB32); }

constexpr Colour grey = rgbColour(192, 192, 192);
constexpr Colour white = rgbColour(255, 255, 255);

} // namespace

class EditMenu : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        doc = active();
        doc->document().loadPicture(picture);
        doc->document().markSaved();
        QGuiApplication::clipboard()->clear();
        // Shortcuts reach only the active window.
        QApplication::setActiveWindow(main.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    }
    Document &model() { return doc->document(); }
    CanvasSurface &selection() { return model().selection(); }
    void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::ControlModifier)
    {
        QTest::keyClick(main.get(), key, mods);
    }
    // Lifts canvas pixels 10..39 x 5..29 with the selection tool.
    void lift()
    {
        workspace().settings.tool = ToolId::Select;
        doc->canvasPressed({Qt::LeftButton, {}, 150, 75});
        doc->canvasMoved({Qt::LeftButton, {}, 600, 450});
        doc->canvasReleased({Qt::LeftButton, {}, 600, 450});
    }
    // Runs the whole-picture command; `look` sees the open window, then
    // Escape is pressed on it. Whether Escape closed it is returned.
    bool seeAll(const std::function<void(WholePictureWindow &)> &look)
    {
        bool seen = false, closedByEscape = false;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto *w = qobject_cast<WholePictureWindow *>(QApplication::activeModalWidget());
            if (!w || seen)
                return;
            seen = true;
            look(*w);
            QTest::keyClick(w, Qt::Key_Escape);
            closedByEscape = !w->isVisible();
            if (w->isVisible())
                w->reject(); // never leave the test waiting
        });
        poll.start();
        press(Qt::Key_T);
        EXPECT_TRUE(seen);
        return closedByEscape;
    }

    const QImage picture = noise(60, 40);
    DocumentWindow *doc = nullptr;
};

TEST_F(EditMenu, SelectAllFloatsTheWholeCanvasAndInvertTargetInvertsIt)
{
    press(Qt::Key_A);
    EXPECT_TRUE(model().hasFloatingSelection());
    EXPECT_EQ(selection().image(), picture);
    EXPECT_EQ(model().selectionPlace().left, 0);
    EXPECT_EQ(model().selectionPlace().top, 0);
    EXPECT_TRUE(doc->view()->selectionFrame()->pictureBox()->isVisible());
    EXPECT_TRUE(doc->view()->selectionFrame()->blackFrame()->isVisible());
    EXPECT_TRUE(doc->view()->selectionFrame()->blinkTimer()->isActive());
    EXPECT_TRUE(doc->view()->selectionFrame()->handle(7)->isVisible());
    EXPECT_EQ(model().canvas().image(), picture);
    EXPECT_FALSE(model().isModified());

    main->action("mnuvbdstinvert")->trigger();
    QTest::keyClick(doc, Qt::Key_Return);
    EXPECT_EQ(model().canvas().image(), inverted(picture));
    EXPECT_TRUE(model().isModified());
    EXPECT_FALSE(model().hasFloatingSelection());
}

TEST_F(EditMenu, ClearFillsTheSelectionWithTheDrawingColourNotTheCanvas)
{
    lift();
    const FillStyle fillStyle = selection().fillStyle();
    main->colourPalette()->setDrawingColour(rgbColour(0, 0, 200));
    main->action("mnuEditCls")->trigger();
    for (QPoint p : {QPoint(0, 0), QPoint(29, 24), QPoint(15, 12)})
        EXPECT_EQ(selection().image().pixel(p), 0xff0000c8u) << p.x() << "," << p.y();
    EXPECT_EQ(selection().fillStyle(), fillStyle);
    EXPECT_EQ(model().canvas().image(), picture);

    QTest::keyClick(doc, Qt::Key_Return);
    EXPECT_EQ(model().canvas().image().pixel(10, 5), 0xff0000c8u);
    EXPECT_EQ(model().canvas().image().pixel(39, 29), 0xff0000c8u);
    EXPECT_EQ(model().canvas().image().pixel(40, 30), picture.pixel(40, 30));
}

TEST_F(EditMenu, CopyTakesOnlyAFloatingSelection)
{
    QClipboard *clip = QGuiApplication::clipboard();
    clip->setText(QStringLiteral("keep"));
    press(Qt::Key_C);
    main->runToolBarButton(QStringLiteral("复制"));
    EXPECT_EQ(clip->text(), "keep");
    EXPECT_FALSE(clip->mimeData()->hasImage());

    lift();
    press(Qt::Key_C);
    EXPECT_EQ(rgb32(clip->image()), picture.copy(10, 5, 30, 25));

    // The toolbar button copies the floating picture as it is now.
    main->action("mnuquorfanzhuan1")->trigger();
    main->runToolBarButton(QStringLiteral("复制"));
    EXPECT_EQ(rgb32(clip->image()), picture.copy(10, 5, 30, 25).mirrored(true, false));
}

TEST_F(EditMenu, PasteLandsAtTheLastGestureStartAndReachesTheCanvasOnlyWhenPutDown)
{
    const QImage pasted = noise(20, 10, 99);
    QGuiApplication::clipboard()->setImage(pasted);
    // Before any gesture: the top-left corner.
    press(Qt::Key_V);
    ASSERT_TRUE(model().hasFloatingSelection());
    EXPECT_EQ(selection().image(), pasted);
    EXPECT_EQ(model().selectionPlace().left, 0);
    EXPECT_EQ(model().selectionPlace().top, 0);
    EXPECT_EQ(doc->view()->selectionFrame()->pictureBox()->size(), QSize(20, 10));
    EXPECT_TRUE(doc->view()->selectionFrame()->blackFrame()->isVisible());
    EXPECT_EQ(model().canvas().image(), picture);
    EXPECT_FALSE(model().isModified());
    QTest::keyClick(doc, Qt::Key_Return);
    EXPECT_EQ(model().canvas().image().copy(0, 0, 20, 10), pasted);
    EXPECT_TRUE(model().isModified());

    // After a gesture: where it started; the toolbar button does the same.
    lift();
    QTest::keyClick(doc, Qt::Key_Escape);
    main->runToolBarButton(QStringLiteral("粘贴"));
    EXPECT_EQ(model().selectionPlace().left, 150);
    EXPECT_EQ(model().selectionPlace().top, 75);
    // Put down with the paste operation in force.
    main->action("mnuvbsrcinvert")->trigger();
    const QImage under = model().canvas().image().copy(10, 5, 20, 10);
    QTest::keyClick(doc, Qt::Key_Return);
    const QImage got = model().canvas().image().copy(10, 5, 20, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(got.pixel(x, y), 0xff000000u | (pasted.pixel(x, y) ^ under.pixel(x, y)))
                << x << "," << y;
}

TEST_F(EditMenu, PasteWithoutAPictureOnTheClipboardDoesNothing)
{
    press(Qt::Key_V);
    QGuiApplication::clipboard()->setText(QStringLiteral("only text"));
    press(Qt::Key_V);
    EXPECT_FALSE(model().hasFloatingSelection());
    EXPECT_FALSE(doc->view()->selectionFrame()->pictureBox()->isVisible());
    EXPECT_FALSE(doc->view()->selectionFrame()->blackFrame()->isVisible());
    EXPECT_EQ(model().canvas().image(), picture);
}

TEST_F(EditMenu, PasteTakesPngBmpAndJpegFromOtherPrograms)
{
    // Another program offers the picture's file bytes under a picture type.
    QImage flat(24, 16, QImage::Format_RGB32);
    flat.fill(qRgb(200, 40, 90));
    const QImage exact = noise(24, 16, 7);
    struct Case { const char *type; const char *format; QImage sent; };
    for (const Case &c : {Case{"image/png", "PNG", exact}, Case{"image/bmp", "BMP", exact},
                          Case{"image/jpeg", "JPEG", flat}}) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(c.sent.save(&buffer, c.format, 100)) << c.type;
        auto *data = new QMimeData;
        data->setData(QLatin1String(c.type), bytes);
        QGuiApplication::clipboard()->setMimeData(data);
        press(Qt::Key_V);
        ASSERT_TRUE(model().hasFloatingSelection()) << c.type;
        const QImage got = selection().image();
        ASSERT_EQ(got.size(), c.sent.size()) << c.type;
        if (c.sent == exact) {
            EXPECT_EQ(got, exact) << c.type;
        } else {
            const QColor p = got.pixelColor(12, 8);
            EXPECT_NEAR(p.red(), 200, 3);
            EXPECT_NEAR(p.green(), 40, 3);
            EXPECT_NEAR(p.blue(), 90, 3);
        }
        QTest::keyClick(doc, Qt::Key_Escape);
    }
    // A picture type whose bytes are no picture pastes nothing.
    auto *broken = new QMimeData;
    broken->setData(QStringLiteral("image/png"), QByteArray("not a picture"));
    QGuiApplication::clipboard()->setMimeData(broken);
    press(Qt::Key_V);
    EXPECT_FALSE(model().hasFloatingSelection());
}

namespace {

// A 24-bit BMP file declaring 100 x 100 pixels that start at `offset`,
// with only 100 bytes of them.
QByteArray lyingBmp(quint32 offset)
{
    const QByteArray dib = samples::infoHeader(100, 100, 24, 0) + QByteArray(100, 'Z');
    QByteArray b = samples::bmpFile(dib, 40);
    for (int i = 0; i < 4; ++i)
        b[10 + i] = char(offset >> (8 * i));
    return b;
}

} // namespace

TEST_F(EditMenu, PasteDecodesAsOpenDoesAndSaysWhyItRefuses)
{
    QTemporaryDir dir;
    struct Case { const char *what; QByteArray bytes; const char *type; };
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    noise(30, 20, 9).save(&buffer, "PNG");
    const Case refused[] = {
        {"100 bytes of pixels for 100 x 100", lyingBmp(54), "image/bmp"},
        {"pixels past the end", lyingBmp(100000), "image/bmp"},
        {"a PNG cut short", png.left(png.size() - 20), "image/png"},
        {"a PNG too large", [&] {
             QByteArray big = png;
             big[16] = big[17] = '\x7f'; // about 2^30 pixels wide
             return big;
         }(), "image/png"},
        {"no picture at all", "not a picture", "image/bmp"},
        {"nothing handed over", QByteArray(), "image/png"},
    };
    for (const Case &c : refused) {
        script.shown.clear();
        auto *data = new QMimeData;
        data->setData(QLatin1String(c.type), c.bytes);
        QGuiApplication::clipboard()->setMimeData(data);
        press(Qt::Key_V);
        EXPECT_FALSE(model().hasFloatingSelection()) << c.what;
        EXPECT_EQ(model().canvas().image(), picture) << c.what;
        ASSERT_EQ(script.shown.size(), 1) << c.what;
        // Open of a file with the same bytes says the same.
        const QString file = dir.filePath("same");
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(c.bytes) == c.bytes.size());
        f.close();
        QString openSays = QStringLiteral("剪贴板上的图片是空的（提供它的程序没有交出数据）。");
        if (!c.bytes.isEmpty()) {
            try {
                loadPictureFile(file);
                ADD_FAILURE() << c.what << " opens";
            } catch (const QuorError &e) {
                openSays = e.description;
            }
        }
        EXPECT_EQ(lastMessage().text, otherErrorMessage(openSays)) << c.what;
        EXPECT_EQ(lastMessage().title, QCoreApplication::applicationName());
    }

    // Accepted: the very picture sent, as Open makes it.
    const QImage sent = noise(100, 100, 3);
    QByteArray whole;
    QBuffer out(&whole);
    out.open(QIODevice::WriteOnly);
    sent.save(&out, "BMP");
    auto *data = new QMimeData;
    data->setData(QStringLiteral("image/bmp"), whole);
    QGuiApplication::clipboard()->setMimeData(data);
    script.shown.clear();
    press(Qt::Key_V);
    EXPECT_TRUE(script.shown.isEmpty());
    ASSERT_TRUE(model().hasFloatingSelection());
    EXPECT_EQ(rgb32(selection().image()), sent);
}

TEST_F(EditMenu, SecondPasteReplacesTheFloatingPictureAndKeepsTheBlink)
{
    QGuiApplication::clipboard()->setImage(noise(20, 10, 1));
    press(Qt::Key_V);
    // Let the frame blink once: the white phase shows.
    QElapsedTimer t;
    t.start();
    while (!doc->view()->selectionFrame()->whiteFrame()->isVisible() && t.elapsed() < 3000)
        QTest::qWait(5);
    ASSERT_TRUE(doc->view()->selectionFrame()->whiteFrame()->isVisible());
    ASSERT_FALSE(doc->view()->selectionFrame()->blackFrame()->isVisible());

    const QImage second = noise(35, 15, 2);
    QGuiApplication::clipboard()->setImage(second);
    main->action("mnuEditPaste")->trigger();
    EXPECT_EQ(selection().image(), second);
    EXPECT_EQ(doc->view()->selectionFrame()->pictureBox()->size(), QSize(35, 15));
    // Still one phase at a time.
    EXPECT_FALSE(doc->view()->selectionFrame()->blackFrame()->isVisible());
    EXPECT_TRUE(doc->view()->selectionFrame()->whiteFrame()->isVisible());
    EXPECT_TRUE(doc->view()->selectionFrame()->blinkTimer()->isActive());
    EXPECT_EQ(model().canvas().image(), picture);
}

TEST_F(EditMenu, PictureLargerThanTheCanvasLimitsIsPastedWhole)
{
    QImage big(3000, 2500, QImage::Format_RGB32);
    big.fill(qRgb(10, 20, 30));
    big.setPixel(2999, 2499, qRgb(250, 0, 0));
    QGuiApplication::clipboard()->setImage(big);
    press(Qt::Key_V);
    EXPECT_EQ(selection().widthPx(), 3000);
    EXPECT_EQ(selection().heightPx(), 2500);
    EXPECT_EQ(selection().image().pixel(2999, 2499), qRgb(250, 0, 0));
    EXPECT_EQ(model().canvas().image().size(), picture.size());
}

TEST_F(EditMenu, WholePictureShowsAnExactCopyAndEscapeClosesIt)
{
    model().canvas().line(0, 0, 300, 300, rgbColour(255, 0, 0), LineKind::BoxFilled);
    model().markSaved();
    const QImage canvas = model().canvas().image();
    const bool closed = seeAll([&](WholePictureWindow &w) {
        EXPECT_EQ(w.windowTitle(), "查看全图");
        EXPECT_FALSE(w.scaledDown());
        EXPECT_EQ(rgb32(w.pictureLabel()->pixmap().toImage()), canvas);
        // Centred in the window, which opened at the picture's size.
        w.resize(160, 140);
        QApplication::processEvents();
        EXPECT_EQ(w.pictureLabel()->pos(), QPoint(50, 50));
        w.resize(40, 140);
        QApplication::processEvents();
        EXPECT_EQ(w.pictureLabel()->pos(), QPoint(0, 50));
    });
    EXPECT_TRUE(closed);
    EXPECT_EQ(model().canvas().image(), canvas);
    EXPECT_FALSE(model().isModified());
    EXPECT_EQ(model().scratch().widthPx(), 1); // the copy is let go
}

TEST_F(EditMenu, WholePictureGoesThroughThePasteMode)
{
    main->action("mnuvbnotsrccopy")->trigger();
    seeAll([&](WholePictureWindow &w) {
        EXPECT_EQ(rgb32(w.pictureLabel()->pixmap().toImage()), inverted(picture));
    });
    EXPECT_EQ(model().canvas().image(), picture);
}

TEST_F(EditMenu, WholePictureLargerThanTheScreenIsScaledToFit)
{
    QImage big(2400, 2000, QImage::Format_RGB32);
    big.fill(qRgb(0, 0, 255));
    for (int y = 0; y < 2000; ++y)
        for (int x = 0; x < 1200; ++x)
            big.setPixel(x, y, qRgb(255, 0, 0));
    model().loadPicture(big);
    const QRect screen = main->screen()->availableGeometry();
    ASSERT_TRUE(screen.width() < 2400 || screen.height() < 2000);
    seeAll([&](WholePictureWindow &w) {
        EXPECT_TRUE(w.scaledDown());
        EXPECT_TRUE(w.windowTitle().startsWith(QStringLiteral("查看全图（缩小显示 ")));
        const QImage shown = w.pictureLabel()->pixmap().toImage();
        EXPECT_LE(shown.width(), screen.width());
        EXPECT_LE(shown.height(), screen.height());
        EXPECT_NEAR(double(shown.width()) / shown.height(), 1.2, 0.01);
        EXPECT_TRUE(screen.contains(w.geometry()));
        EXPECT_EQ(shown.pixel(shown.width() / 4, shown.height() / 2), qRgb(255, 0, 0));
        EXPECT_EQ(shown.pixel(shown.width() * 3 / 4, shown.height() / 2), qRgb(0, 0, 255));
    });
}

TEST_F(EditMenu, ForegroundColourGoesToCanvasSelectionTextBoxAndPalette)
{
    lift();
    script.colourAnswers.push_back(QColor(0, 90, 0));
    press(Qt::Key_F);
    ASSERT_EQ(script.shown.size(), 1);
    EXPECT_EQ(script.shown[0].kind, "colour");
    EXPECT_EQ(script.shown[0].title, "前景色...");
    EXPECT_EQ(script.shown[0].colourOptions,
              ColourOption::StartFromColour | ColourOption::FullyOpen);
    const Colour green = rgbColour(0, 90, 0);
    EXPECT_EQ(model().canvas().foreColor(), green);
    EXPECT_EQ(selection().foreColor(), green);
    EXPECT_EQ(doc->view()->textBox()->palette().color(QPalette::Text), QColor(0, 90, 0));
    EXPECT_EQ(main->colourPalette()->foreColourBox()->backColor(), green);
    EXPECT_EQ(workspace().settings.foreColour, green);
    EXPECT_EQ(main->toolPalette()->styleBox(StyleFamily::Rectangle, 3)->surface().point(90, 97), green);

    // Light grey: everything grey but the samples, which go white.
    script.colourAnswers.push_back(QColor(192, 192, 192));
    main->runToolBarButton(QStringLiteral("前景色"));
    EXPECT_EQ(model().canvas().foreColor(), grey);
    EXPECT_EQ(selection().foreColor(), grey);
    EXPECT_EQ(doc->view()->textBox()->palette().color(QPalette::Text), QColor(192, 192, 192));
    EXPECT_EQ(main->colourPalette()->foreColourBox()->backColor(), grey);
    EXPECT_EQ(colourDialogStart(), QColor(255, 255, 255));
    ToolPalette *tools = main->toolPalette();
    EXPECT_EQ(tools->styleBox(StyleFamily::Rectangle, 2)->surface().point(90, 97), white);
    EXPECT_EQ(tools->styleBox(StyleFamily::Sector, 9)->surface().point(300, 97), white);
    EXPECT_EQ(tools->styleBox(StyleFamily::Ellipse, 14)->surface().point(300, 97), white);

    // Cancel changes nothing and says nothing.
    script.colourAnswers.push_back(std::nullopt);
    press(Qt::Key_F);
    EXPECT_EQ(model().canvas().foreColor(), grey);
    EXPECT_EQ(lastMessage().kind, "");
}

TEST_F(EditMenu, BackgroundColourLeavesOnlyTheLoadedPictureAndMarksTheDocument)
{
    model().resizeCanvas(1500, 900); // 100 x 60 pixels, the picture in the corner
    model().canvas().line(0, 0, 1485, 885, rgbColour(255, 0, 0), LineKind::BoxFilled);
    // A selection lifted after another was dropped, with a stroke on it.
    lift();
    QTest::keyClick(doc, Qt::Key_Escape);
    lift();
    selection().line(0, 0, 300, 0, rgbColour(0, 255, 0));
    model().markSaved();

    script.colourAnswers.push_back(QColor(0, 128, 0));
    press(Qt::Key_B);
    EXPECT_EQ(script.shown.value(0).title, "背景色");
    EXPECT_EQ(script.shown.value(0).colourOptions,
              ColourOption::StartFromColour | ColourOption::FullyOpen);
    const QImage c = model().canvas().image();
    EXPECT_EQ(c.copy(0, 0, 60, 40), picture);
    EXPECT_EQ(c.pixel(80, 50), qRgb(0, 128, 0));
    EXPECT_EQ(c.pixel(70, 10), qRgb(0, 128, 0));
    QImage plain(30, 25, QImage::Format_RGB32);
    plain.fill(qRgb(0, 128, 0));
    EXPECT_EQ(selection().image(), plain);
    EXPECT_EQ(main->colourPalette()->backColourBox()->backColor(), rgbColour(0, 128, 0));
    EXPECT_EQ(workspace().settings.backColour, rgbColour(0, 128, 0));
    EXPECT_TRUE(model().isModified());

    script.colourAnswers.push_back(std::nullopt);
    model().markSaved();
    main->runToolBarButton(QStringLiteral("背景色"));
    EXPECT_FALSE(model().isModified());
    EXPECT_EQ(lastMessage().kind, "");
}

TEST_F(EditMenu, WithoutADocumentNothingHappens)
{
    main->closeActiveDocument();
    ASSERT_EQ(workspace().documentCount(), 0);
    const QImage onClip = noise(8, 8, 5);
    QGuiApplication::clipboard()->setImage(onClip);
    script.colourAnswers.push_back(QColor(1, 2, 3));
    script.colourAnswers.push_back(QColor(1, 2, 3));
    for (auto handler : {&MainWindow::selectAll, &MainWindow::clearPicture,
                         &MainWindow::copy, &MainWindow::paste,
                         &MainWindow::showWholePicture, &MainWindow::chooseForegroundColour,
                         &MainWindow::chooseBackgroundColour})
        (main.get()->*handler)();
    for (const char *key : {"复制", "粘贴", "前景色", "背景色"})
        main->runToolBarButton(QString::fromUtf8(key));
    EXPECT_TRUE(script.shown.isEmpty());
    EXPECT_EQ(rgb32(QGuiApplication::clipboard()->image()), onClip);
    EXPECT_EQ(workspace().settings.foreColour, 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
