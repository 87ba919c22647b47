#include "palette_test.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>

using namespace quor;

class ToolPaletteTest : public PaletteTest
{
protected:
    QPoint markerAt(double left, double top) { return {twipsToPixels(left), twipsToPixels(top)}; }
    std::vector<int> visibleFrames()
    {
        std::vector<int> v;
        for (int i = 1; i <= 5; ++i)
            if (!tools().panel(i)->isHidden())
                v.push_back(i);
        return v;
    }
};

TEST_F(ToolPaletteTest, WithoutADocumentNothingAnswers)
{
    tools().buttonFocused(4);
    closeAll();
    workspace().settings.tool = ToolId::Line;
    const QPoint marker = tools().toolMarker()->pos();
    const auto frames = visibleFrames();
    for (int n : {1, 3, 7, 13, 16})
        tools().buttonFocused(n);
    tools().chooseStyleBox(StyleFamily::Rectangle, 3);
    tools().pickStartColour();
    EXPECT_EQ(workspace().settings.tool, ToolId::Line);
    EXPECT_EQ(tools().toolMarker()->pos(), marker);
    EXPECT_EQ(visibleFrames(), frames);
    EXPECT_EQ(workspace().settings.fillStyle, FillStyle::Solid); // still the rectangle tool's solid fill
    EXPECT_EQ(tools().borderStyleOf(box(StyleFamily::Rectangle, 3)), 0);
    EXPECT_TRUE(script.shown.isEmpty());

    type(tools().lineWidthBox(), Qt::Key_5, QStringLiteral("5"));
    type(tools().lineWidthBox(), Qt::Key_Delete, QString());
    EXPECT_EQ(tools().lineWidthBox()->text(), "1");
}

TEST_F(ToolPaletteTest, RectangleToolResetsSolidFillAndSolidLine)
{
    tools().buttonFocused(4);
    tools().chooseStyleBox(StyleFamily::Rectangle, 5);
    tools().chooseStyleBox(StyleFamily::Rectangle, 11);
    ASSERT_EQ(canvas().fillStyle(), FillStyle::DownwardDiagonals);
    ASSERT_EQ(canvas().lineStyle(), LineStyle::Dot);

    tools().buttonFocused(2);
    tools().buttonFocused(4);
    EXPECT_EQ(workspace().settings.tool, ToolId::Rectangle);
    EXPECT_EQ(workspace().settings.fillStyle, FillStyle::Solid);
    EXPECT_EQ(workspace().settings.lineStyle, LineStyle::Solid);
    EXPECT_EQ(canvas().fillStyle(), FillStyle::Solid);
    EXPECT_EQ(canvas().lineStyle(), LineStyle::Solid);
    EXPECT_EQ(visibleFrames(), std::vector<int>{4});
    EXPECT_EQ(tools().toolMarker()->pos(), markerAt(750, 560));
    // One border per group, fill and line separately.
    for (int i = 1; i <= 15; ++i)
        EXPECT_EQ(tools().borderStyleOf(box(StyleFamily::Rectangle, i)), i == 1 || i == 9) << i;
}

TEST_F(ToolPaletteTest, LineBoxesOfTheShapeFamiliesEndWithInsideSolidThenInvisible)
{
    tools().buttonFocused(3);
    tools().chooseStyleBox(StyleFamily::Ellipse, 14);
    EXPECT_EQ(canvas().lineStyle(), LineStyle::InsideSolid);
    EXPECT_EQ(workspace().settings.lineStyle, LineStyle::InsideSolid);
    tools().chooseStyleBox(StyleFamily::Ellipse, 15);
    EXPECT_EQ(canvas().lineStyle(), LineStyle::Invisible);
    EXPECT_EQ(tools().borderStyleOf(box(StyleFamily::Ellipse, 14)), 0);
    EXPECT_EQ(tools().borderStyleOf(box(StyleFamily::Ellipse, 15)), 1);
    EXPECT_EQ(tools().borderStyleOf(box(StyleFamily::Ellipse, 1)), 1);
}

TEST_F(ToolPaletteTest, StraightLineLeavesTheFloatingPictureDashed)
{
    tools().buttonFocused(2);
    EXPECT_EQ(canvas().lineStyle(), LineStyle::Solid);
    EXPECT_EQ(active()->view()->selectionFrame()->pictureBox()->surface().lineStyle(), LineStyle::Dash);
    EXPECT_EQ(visibleFrames(), std::vector<int>{3});
    EXPECT_EQ(tools().borderStyleOf(box(StyleFamily::Line, 1)), 1);
}

