#include "palette_test.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>

using namespace quor;

class ToolPalette : public PaletteTest
{
protected:
    QPoint markerAt(double left, double top) { return {twipsToPixels(left), twipsToPixels(top)}; }
    std::vector<int> visibleFrames()
    {
        std::vector<int> v;
        for (int i = 1; i <= 5; ++i)
            if (!tools().Frame(i)->isHidden())
                v.push_back(i);
        return v;
    }
};

TEST_F(ToolPalette, WithoutADocumentNothingAnswers)
{
    tools().Command_GotFocus(4);
    closeAll();
    state().settings.hTool = 2;
    const QPoint marker = tools().Picture1()->pos();
    const auto frames = visibleFrames();
    for (int n : {1, 3, 7, 13, 16})
        tools().Command_GotFocus(n);
    tools().styleBox_Click(StyleFamily::Box, 3);
    tools().hstartcolorPicture_DblClick();
    EXPECT_EQ(state().settings.hTool, 2);
    EXPECT_EQ(tools().Picture1()->pos(), marker);
    EXPECT_EQ(visibleFrames(), frames);
    EXPECT_EQ(state().settings.hFillStyle, 0); // still the rectangle tool's solid fill
    EXPECT_EQ(tools().BorderStyle(box(StyleFamily::Box, 3)), 0);
    EXPECT_TRUE(script.shown.isEmpty());

    type(tools().Text1(), Qt::Key_5, QStringLiteral("5"));
    type(tools().Text1(), Qt::Key_Delete, QString());
    EXPECT_EQ(tools().Text1()->text(), "1");
}

TEST_F(ToolPalette, RectangleToolResetsSolidFillAndSolidLine)
{
    tools().Command_GotFocus(4);
    tools().styleBox_Click(StyleFamily::Box, 5);
    tools().styleBox_Click(StyleFamily::Box, 11);
    ASSERT_EQ(canvas().fillStyle(), 4);
    ASSERT_EQ(canvas().drawStyle(), 2);

    tools().Command_GotFocus(2);
    tools().Command_GotFocus(4);
    EXPECT_EQ(state().settings.hTool, 4);
    EXPECT_EQ(state().settings.hFillStyle, 0);
    EXPECT_EQ(state().settings.hDrawStyle, 0);
    EXPECT_EQ(canvas().fillStyle(), 0);
    EXPECT_EQ(canvas().drawStyle(), 0);
    EXPECT_EQ(visibleFrames(), std::vector<int>{4});
    EXPECT_EQ(tools().Picture1()->pos(), markerAt(750, 560));
    // One border per group, fill and line separately.
    for (int i = 1; i <= 15; ++i)
        EXPECT_EQ(tools().BorderStyle(box(StyleFamily::Box, i)), i == 1 || i == 9) << i;
}

TEST_F(ToolPalette, LineBoxesOfTheShapeFamiliesEndWithInsideSolidThenInvisible)
{
    tools().Command_GotFocus(3);
    tools().styleBox_Click(StyleFamily::Circle, 14);
    EXPECT_EQ(canvas().drawStyle(), 6);
    EXPECT_EQ(state().settings.hDrawStyle, 6);
    tools().styleBox_Click(StyleFamily::Circle, 15);
    EXPECT_EQ(canvas().drawStyle(), 5);
    EXPECT_EQ(tools().BorderStyle(box(StyleFamily::Circle, 14)), 0);
    EXPECT_EQ(tools().BorderStyle(box(StyleFamily::Circle, 15)), 1);
    EXPECT_EQ(tools().BorderStyle(box(StyleFamily::Circle, 1)), 1);
}

TEST_F(ToolPalette, StraightLineLeavesTheFloatingPictureDashed)
{
    tools().Command_GotFocus(2);
    EXPECT_EQ(canvas().drawStyle(), 0);
    EXPECT_EQ(active()->PictureCopy()->surface().drawStyle(), 1);
    EXPECT_EQ(visibleFrames(), std::vector<int>{3});
    EXPECT_EQ(tools().BorderStyle(box(StyleFamily::Line, 1)), 1);
}

