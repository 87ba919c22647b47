#include "palette_test.h"

#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

using namespace quor;

namespace {
constexpr Colour grey = rgbColour(192, 192, 192);
constexpr Colour white = rgbColour(255, 255, 255);
} // namespace

class ColourPaletteTest : public PaletteTest
{
protected:
    CanvasSurface &sample(StyleFamily f, int i) { return tools().styleBox(f, i)->surface(); }
};

TEST_F(ColourPaletteTest, SwatchesLieInTwoRowsOfTwentyFourColumns)
{
    EXPECT_EQ(colours().swatch(9)->backColor(), white);
    EXPECT_EQ(colours().swatch(10)->backColor(), rgbColour(0, 0, 0));
    EXPECT_EQ(colours().swatch(56)->backColor(), rgbColour(192, 0, 192));
    EXPECT_EQ(colours().swatch(13)->leftTwips(), 600 + 2 * 270);
    EXPECT_EQ(colours().swatch(13)->topTwips(), 30);
    EXPECT_EQ(colours().swatch(14)->topTwips(), 270);
    EXPECT_EQ(colours().swatch(55)->leftTwips(), 600 + 23 * 270);
}

TEST_F(ColourPaletteTest, SwatchClickMakesTheDrawingColourAndRedrawsTheSamples)
{
    colours().swatchClicked(17);
    EXPECT_EQ(workspace().settings.drawingColour, rgbColour(255, 128, 128));
    EXPECT_EQ(sample(StyleFamily::Rectangle, 1).point(300, 97), rgbColour(255, 128, 128));

    colours().swatchClicked(13); // column 3, top row
    EXPECT_EQ(workspace().settings.drawingColour, grey);
    EXPECT_EQ(canvas().fillColor(), grey);
    EXPECT_EQ(sample(StyleFamily::Line, 1).point(300, 157), grey);
    EXPECT_EQ(sample(StyleFamily::Line, 1).point(300, 97), grey); // the face, no line there
    EXPECT_EQ(sample(StyleFamily::GradientLine, 4).point(90, 80), grey);
    EXPECT_EQ(sample(StyleFamily::Rectangle, 1).point(300, 97), grey);
    EXPECT_EQ(sample(StyleFamily::Ellipse, 1).point(350, 97), grey);
    // Outlines and the shape families' line samples keep their fore colour.
    EXPECT_EQ(sample(StyleFamily::Rectangle, 1).point(90, 97), 0);
    EXPECT_EQ(sample(StyleFamily::Rectangle, 10).point(90, 97), 0);
}

TEST_F(ColourPaletteTest, DrawingColourFromTheDialog)
{
    script.colourAnswers.push_back(QColor(0, 0, 200));
    script.colourAnswers.push_back(std::nullopt);
    colours().pickDrawingColour();
    colours().pickDrawingColour();
    ASSERT_EQ(script.shown.size(), 2);
    EXPECT_EQ(script.shown[0].title, "绘图色");
    EXPECT_EQ(script.shown[0].colourOptions,
              ColourOption::StartFromColour | ColourOption::FullyOpen);
    EXPECT_EQ(lastMessage().kind, "");
    EXPECT_EQ(workspace().settings.drawingColour, rgbColour(0, 0, 200));
    EXPECT_EQ(canvas().fillColor(), rgbColour(0, 0, 200));
    EXPECT_EQ(sample(StyleFamily::Line, 2).point(90, 157), rgbColour(0, 0, 200));
}

TEST_F(ColourPaletteTest, ForegroundColourGoesToCanvasAndSampleOutlines)
{
    script.colourAnswers.push_back(QColor(0, 90, 0));
    colours().pickForeColour();
    EXPECT_EQ(script.shown.value(0).title, "前景色");
    EXPECT_EQ(canvas().foreColor(), rgbColour(0, 90, 0));
    EXPECT_EQ(sample(StyleFamily::Sector, 12).point(90, 97), rgbColour(0, 90, 0));
    EXPECT_EQ(sample(StyleFamily::Rectangle, 3).point(90, 97), rgbColour(0, 90, 0));
}

TEST_F(ColourPaletteTest, LightGreyForegroundStaysOnTheCanvasButSamplesGoWhite)
{
    script.colourAnswers.push_back(QColor(192, 192, 192));
    colours().pickForeColour();
    EXPECT_EQ(canvas().foreColor(), grey);
    EXPECT_EQ(colours().foreColourBox()->backColor(), grey);
    EXPECT_EQ(colourDialogStart(), QColor(255, 255, 255));
    EXPECT_EQ(sample(StyleFamily::Sector, 9).point(300, 97), white);
    EXPECT_EQ(sample(StyleFamily::Rectangle, 2).point(90, 97), white);
    EXPECT_EQ(sample(StyleFamily::Ellipse, 14).point(300, 97), white);
}