TEST_F(ToolPaletteTest, GradientToolsMakeTheFillTransparent)
{
    tools().buttonFocused(4); // solid fill
    tools().buttonFocused(7);
    EXPECT_EQ(workspace().settings.tool, ToolId::GradientEllipse);
    EXPECT_EQ(workspace().settings.fillStyle, FillStyle::Transparent);
    EXPECT_EQ(canvas().fillStyle(), FillStyle::Transparent);
    EXPECT_EQ(active()->view()->selectionFrame()->pictureBox()->surface().fillStyle(), FillStyle::Transparent);
    EXPECT_EQ(visibleFrames(), std::vector<int>{2});
    EXPECT_EQ(tools().bandWidthBox()->toolTip(), "圆框宽度(Twips)");
    EXPECT_FALSE(tools().bandWidthBox()->isHidden());
    EXPECT_TRUE(tools().angleBox()->isHidden());
    EXPECT_TRUE(tools().oneWayAcrossOption()->isChecked());
    EXPECT_EQ(tools().twoWayAcrossOption()->text(), "双向");
    EXPECT_TRUE(tools().oneWayAlongOption()->isHidden());
    EXPECT_FALSE(box(StyleFamily::GradientLine, 6)->isHidden());
    EXPECT_EQ(tools().borderStyleOf(box(StyleFamily::GradientLine, 1)), 1);

    tools().buttonFocused(11);
    EXPECT_EQ(workspace().settings.tool, ToolId::GradientDirectional);
    EXPECT_TRUE(tools().bandWidthBox()->isHidden());
    EXPECT_FALSE(tools().angleBox()->isHidden());
}

TEST_F(ToolPaletteTest, TextSetupKeepsTheFillAndOffersNoGradient)
{
    tools().buttonFocused(4);
    active()->view()->textBox()->setText(QStringLiteral("你好"));
    tools().buttonFocused(13);
    EXPECT_EQ(workspace().settings.tool, ToolId::Text);
    EXPECT_EQ(canvas().fillStyle(), FillStyle::Solid);
    EXPECT_EQ(tools().oneWayAlongOption()->text(), "不变");
    EXPECT_EQ(tools().oneWayAlongOption()->toolTip(), "不渐变");
    EXPECT_TRUE(tools().oneWayAlongOption()->isChecked());
    EXPECT_TRUE(tools().twoWayAlongOption()->isHidden());
    EXPECT_TRUE(box(StyleFamily::GradientLine, 1)->isHidden());
    EXPECT_EQ(active()->view()->textBox()->text(), "你好");

    // Any other tool abandons the text box.
    active()->view()->textMeasure()->setText(QStringLiteral("X"));
    tools().buttonFocused(12);
    EXPECT_EQ(active()->view()->textBox()->text(), "");
    EXPECT_TRUE(active()->view()->textBox()->isHidden());
    EXPECT_EQ(active()->view()->textMeasure()->text(), "H");
    for (QWidget *w : std::initializer_list<QWidget *>{
             tools().startColourBox(), tools().bandWidthBox(), tools().angleBox(),
             tools().oneWayAcrossOption(), tools().oneWayAlongOption(), box(StyleFamily::GradientLine, 1)})
        EXPECT_TRUE(w->isHidden()) << w->objectName().toStdString();
}

TEST_F(ToolPaletteTest, GradientSectorIsTheArcDrawnLengthwise)
{
    tools().buttonFocused(16);
    EXPECT_EQ(workspace().settings.tool, ToolId::GradientArcBand);
    EXPECT_TRUE(tools().oneWayAlongOption()->isChecked());
    EXPECT_FALSE(tools().oneWayAcrossOption()->isChecked());
    EXPECT_EQ(tools().twoWayAlongOption()->text(), "双纵");
    EXPECT_EQ(tools().twoWayAlongOption()->toolTip(), "双向纵向渐变");
    EXPECT_EQ(tools().oneWayAcrossOption()->text(), "单径");
    EXPECT_EQ(tools().bandWidthBox()->toolTip(), "弧宽度(Twips)");
    EXPECT_EQ(tools().toolMarker()->pos(), markerAt(750, 2200));

    tools().buttonFocused(15);
    EXPECT_TRUE(tools().oneWayAcrossOption()->isChecked());
    EXPECT_EQ(tools().toolMarker()->pos(), markerAt(300, 2200));
}