TEST_F(ToolPalette, GradientToolsMakeTheFillTransparent)
{
    tools().Command_GotFocus(4); // solid fill
    tools().Command_GotFocus(7);
    EXPECT_EQ(state().settings.hTool, 11);
    EXPECT_EQ(state().settings.hFillStyle, 1);
    EXPECT_EQ(canvas().fillStyle(), 1);
    EXPECT_EQ(active()->PictureCopy()->surface().fillStyle(), 1);
    EXPECT_EQ(visibleFrames(), std::vector<int>{2});
    EXPECT_EQ(tools().hlinewidthText()->toolTip(), "圆框宽度(Twips)");
    EXPECT_FALSE(tools().hlinewidthText()->isHidden());
    EXPECT_TRUE(tools().hlinecornerText()->isHidden());
    EXPECT_TRUE(tools().hjianbianbanOptiondan()->isChecked());
    EXPECT_EQ(tools().hjianbianbanOptionshuang()->text(), "双向");
    EXPECT_TRUE(tools().hjianbianbanOptionzong()->isHidden());
    EXPECT_FALSE(box(StyleFamily::Line0, 6)->isHidden());
    EXPECT_EQ(tools().BorderStyle(box(StyleFamily::Line0, 1)), 1);

    tools().Command_GotFocus(11);
    EXPECT_EQ(state().settings.hTool, 13);
    EXPECT_TRUE(tools().hlinewidthText()->isHidden());
    EXPECT_FALSE(tools().hlinecornerText()->isHidden());
}

TEST_F(ToolPalette, TextSetupKeepsTheFillAndOffersNoGradient)
{
    tools().Command_GotFocus(4);
    active()->hword()->setText(QStringLiteral("你好"));
    tools().Command_GotFocus(13);
    EXPECT_EQ(state().settings.hTool, 9);
    EXPECT_EQ(canvas().fillStyle(), 0);
    EXPECT_EQ(tools().hjianbianbanOptionzong()->text(), "不变");
    EXPECT_EQ(tools().hjianbianbanOptionzong()->toolTip(), "不渐变");
    EXPECT_TRUE(tools().hjianbianbanOptionzong()->isChecked());
    EXPECT_TRUE(tools().hjianbianbanOptionzong2()->isHidden());
    EXPECT_TRUE(box(StyleFamily::Line0, 1)->isHidden());
    EXPECT_EQ(active()->hword()->text(), "你好");

    // Any other tool abandons the text box.
    active()->hwordLabel()->setText(QStringLiteral("X"));
    tools().Command_GotFocus(12);
    EXPECT_EQ(active()->hword()->text(), "");
    EXPECT_TRUE(active()->hword()->isHidden());
    EXPECT_EQ(active()->hwordLabel()->text(), "H");
    for (QWidget *w : std::initializer_list<QWidget *>{
             tools().hstartcolorPicture(), tools().hlinewidthText(), tools().hlinecornerText(),
             tools().hjianbianbanOptiondan(), tools().hjianbianbanOptionzong(), box(StyleFamily::Line0, 1)})
        EXPECT_TRUE(w->isHidden()) << w->objectName().toStdString();
}

TEST_F(ToolPalette, GradientSectorIsTheArcDrawnLengthwise)
{
    tools().Command_GotFocus(16);
    EXPECT_EQ(state().settings.hTool, 14);
    EXPECT_TRUE(tools().hjianbianbanOptionzong()->isChecked());
    EXPECT_FALSE(tools().hjianbianbanOptiondan()->isChecked());
    EXPECT_EQ(tools().hjianbianbanOptionzong2()->text(), "双纵");
    EXPECT_EQ(tools().hjianbianbanOptionzong2()->toolTip(), "双向纵向渐变");
    EXPECT_EQ(tools().hjianbianbanOptiondan()->text(), "单径");
    EXPECT_EQ(tools().hlinewidthText()->toolTip(), "弧宽度(Twips)");
    EXPECT_EQ(tools().Picture1()->pos(), markerAt(750, 2200));

    tools().Command_GotFocus(15);
    EXPECT_TRUE(tools().hjianbianbanOptiondan()->isChecked());
    EXPECT_EQ(tools().Picture1()->pos(), markerAt(300, 2200));
}