TEST_F(ColourPaletteTest, BackgroundColourClearsTheDrawing)
{
    canvas().line(0, 0, 1500, 1500, rgbColour(255, 0, 0), LineKind::BoxFilled);
    active()->document().markSaved();
    script.colourAnswers.push_back(QColor(0, 128, 0));
    colours().pickBackColour();
    EXPECT_EQ(script.shown.value(0).title, "背景色");
    EXPECT_EQ(canvas().backColor(), rgbColour(0, 128, 0));
    EXPECT_EQ(canvas().point(750, 750), rgbColour(0, 128, 0));
    EXPECT_EQ(colours().backColourBox()->backColor(), rgbColour(0, 128, 0));
    EXPECT_FALSE(active()->document().isModified());
}

TEST_F(ColourPaletteTest, SizeBoxClampsAndResizesTheCanvas)
{
    QLineEdit *size = colours().canvasSizeBox();
    QStringList written;
    QObject::connect(size, &QLineEdit::textChanged, [&](const QString &t) { written << t; });
    size->setText(QStringLiteral("40000  500"));
    active()->document().markSaved();
    leave(size);
    EXPECT_EQ(written.value(1), "36035 500");
    EXPECT_EQ(active()->view()->canvasBox()->widthTwips(), 36035);
    EXPECT_EQ(active()->view()->canvasBox()->heightTwips(), 500);
    EXPECT_EQ(size->text(), "36035  500");
    EXPECT_TRUE(active()->document().isModified());
}

TEST_F(ColourPaletteTest, SizeBoxWithoutANumberLeavesTheCanvas)
{
    QLineEdit *size = colours().canvasSizeBox();
    const double w = active()->view()->canvasBox()->widthTwips();
    for (const char *text : {"4000", "4000 ", " 300", "12 3x"}) {
        size->setText(QString::fromLatin1(text));
        leave(size);
        EXPECT_EQ(size->text(), text);
        EXPECT_EQ(active()->view()->canvasBox()->widthTwips(), w);
    }
    EXPECT_FALSE(active()->document().isModified());
}

TEST_F(ColourPaletteTest, SizeBoxTakesOnlyTypedDigits)
{
    QLineEdit *size = colours().canvasSizeBox();
    size->setText(QStringLiteral("100  200"));
    size->end(false);
    type(size, Qt::Key_5, QStringLiteral("5"));
    type(size, Qt::Key_Space, QStringLiteral(" "));
    type(size, Qt::Key_Backspace, QStringLiteral("\b"));
    type(size, Qt::Key_X, QStringLiteral("x"));
    EXPECT_EQ(size->text(), "100  2005");
    QApplication::clipboard()->setText(QStringLiteral("abc"));
    size->paste();
    EXPECT_EQ(size->text(), "100  2005");
}

TEST_F(ColourPaletteTest, TheProgramsKeysActFromTheSizeBox)
{
    // Ctrl+Q and the other command keys are no characters for the box.
    QLineEdit *size = colours().canvasSizeBox();
    size->setText(QStringLiteral("100  200"));
    QSignalSpy arranged(main->action("mnuWindowArrangeIcons"), &QAction::triggered);
    QSignalSpy closed(main->action("mnuFileClose"), &QAction::triggered);
    main->show();
    QApplication::setActiveWindow(main.get());
    size->setFocus();
    ASSERT_TRUE(size->hasFocus());
    QTest::keyClick(size, Qt::Key_L, Qt::ControlModifier);
    active()->document().markSaved();
    QTest::keyClick(size, Qt::Key_F7);
    EXPECT_EQ(arranged.count(), 1);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(size->text(), "100  200");
}

TEST_F(ColourPaletteTest, NothingHappensWithoutADocument)
{
    const Colour drawing = workspace().settings.drawingColour;
    const QImage line = sample(StyleFamily::Line, 1).image();
    closeAll();
    colours().swatchClicked(19);
    colours().pickDrawingColour();
    colours().pickForeColour();
    colours().pickBackColour();
    EXPECT_EQ(workspace().settings.drawingColour, drawing);
    EXPECT_EQ(sample(StyleFamily::Line, 1).image(), line);
    EXPECT_TRUE(script.shown.isEmpty());

    QLineEdit *size = colours().canvasSizeBox();
    size->setText(QStringLiteral("100  200"));
    size->end(false);
    type(size, Qt::Key_5, QStringLiteral("5"));
    type(size, Qt::Key_Delete, QString());
    EXPECT_EQ(size->text(), "100  200");
    leave(size); // no canvas to resize, and no crash
    EXPECT_EQ(size->text(), "100  200");
}