TEST_F(ToolPaletteTest, AnyToolButSelectDropsTheFloatingPicture)
{
    DocumentWindow *doc = active();
    const QImage before = canvas().image();
    QImage red(40, 30, QImage::Format_RGB32);
    red.fill(Qt::red);
    doc->floatPicture(red, 150, 150);
    doc->view()->selectionFrame()->blinkTimer()->start();

    tools().buttonFocused(1);
    EXPECT_TRUE(doc->document().hasFloatingSelection());
    EXPECT_FALSE(doc->view()->selectionFrame()->pictureBox()->isHidden());

    tools().buttonFocused(5);
    EXPECT_FALSE(doc->document().hasFloatingSelection());
    EXPECT_TRUE(doc->view()->selectionFrame()->pictureBox()->isHidden());
    EXPECT_FALSE(doc->view()->selectionFrame()->blinkTimer()->isActive());
    EXPECT_TRUE(doc->view()->selectionFrame()->handle(0)->isHidden());
    EXPECT_EQ(canvas().image(), before);
    EXPECT_FALSE(doc->document().isModified());
}

TEST_F(ToolPaletteTest, ArcToolsKeepTheirGuidesOthersCancelThem)
{
    DocumentWindow *doc = active();
    auto guides = [doc] {
        doc->gesture().arc.guidePlaced = true;
        doc->view()->blackGuide()->setVisible(true);
        doc->view()->guideBlinkTimer()->start();
    };
    guides();
    for (int n : {10, 14, 15, 16}) {
        tools().buttonFocused(n);
        EXPECT_TRUE(doc->gesture().arc.guidePlaced) << n;
    }
    tools().buttonFocused(8);
    EXPECT_FALSE(doc->gesture().arc.guidePlaced);
    EXPECT_FALSE(doc->view()->blackGuide()->isVisible());
    EXPECT_FALSE(doc->view()->guideBlinkTimer()->isActive());
}

TEST_F(ToolPaletteTest, FocusChoosesTheToolButWindowActivationDoesNot)
{
    QApplication::setActiveWindow(main.get());
    tools().button(9)->setFocus(Qt::ActiveWindowFocusReason);
    EXPECT_EQ(workspace().settings.tool, ToolId::Select);
    tools().button(14)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(workspace().settings.tool, ToolId::Sector);
    EXPECT_EQ(visibleFrames(), std::vector<int>{5});
}

TEST_F(ToolPaletteTest, DirectionBoxTurns180IntoZero)
{
    QLineEdit *angle = tools().angleBox();
    angle->setText(QStringLiteral("179"));
    EXPECT_EQ(angle->text(), "179");
    EXPECT_EQ(workspace().settings.gradientAngle, 179);
    angle->setText(QStringLiteral("180"));
    EXPECT_EQ(angle->text(), "0");
    EXPECT_EQ(workspace().settings.gradientAngle, 0);
    angle->clear();
    EXPECT_EQ(angle->text(), "0");

    tools().bandWidthBox()->setText(QStringLiteral("450"));
    tools().bandWidthBox()->clear();
    EXPECT_EQ(tools().bandWidthBox()->text(), "0");
}

TEST_F(ToolPaletteTest, LineWidthBoxSetsTheCanvasPen)
{
    QLineEdit *width = tools().lineWidthBox();
    width->setText(QStringLiteral("7"));
    EXPECT_EQ(canvas().drawWidth(), 7);
    width->clear();
    EXPECT_EQ(width->text(), "1");
    EXPECT_EQ(canvas().drawWidth(), 1);
}

TEST_F(ToolPaletteTest, DigitBoxesTakeOnlyDigits)
{
    for (QLineEdit *box : {tools().lineWidthBox(), tools().bandWidthBox(), tools().angleBox()}) {
        box->setText(QStringLiteral("1"));
        box->end(false);
        type(box, Qt::Key_2, QStringLiteral("2"));
        type(box, Qt::Key_A, QStringLiteral("a"));
        type(box, Qt::Key_Backspace, QStringLiteral("\b"));
        type(box, Qt::Key_Period, QStringLiteral("."));
        EXPECT_EQ(box->text(), "12") << box->objectName().toStdString();

        QApplication::clipboard()->setText(QStringLiteral("abc"));
        box->paste();
        box->insert(QStringLiteral("4 5"));
        EXPECT_EQ(box->text(), "12") << box->objectName().toStdString();
    }
}