TEST_F(ToolPalette, AnyToolButSelectDropsTheFloatingPicture)
{
    frmquoredit *doc = active();
    const QImage before = canvas().image();
    QImage red(40, 30, QImage::Format_RGB32);
    red.fill(Qt::red);
    doc->document().selection().setPicture(red);
    doc->document().placeSelection(150, 150);
    doc->document().setSelectionVisible(true);
    doc->document().hSelect = true;
    doc->hShowSelectionFrame();
    doc->hselectshapesTimer()->start();

    tools().Command_GotFocus(1);
    EXPECT_TRUE(doc->document().hSelect);
    EXPECT_FALSE(doc->PictureCopy()->isHidden());

    tools().Command_GotFocus(5);
    EXPECT_FALSE(doc->document().hSelect);
    EXPECT_TRUE(doc->PictureCopy()->isHidden());
    EXPECT_FALSE(doc->hselectshapesTimer()->isActive());
    EXPECT_TRUE(doc->selectionHandle(0)->isHidden());
    EXPECT_EQ(canvas().image(), before);
    EXPECT_FALSE(doc->document().DataChanged);
}

TEST_F(ToolPalette, ArcToolsKeepTheirGuidesOthersCancelThem)
{
    frmquoredit *doc = active();
    auto guides = [doc] {
        doc->document().hHulineradius = true;
        doc->huradiusLine1()->setVisible(true);
        doc->huradiusTimer()->start();
    };
    guides();
    for (int n : {10, 14, 15, 16}) {
        tools().Command_GotFocus(n);
        EXPECT_TRUE(doc->document().hHulineradius) << n;
    }
    tools().Command_GotFocus(8);
    EXPECT_FALSE(doc->document().hHulineradius);
    EXPECT_FALSE(doc->huradiusLine1()->isVisible());
    EXPECT_FALSE(doc->huradiusTimer()->isActive());
}

TEST_F(ToolPalette, FocusChoosesTheToolButWindowActivationDoesNot)
{
    QApplication::setActiveWindow(main.get());
    tools().Command(9)->setFocus(Qt::ActiveWindowFocusReason);
    EXPECT_EQ(state().settings.hTool, 1);
    tools().Command(14)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(state().settings.hTool, 10);
    EXPECT_EQ(visibleFrames(), std::vector<int>{5});
}

TEST_F(ToolPalette, DirectionBoxTurns180IntoZero)
{
    QLineEdit *angle = tools().hlinecornerText();
    angle->setText(QStringLiteral("179"));
    EXPECT_EQ(angle->text(), "179");
    EXPECT_EQ(state().settings.hGradientAngle, 179);
    angle->setText(QStringLiteral("180"));
    EXPECT_EQ(angle->text(), "0");
    EXPECT_EQ(state().settings.hGradientAngle, 0);
    angle->clear();
    EXPECT_EQ(angle->text(), "0");

    tools().hlinewidthText()->setText(QStringLiteral("450"));
    tools().hlinewidthText()->clear();
    EXPECT_EQ(tools().hlinewidthText()->text(), "0");
}

TEST_F(ToolPalette, LineWidthBoxSetsTheCanvasPen)
{
    QLineEdit *width = tools().Text1();
    width->setText(QStringLiteral("7"));
    EXPECT_EQ(canvas().drawWidth(), 7);
    width->clear();
    EXPECT_EQ(width->text(), "1");
    EXPECT_EQ(canvas().drawWidth(), 1);
}

