#include "palette_test.h"

#include <QClipboard>

using namespace quor;

namespace {
constexpr Colour grey = rgbColour(192, 192, 192);
constexpr Colour white = rgbColour(255, 255, 255);
} // namespace

class ColourPalette : public PaletteTest
{
protected:
    CanvasSurface &sample(StyleFamily f, int i) { return tools().styleBox(f, i)->surface(); }
};

TEST_F(ColourPalette, SwatchesLieInTwoRowsOfTwentyFourColumns)
{
    EXPECT_EQ(colours().Picture(9)->backColor(), white);
    EXPECT_EQ(colours().Picture(10)->backColor(), rgbColour(0, 0, 0));
    EXPECT_EQ(colours().Picture(56)->backColor(), rgbColour(192, 0, 192));
    EXPECT_EQ(colours().Picture(13)->Left(), 600 + 2 * 270);
    EXPECT_EQ(colours().Picture(13)->Top(), 30);
    EXPECT_EQ(colours().Picture(14)->Top(), 270);
    EXPECT_EQ(colours().Picture(55)->Left(), 600 + 23 * 270);
}

TEST_F(ColourPalette, SwatchClickMakesTheDrawingColourAndRedrawsTheSamples)
{
    colours().Picture_Click(17);
    EXPECT_EQ(state().settings.drawingColour, rgbColour(255, 128, 128));
    EXPECT_EQ(sample(StyleFamily::Box, 1).point(300, 97), rgbColour(255, 128, 128));

    colours().Picture_Click(13); // column 3, top row
    EXPECT_EQ(state().settings.drawingColour, grey);
    EXPECT_EQ(canvas().fillColor(), grey);
    EXPECT_EQ(sample(StyleFamily::Line, 1).point(300, 157), grey);
    EXPECT_EQ(sample(StyleFamily::Line, 1).point(300, 97), grey); // the face, no line there
    EXPECT_EQ(sample(StyleFamily::Line0, 4).point(90, 80), grey);
    EXPECT_EQ(sample(StyleFamily::Box, 1).point(300, 97), grey);
    EXPECT_EQ(sample(StyleFamily::Circle, 1).point(350, 97), grey);
    // Outlines and the shape families' line samples keep their fore colour.
    EXPECT_EQ(sample(StyleFamily::Box, 1).point(90, 97), 0);
    EXPECT_EQ(sample(StyleFamily::Box, 10).point(90, 97), 0);
}

TEST_F(ColourPalette, DrawingColourFromTheDialog)
{
    script.colourAnswers.push_back({true, QColor(0, 0, 200)});
    script.colourAnswers.push_back({false, {}});
    colours().PictureForeAndFillColor_DblClick();
    colours().PictureForeAndFillColor_DblClick();
    ASSERT_EQ(script.shown.size(), 2);
    EXPECT_EQ(script.shown[0].title, "绘图色");
    EXPECT_EQ(script.shown[0].buttons, 11);
    EXPECT_EQ(lastMessage().kind, "");
    EXPECT_EQ(state().settings.drawingColour, rgbColour(0, 0, 200));
    EXPECT_EQ(canvas().fillColor(), rgbColour(0, 0, 200));
    EXPECT_EQ(sample(StyleFamily::Line, 2).point(90, 157), rgbColour(0, 0, 200));
}

TEST_F(ColourPalette, ForegroundColourGoesToCanvasAndSampleOutlines)
{
    script.colourAnswers.push_back({true, QColor(0, 90, 0)});
    colours().Picture1Forecolor_DblClick();
    EXPECT_EQ(script.shown.value(0).title, "前景色");
    EXPECT_EQ(canvas().foreColor(), rgbColour(0, 90, 0));
    EXPECT_EQ(sample(StyleFamily::Hu, 12).point(90, 97), rgbColour(0, 90, 0));
    EXPECT_EQ(sample(StyleFamily::Box, 3).point(90, 97), rgbColour(0, 90, 0));
}