TEST_F(ToolPaletteTest, GradientColoursComeFromTheColourDialog)
{
    script.colourAnswers.push_back(QColor(10, 200, 30));
    script.colourAnswers.push_back(QColor(1, 2, 250));
    script.colourAnswers.push_back(std::nullopt);
    tools().pickStartColour();
    tools().pickEndColour();
    tools().pickStartColour();

    ASSERT_EQ(script.shown.size(), 3);
    EXPECT_EQ(script.shown[0].title, "起始色");
    EXPECT_EQ(script.shown[0].colourOptions,
              ColourOption::StartFromColour | ColourOption::FullyOpen);
    EXPECT_EQ(script.shown[1].title, "终止色");
    EXPECT_EQ(lastMessage().kind, ""); // cancel is silent
    EXPECT_EQ(std::tuple(workspace().settings.startRed, workspace().settings.startGreen, workspace().settings.startBlue),
              std::tuple(10, 200, 30));
    EXPECT_EQ(std::tuple(workspace().settings.endRed, workspace().settings.endGreen, workspace().settings.endBlue),
              std::tuple(1, 2, 250));
    EXPECT_EQ(tools().startColourBox()->backColor(), rgbColour(10, 200, 30));
    EXPECT_EQ(tools().endColourBox()->backColor(), rgbColour(1, 2, 250));
}

TEST_F(ToolPaletteTest, LoadDrawsTheSamples)
{
    // Line samples in the drawing colour, shape samples in black on grey.
    const Colour d = workspace().settings.drawingColour;
    EXPECT_EQ(box(StyleFamily::Line, 1)->surface().point(300, 157), d);
    EXPECT_EQ(box(StyleFamily::GradientLine, 1)->surface().point(300, 80), d);
    EXPECT_EQ(box(StyleFamily::Rectangle, 9)->surface().point(300, 97), 0);
    EXPECT_EQ(box(StyleFamily::Rectangle, 1)->surface().point(300, 97), 0); // solid fill
    EXPECT_NE(box(StyleFamily::Rectangle, 2)->surface().point(300, 97), 0); // transparent
    EXPECT_EQ(box(StyleFamily::Rectangle, 2)->surface().point(90, 97), 0);  // its outline
    EXPECT_EQ(box(StyleFamily::Rectangle, 15)->surface().point(300, 97), rgbColour(192, 192, 192));
    EXPECT_EQ(workspace().settings.startRed, 239);
    EXPECT_EQ(workspace().settings.endBlue, 127);
    for (int n = 1; n <= 16; ++n) {
        EXPECT_FALSE(tools().button(n)->icon().isNull()) << n;
        EXPECT_FALSE(tools().button(n)->toolTip().isEmpty()) << n;
    }
}

TEST_F(ToolPaletteTest, EveryButtonChoosesItsToolAndShowsOnePanel)
{
    struct Row { int command, tool, frame; };
    const Row rows[] = {{1, 1, 2},  {2, 2, 3},   {3, 3, 1},   {4, 4, 4},   {5, 5, 3},  {6, 6, 3},
                        {7, 11, 2}, {8, 12, 2},  {9, 7, 3},   {10, 8, 3},  {11, 13, 2}, {14, 10, 5},
                        {15, 14, 2}, {16, 14, 2}, {13, 9, 2}, {12, 15, 2}};
    for (const Row &r : rows) {
        workspace().settings.fillStyle = FillStyle::Cross;
        workspace().settings.lineStyle = LineStyle::DashDot;
        tools().buttonFocused(r.command);
        EXPECT_EQ(workspace().settings.tool, ToolId(r.tool)) << "Command" << r.command;
        EXPECT_EQ(visibleFrames(), std::vector<int>{r.frame}) << "Command" << r.command;
        // The panels with style boxes start again at their first entries.
        if (r.frame != 2)
            EXPECT_EQ(workspace().settings.lineStyle, LineStyle::Solid) << "Command" << r.command;
        if (r.frame == 1 || r.frame == 4 || r.frame == 5)
            EXPECT_EQ(workspace().settings.fillStyle, FillStyle::Solid) << "Command" << r.command;
    }
}