TEST_F(ToolPalette, DigitBoxesTakeOnlyDigits)
{
    for (QLineEdit *box : {tools().Text1(), tools().hlinewidthText(), tools().hlinecornerText()}) {
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

TEST_F(ToolPalette, GradientColoursComeFromTheColourDialog)
{
    script.colourAnswers.push_back({true, QColor(10, 200, 30)});
    script.colourAnswers.push_back({true, QColor(1, 2, 250)});
    script.colourAnswers.push_back({false, {}});
    tools().hstartcolorPicture_DblClick();
    tools().hendcolorPicture_DblClick();
    tools().hstartcolorPicture_DblClick();

    ASSERT_EQ(script.shown.size(), 3);
    EXPECT_EQ(script.shown[0].title, "起始色");
    EXPECT_EQ(script.shown[0].buttons, 11);
    EXPECT_EQ(script.shown[1].title, "终止色");
    EXPECT_EQ(lastMessage().kind, ""); // cancel is silent
    EXPECT_EQ(std::tuple(state().settings.hStartRed, state().settings.hStartGreen, state().settings.hStartBlue),
              std::tuple(10, 200, 30));
    EXPECT_EQ(std::tuple(state().settings.hEndRed, state().settings.hEndGreen, state().settings.hEndBlue),
              std::tuple(1, 2, 250));
    EXPECT_EQ(tools().hstartcolorPicture()->backColor(), rgbColour(10, 200, 30));
    EXPECT_EQ(tools().hendcolorPicture()->backColor(), rgbColour(1, 2, 250));
}

TEST_F(ToolPalette, LoadDrawsTheSamples)
{
    // Line samples in the drawing colour, shape samples in black on grey.
    const Colour d = state().settings.drawingColour;
    EXPECT_EQ(box(StyleFamily::Line, 1)->surface().point(300, 157), d);
    EXPECT_EQ(box(StyleFamily::Line0, 1)->surface().point(300, 80), d);
    EXPECT_EQ(box(StyleFamily::Box, 9)->surface().point(300, 97), 0);
    EXPECT_EQ(box(StyleFamily::Box, 1)->surface().point(300, 97), 0); // solid fill
    EXPECT_NE(box(StyleFamily::Box, 2)->surface().point(300, 97), 0); // transparent
    EXPECT_EQ(box(StyleFamily::Box, 2)->surface().point(90, 97), 0);  // its outline
    EXPECT_EQ(box(StyleFamily::Box, 15)->surface().point(300, 97), rgbColour(192, 192, 192));
    EXPECT_EQ(state().settings.hStartRed, 239);
    EXPECT_EQ(state().settings.hEndBlue, 127);
    for (int n = 1; n <= 16; ++n) {
        EXPECT_FALSE(tools().Command(n)->icon().isNull()) << n;
        EXPECT_FALSE(tools().Command(n)->toolTip().isEmpty()) << n;
    }
}

TEST_F(ToolPalette, EveryButtonChoosesItsToolAndShowsOnePanel)
{
    struct Row { int command, tool, frame; };
    const Row rows[] = {{1, 1, 2},  {2, 2, 3},   {3, 3, 1},   {4, 4, 4},   {5, 5, 3},  {6, 6, 3},
                        {7, 11, 2}, {8, 12, 2},  {9, 7, 3},   {10, 8, 3},  {11, 13, 2}, {14, 10, 5},
                        {15, 14, 2}, {16, 14, 2}, {13, 9, 2}, {12, 15, 2}};
    for (const Row &r : rows) {
        state().settings.hFillStyle = 6;
        state().settings.hDrawStyle = 3;
        tools().Command_GotFocus(r.command);
        EXPECT_EQ(state().settings.hTool, r.tool) << "Command" << r.command;
        EXPECT_EQ(visibleFrames(), std::vector<int>{r.frame}) << "Command" << r.command;
        // The panels with style boxes start again at their first entries.
        if (r.frame != 2)
            EXPECT_EQ(state().settings.hDrawStyle, 0) << "Command" << r.command;
        if (r.frame == 1 || r.frame == 4 || r.frame == 5)
            EXPECT_EQ(state().settings.hFillStyle, 0) << "Command" << r.command;
    }
}