TEST_F(ColourPalette, LightGreyForegroundStaysOnTheCanvasButSamplesGoWhite)
{
    script.colourAnswers.push_back({true, QColor(192, 192, 192)});
    colours().Picture1Forecolor_DblClick();
    EXPECT_EQ(canvas().foreColor(), grey);
    EXPECT_EQ(colours().Picture1Forecolor()->backColor(), grey);
    EXPECT_EQ(main->dlgCommonDialog.Color, QColor(255, 255, 255));
    EXPECT_EQ(sample(StyleFamily::Hu, 9).point(300, 97), white);
    EXPECT_EQ(sample(StyleFamily::Box, 2).point(90, 97), white);
    EXPECT_EQ(sample(StyleFamily::Circle, 14).point(300, 97), white);
}

TEST_F(ColourPalette, BackgroundColourClearsTheDrawing)
{
    canvas().line(0, 0, 1500, 1500, rgbColour(255, 0, 0), LineKind::BoxFilled);
    active()->document().DataChanged = false;
    script.colourAnswers.push_back({true, QColor(0, 128, 0)});
    colours().Picture1backcolor_DblClick();
    EXPECT_EQ(script.shown.value(0).title, "背景色");
    EXPECT_EQ(canvas().backColor(), rgbColour(0, 128, 0));
    EXPECT_EQ(canvas().point(750, 750), rgbColour(0, 128, 0));
    EXPECT_EQ(colours().Picture1backcolor()->backColor(), rgbColour(0, 128, 0));
    EXPECT_FALSE(active()->document().DataChanged);
}

TEST_F(ColourPalette, SizeBoxClampsAndResizesTheCanvas)
{
    QLineEdit *size = colours().Text2();
    QStringList written;
    QObject::connect(size, &QLineEdit::textChanged, [&](const QString &t) { written << t; });
    size->setText(QStringLiteral("40000  500"));
    active()->document().DataChanged = false;
    leave(size);
    EXPECT_EQ(written.value(1), "36035 500");
    EXPECT_EQ(active()->canvas()->Width(), 36035);
    EXPECT_EQ(active()->canvas()->Height(), 500);
    EXPECT_EQ(size->text(), "36035  500");
    EXPECT_TRUE(active()->document().DataChanged);
}

TEST_F(ColourPalette, SizeBoxWithoutANumberLeavesTheCanvas)
{
    QLineEdit *size = colours().Text2();
    const double w = active()->canvas()->Width();
    for (const char *text : {"4000", "4000 ", " 300", "12 3x"}) {
        size->setText(QString::fromLatin1(text));
        leave(size);
        EXPECT_EQ(size->text(), text);
        EXPECT_EQ(active()->canvas()->Width(), w);
    }
    EXPECT_FALSE(active()->document().DataChanged);
}

TEST_F(ColourPalette, SizeBoxTakesOnlyTypedDigits)
{
    QLineEdit *size = colours().Text2();
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

TEST_F(ColourPalette, NothingHappensWithoutADocument)
{
    const Colour drawing = state().settings.drawingColour;
    const QImage line = sample(StyleFamily::Line, 1).image();
    closeAll();
    colours().Picture_Click(19);
    colours().PictureForeAndFillColor_DblClick();
    colours().Picture1Forecolor_DblClick();
    colours().Picture1backcolor_DblClick();
    EXPECT_EQ(state().settings.drawingColour, drawing);
    EXPECT_EQ(sample(StyleFamily::Line, 1).image(), line);
    EXPECT_TRUE(script.shown.isEmpty());

    QLineEdit *size = colours().Text2();
    size->setText(QStringLiteral("100  200"));
    size->end(false);
    type(size, Qt::Key_5, QStringLiteral("5"));
    type(size, Qt::Key_Delete, QString());
    EXPECT_EQ(size->text(), "100  200");
    leave(size); // no canvas to resize, and no crash
    EXPECT_EQ(size->text(), "100  200");
}
