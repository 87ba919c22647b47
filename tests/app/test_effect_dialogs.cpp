// The custom filter and gradient fill dialogs as a user works them: real
// key and mouse events in their boxes and buttons, runs on a floating
// selection lifted with the selection tool, and what may happen while a
// gradient run goes on.
#include "program_fixture.h"

#include "app/effect_dialogs.h"
#include "document/model/document.h"
#include "dialogs/custom_filter_dialog.h"
#include "dialogs/effect_window.h"
#include "effects/gradient_fill.h"
#include "dialogs/gradient_fill_dialog.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QFrame>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <array>
#include <cmath>

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

// The filter written out from its formula, pixel by pixel.
QImage referenceFilter(const QImage &src, const std::array<int, 25> &weights, int r, int divisor,
                       int addend)
{
    QImage out = src;
    const int d = divisor == 0 ? 1 : divisor;
    for (int y = r; y <= src.height() - r - 1; ++y)
        for (int x = r; x <= src.width() - r - 1; ++x) {
            long long s[3] = {0, 0, 0};
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx) {
                    const QRgb p = src.pixel(x + dx, y + dy);
                    const long long w = weights[std::size_t((dy + 2) * 5 + dx + 2)];
                    s[0] += w * qRed(p);
                    s[1] += w * qGreen(p);
                    s[2] += w * qBlue(p);
                }
            int c[3];
            for (int i = 0; i < 3; ++i) {
                double v = std::abs(addend + double(s[i]) / d);
                if (v > 255)
                    v = 255;
                c[i] = int(std::nearbyint(v));
            }
            out.setPixel(x, y, qRgb(c[0], c[1], c[2]));
        }
    return out;
}

QString focusName()
{
    QWidget *w = QApplication::focusWidget();
    return w ? w->objectName() : QString();
}

void typeHere(const QString &text) { QTest::keyClicks(QApplication::focusWidget(), text); }
void pressHere(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }

} // namespace

class EffectDialogsTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        doc = active();
        lift(noise(60, 40), QRect(10, 5, 30, 25));
        activate(main.get());
    }

    // A picture on the canvas and the rectangle (pixels) lifted from it as
    // the floating selection with the selection tool.
    void lift(const QImage &picture, const QRect &r)
    {
        doc->document().loadPicture(picture);
        workspace().settings.tool = ToolId::Select;
        doc->canvasPressed({Qt::LeftButton, {}, r.left() * 15.0, r.top() * 15.0});
        doc->canvasMoved({Qt::LeftButton, {}, (r.right() + 1) * 15.0, (r.bottom() + 1) * 15.0});
        doc->canvasReleased({Qt::LeftButton, {}, (r.right() + 1) * 15.0, (r.bottom() + 1) * 15.0});
        lifted = selection().image();
    }
    void activate(QWidget *w)
    {
        w->activateWindow();
        QApplication::setActiveWindow(w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    }
    CanvasSurface &selection() { return doc->document().selection(); }

    CustomFilterDialog *openFilter()
    {
        QTest::keyClick(main.get(), Qt::Key_G, Qt::ControlModifier);
        auto *d = main->findChild<CustomFilterDialog *>();
        if (d)
            activate(d);
        return d;
    }
    GradientFillDialog *openGradient()
    {
        QTest::keyClick(main.get(), Qt::Key_J, Qt::ControlModifier);
        auto *d = main->findChild<GradientFillDialog *>();
        if (d)
            activate(d);
        return d;
    }
    // Lets a closed dialog's deferred deletion happen.
    static void settle()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    DocumentWindow *doc = nullptr;
    QImage lifted;
};

// --- the custom filter ---------------------------------------------------------

TEST_F(EffectDialogsTest, DialogsOpenOnTopOnlyOverAFloatingSelection)
{
    QTest::keyClick(doc, Qt::Key_Escape); // drops the selection
    activate(main.get());
    // Each says on the status bar why it opens nothing.
    QStatusBar *status = main->statusBar();
    const QRect left(0, 0, status->width() / 4, status->height());
    const QImage quiet = status->grab(left).toImage();
    QTest::keyClick(main.get(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(status->currentMessage(), "请先选定一块区域。");
    QCoreApplication::processEvents(); // the bar lays itself out anew
    status->grab().save(QDir::temp().filePath("quor-status-no-selection.png"));
    EXPECT_NE(status->grab(left).toImage(), quiet);
    status->clearMessage();
    QTest::keyClick(main.get(), Qt::Key_J, Qt::ControlModifier);
    EXPECT_EQ(status->currentMessage(), "请先选定一块区域。");
    EXPECT_EQ(main->findChild<CustomFilterDialog *>(), nullptr);
    EXPECT_EQ(main->findChild<GradientFillDialog *>(), nullptr);

    lift(noise(60, 40), QRect(0, 0, 20, 20));
    activate(main.get());
    CustomFilterDialog *filter = openFilter();
    ASSERT_TRUE(filter);
    EXPECT_TRUE(filter->isVisible());
    EXPECT_FALSE(filter->isModal());
    EXPECT_TRUE(filter->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(filter->frameGeometry(), QRect(560, 0, 230, 185));
    EXPECT_EQ(filter->windowTitle(), QCoreApplication::applicationName());
    EXPECT_EQ(focusName(), "Text1");

    activate(main.get());
    GradientFillDialog *gradient = openGradient();
    ASSERT_TRUE(gradient);
    EXPECT_TRUE(gradient->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(gradient->frameGeometry(), QRect(500, 0, 270, 160));
    EXPECT_EQ(gradient->windowTitle(), QCoreApplication::applicationName());
}

TEST_F(EffectDialogsTest, TheProgramsKeysWorkFromTheDialogsAndEscapeClosesThem)
{
    // A menu shortcut typed in a weight box flips the selection (Ctrl+Z).
    CustomFilterDialog *filter = openFilter();
    ASSERT_TRUE(filter);
    filter->weightBox(13)->setFocus();
    pressHere(Qt::Key_1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(selection().image(), lifted.mirrored(true, false));
    EXPECT_EQ(filter->weightBox(13)->text(), "1");
    QPointer<CustomFilterDialog> gone = filter;
    pressHere(Qt::Key_Escape);
    settle();
    EXPECT_FALSE(gone);

    // Alt+F4 in a box closes the gradient window, Escape on an option too.
    activate(main.get());
    QPointer<GradientFillDialog> gradient = openGradient();
    ASSERT_TRUE(gradient);
    gradient->widthBox()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4, Qt::AltModifier);
    settle();
    EXPECT_FALSE(gradient);
    activate(main.get());
    gradient = openGradient();
    gradient->styleOption(3)->setFocus();
    pressHere(Qt::Key_Escape);
    settle();
    EXPECT_FALSE(gradient);

    // Ctrl+Q from a box quits with the save question; No lets it go.
    activate(main.get());
    gone = filter = openFilter();
    filter->addendBox()->setFocus();
    script.messageAnswers = {Answer::No};
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(lastMessage().style, (MessageStyle{Buttons::YesNoCancel}));
    EXPECT_FALSE(main->isVisible());
    settle();
    EXPECT_FALSE(gone);
}

TEST_F(EffectDialogsTest, KernelTypedWithEnterRunsOnTheSelection)
{
    CustomFilterDialog *dlg = openFilter();
    ASSERT_TRUE(dlg);
    // Row by row, Enter after each box; a blurring cross with a negative
    // corner, divisor 9, addend -12.
    const std::array<int, 25> weights = {0, 1, 0, 0, -2, 1, 2, 3, 0, 0, 0, 4, 5, 4, 0,
                                         0, 0, 3, 2, 1, 7, 0, 0, 1, 0};
    for (int i = 0; i < 25; ++i) {
        ASSERT_EQ(focusName(), QStringLiteral("Text%1").arg(i + 1));
        if (weights[std::size_t(i)] != 0)
            typeHere(QString::number(weights[std::size_t(i)]));
        pressHere(Qt::Key_Return);
    }
    ASSERT_EQ(focusName(), "hdivideText");
    typeHere("9"); // replaces the selected "1"
    pressHere(Qt::Key_Return);
    ASSERT_EQ(focusName(), "hbiasText");
    pressHere(Qt::Key_Home);
    typeHere("-12"); // "-0", "-10", "-120", then "-12" once the 0 is deleted
    pressHere(Qt::Key_Delete);
    EXPECT_EQ(dlg->divisorBox()->text(), "9");
    EXPECT_EQ(dlg->addendBox()->text(), "-12");
    pressHere(Qt::Key_Return);
    EXPECT_EQ(focusName(), "Text1");

    QTest::mouseClick(dlg->button(1), Qt::LeftButton);
    EXPECT_EQ(selection().image(), referenceFilter(lifted, weights, 2, 9, -12));
    EXPECT_EQ(selection().scaleMode(), ScaleMode::Twips);
    EXPECT_FALSE(doc->view()->runFrame()->isVisible());
    EXPECT_FALSE(doc->view()->runLine()->isVisible());
    EXPECT_EQ(doc->document().scratch().image().size(), QSize(1, 1)) << "the scratch is reset";
    EXPECT_TRUE(dlg->isVisible()) << "the dialog stays open after a run";
}

TEST_F(EffectDialogsTest, EnterMovesThroughTheBoxesOfEitherSize)
{
    CustomFilterDialog *dlg = openFilter();
    ASSERT_TRUE(dlg);
    QStringList five;
    for (int i = 0; i < 27; ++i) {
        pressHere(Qt::Key_Enter);
        five << focusName();
    }
    QStringList expected;
    for (int n = 2; n <= 25; ++n)
        expected << QStringLiteral("Text%1").arg(n);
    expected << "hdivideText" << "hbiasText" << "Text1";
    EXPECT_EQ(five, expected);

    QTest::mouseClick(dlg->threeByThreeOption(), Qt::LeftButton);
    EXPECT_EQ(dlg->kernelRadius(), 1);
    EXPECT_EQ(focusName(), "Text7");
    QStringList three;
    for (int i = 0; i < 11; ++i) {
        pressHere(Qt::Key_Return);
        three << focusName();
    }
    EXPECT_EQ(three, QStringList({"Text8", "Text9", "Text12", "Text13", "Text14", "Text17",
                                  "Text18", "Text19", "hdivideText", "hbiasText", "Text7"}));
}

TEST_F(EffectDialogsTest, BoxesTakeOnlyTheirCharactersAndKeepTheirLimits)
{
    CustomFilterDialog *dlg = openFilter();
    ASSERT_TRUE(dlg);
    QLineEdit *weight = dlg->weightBox(13);
    weight->setFocus();
    typeHere("a1b-2 .");
    EXPECT_EQ(weight->text(), "1-2");
    pressHere(Qt::Key_Backspace);
    EXPECT_EQ(weight->text(), "1-2") << "backspace is discarded";
    QTest::keyClick(weight, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(weight->text(), "1-2");
    pressHere(Qt::Key_Home);
    pressHere(Qt::Key_Delete);
    EXPECT_EQ(weight->text(), "-2") << "Delete works";

    // Divisor: digits only; emptied it becomes 1.
    QLineEdit *divisor = dlg->divisorBox();
    divisor->setFocus();
    pressHere(Qt::Key_End);
    typeHere("-x5");
    EXPECT_EQ(divisor->text(), "15");
    pressHere(Qt::Key_Home);
    pressHere(Qt::Key_Delete);
    pressHere(Qt::Key_Delete);
    EXPECT_EQ(divisor->text(), "1");
    pressHere(Qt::Key_Home);
    typeHere("0");
    EXPECT_EQ(divisor->text(), "01");
    divisor->selectAll();
    typeHere("0");
    EXPECT_EQ(divisor->text(), "1") << "below 1 becomes 1";

    // Addend: within -255..255; a lone minus is 0.
    QLineEdit *addend = dlg->addendBox();
    addend->setFocus();
    addend->selectAll();
    typeHere("300");
    EXPECT_EQ(addend->text(), "255");
    addend->selectAll();
    typeHere("-");
    EXPECT_EQ(addend->text(), "0");
    pressHere(Qt::Key_Home);
    typeHere("-300");
    EXPECT_EQ(addend->text(), "-255");
}

TEST_F(EffectDialogsTest, ArrowButtonsStepTheLastFocusedBox)
{
    CustomFilterDialog *dlg = openFilter();
    ASSERT_TRUE(dlg);
    QWidget *up = dlg->button(3), *down = dlg->button(4);
    QTest::mouseClick(dlg->weightBox(13), Qt::LeftButton);
    EXPECT_EQ(dlg->currentBox(), dlg->weightBox(13));
    QTest::mouseClick(up, Qt::LeftButton);
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(dlg->weightBox(13)->text(), "2");
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(dlg->weightBox(13)->text(), "-1");

    // The steps pass through the boxes' rules.
    QTest::mouseClick(dlg->divisorBox(), Qt::LeftButton);
    QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(dlg->divisorBox()->text(), "1");
    QTest::mouseClick(dlg->addendBox(), Qt::LeftButton);
    dlg->addendBox()->setText("255");
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(dlg->addendBox()->text(), "255");
    dlg->addendBox()->setText("--");
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(dlg->addendBox()->text(), "1") << "no number counts as 0";

    // The run and cancel buttons and the options switch the arrows off.
    dlg->button(1)->setFocus();
    EXPECT_FALSE(up->isEnabled());
    EXPECT_FALSE(down->isEnabled());
    QTest::mouseClick(dlg->weightBox(2), Qt::LeftButton);
    EXPECT_TRUE(up->isEnabled());
}

TEST_F(EffectDialogsTest, ThreeByThreeEmptiesTheOuterBoxesForGood)
{
    CustomFilterDialog *dlg = openFilter();
    ASSERT_TRUE(dlg);
    const QRect wholeTop = dlg->bar(1)->geometry();
    for (int n : {1, 5, 7, 13, 25})
        dlg->weightBox(n)->setText("1");
    QTest::mouseClick(dlg->threeByThreeOption(), Qt::LeftButton);
    for (int n = 1; n <= 25; ++n) {
        const int row = (n - 1) / 5, column = (n - 1) % 5;
        const bool outer = row == 0 || row == 4 || column == 0 || column == 4;
        EXPECT_EQ(dlg->weightBox(n)->isEnabled(), !outer) << n;
        if (outer) {
            EXPECT_TRUE(dlg->weightBox(n)->text().isEmpty()) << n;
        }
    }
    EXPECT_EQ(dlg->weightBox(7)->text(), "1");
    EXPECT_EQ(dlg->bar(1)->geometry(), twipsRect(480, 390, 1190, 30));
    EXPECT_EQ(dlg->bar(4)->geometry(), twipsRect(1660, 390, 30, 1030));

    QTest::mouseClick(dlg->fiveByFiveOption(), Qt::LeftButton);
    EXPECT_EQ(dlg->kernelRadius(), 2);
    EXPECT_EQ(focusName(), "Text1");
    EXPECT_TRUE(dlg->weightBox(1)->isEnabled());
    EXPECT_TRUE(dlg->weightBox(1)->text().isEmpty()) << "the outer boxes come back empty";
    EXPECT_EQ(dlg->bar(1)->geometry(), wholeTop);

    // They weigh 0: only the centre's 1 and Text7's 1 count.
    QTest::mouseClick(dlg->button(1), Qt::LeftButton);
    std::array<int, 25> w{};
    w[6] = w[12] = 1;
    EXPECT_EQ(selection().image(), referenceFilter(lifted, w, 2, 1, 0));
}

TEST_F(EffectDialogsTest, ReopenedDialogShowsAndRunsTheKeptValues)
{
    CustomFilterDialog *dlg = openFilter();
    ASSERT_TRUE(dlg);
    dlg->weightBox(13)->setFocus();
    typeHere("2");
    dlg->weightBox(8)->setFocus();
    typeHere("-1");
    dlg->divisorBox()->setText("3");
    dlg->addendBox()->setText("40");
    QTest::mouseClick(dlg->button(2), Qt::LeftButton);
    settle();
    EXPECT_EQ(main->findChild<CustomFilterDialog *>(), nullptr);

    activate(main.get());
    dlg = openFilter();
    ASSERT_TRUE(dlg);
    EXPECT_EQ(dlg->weightBox(13)->text(), "2");
    EXPECT_EQ(dlg->weightBox(8)->text(), "-1");
    EXPECT_TRUE(dlg->weightBox(1)->text().isEmpty());
    EXPECT_EQ(dlg->divisorBox()->text(), "3");
    EXPECT_EQ(dlg->addendBox()->text(), "40");
    EXPECT_TRUE(dlg->fiveByFiveOption()->isChecked());
    QTest::mouseClick(dlg->button(1), Qt::LeftButton);
    std::array<int, 25> w{};
    w[12] = 2;
    w[7] = -1;
    EXPECT_EQ(selection().image(), referenceFilter(lifted, w, 2, 3, 40));
}

TEST_F(EffectDialogsTest, TextsThatAreNoNumbersWeighNothing)
{
    CustomFilterDialog *dlg = openFilter();
    ASSERT_TRUE(dlg);
    const char *texts[] = {"1-2", "--", "-", "99999999999", "2147483648", "-2147483649"};
    for (int i = 0; i < 6; ++i) {
        dlg->weightBox(i + 1)->setFocus();
        typeHere(texts[i]);
    }
    dlg->weightBox(13)->setFocus();
    typeHere("1");
    dlg->divisorBox()->setFocus();
    dlg->divisorBox()->selectAll();
    typeHere("99999999999");
    QTest::mouseClick(dlg->button(1), Qt::LeftButton);
    std::array<int, 25> w{};
    w[12] = 1;
    EXPECT_EQ(selection().image(), referenceFilter(lifted, w, 2, 1, 0)) << "divisor 1, identity";
}

// --- the gradient fill -----------------------------------------------------------

TEST_F(EffectDialogsTest, GradientOptionsAndBoxes)
{
    GradientFillDialog *dlg = openGradient();
    ASSERT_TRUE(dlg);
    EXPECT_EQ(dlg->style(), 1);
    EXPECT_TRUE(dlg->styleOption(1)->isChecked());
    EXPECT_FALSE(dlg->angleBox()->isEnabled());
    EXPECT_TRUE(dlg->widthBox()->isEnabled());
    EXPECT_EQ(dlg->startSwatch()->backColor(), rgbColour(224, 224, 224));
    EXPECT_EQ(dlg->endSwatch()->backColor(), rgbColour(128, 128, 128));
    EXPECT_EQ(dlg->startColour(), rgbColour(239, 239, 239)) << "until a pick";
    EXPECT_EQ(dlg->endColour(), rgbColour(127, 127, 127));

    QTest::mouseClick(dlg->styleOption(5), Qt::LeftButton);
    EXPECT_EQ(dlg->style(), 5);
    EXPECT_TRUE(dlg->angleBox()->isEnabled());
    EXPECT_TRUE(dlg->label(3)->isEnabled());
    EXPECT_FALSE(dlg->widthBox()->isEnabled());
    EXPECT_FALSE(dlg->label(4)->isEnabled());

    QLineEdit *angle = dlg->angleBox();
    angle->setFocus();
    angle->selectAll();
    typeHere("17x9");
    EXPECT_EQ(angle->text(), "179");
    pressHere(Qt::Key_Backspace);
    EXPECT_EQ(angle->text(), "179");
    angle->selectAll();
    typeHere("200");
    EXPECT_EQ(angle->text(), "0") << "180 or more becomes 0";
    pressHere(Qt::Key_Delete);
    pressHere(Qt::Key_Home);
    pressHere(Qt::Key_Delete);
    EXPECT_EQ(angle->text(), "0") << "emptied becomes 0";

    QTest::mouseClick(dlg->styleOption(2), Qt::LeftButton);
    EXPECT_FALSE(angle->isEnabled());
    QLineEdit *width = dlg->widthBox();
    width->setFocus();
    width->selectAll();
    typeHere("-30a0");
    EXPECT_EQ(width->text(), "300");
    width->selectAll();
    pressHere(Qt::Key_Delete);
    EXPECT_EQ(width->text(), "0");
}

TEST_F(EffectDialogsTest, SwatchColoursComeFromTheColourDialog)
{
    GradientFillDialog *dlg = openGradient();
    ASSERT_TRUE(dlg);
    bool onTopWhileAsked = true;
    script.onShow = [&](const ShownDialog &) {
        onTopWhileAsked = dlg->windowFlags() & Qt::WindowStaysOnTopHint;
    };
    script.colourAnswers.push_back(QColor(10, 20, 30));
    QTest::mouseDClick(dlg->startSwatch(), Qt::LeftButton);
    ASSERT_EQ(script.shown.size(), 1);
    EXPECT_EQ(script.shown[0].kind, "colour");
    EXPECT_EQ(script.shown[0].title, "起始色");
    EXPECT_FALSE(onTopWhileAsked) << "the colour dialog may lie above";
    EXPECT_TRUE(dlg->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->frameGeometry(), QRect(500, 0, 270, 160));
    EXPECT_EQ(dlg->startColour(), rgbColour(10, 20, 30));
    EXPECT_EQ(dlg->startSwatch()->backColor(), rgbColour(10, 20, 30));

    // Cancelled: nothing changes and nothing is said.
    script.colourAnswers.push_back(std::nullopt);
    QTest::mouseDClick(dlg->endSwatch(), Qt::LeftButton);
    ASSERT_EQ(script.shown.size(), 2);
    EXPECT_EQ(script.shown[1].title, "终止色");
    EXPECT_EQ(dlg->endColour(), rgbColour(127, 127, 127));
    EXPECT_EQ(lastMessage().kind, "");
    EXPECT_TRUE(dlg->windowFlags() & Qt::WindowStaysOnTopHint);
}

// Every style draws exactly its outlines, with the set-up's pen, and the
// normal end resets the selection's fill and pen.
TEST_F(EffectDialogsTest, EachStyleDrawsItsOutlinesOnTheSelection)
{
    GradientFillDialog *dlg = openGradient();
    ASSERT_TRUE(dlg);
    workspace().settings.lineWidth = 3;
    workspace().settings.fillStyle = FillStyle::DownwardDiagonals;
    doc->document().canvas().setLineStyle(LineStyle::Dot);
    dlg->widthBox()->setText("90");
    doc->document().markSaved();
    struct Case { int style; int angle; int pen; };
    for (Case c : {Case{1, 0, 3}, Case{2, 0, 2}, Case{3, 0, 1}, Case{4, 0, 1}, Case{5, 0, 1},
                   Case{5, 135, 1}, Case{6, 90, 1}, Case{6, 30, 1}}) {
        SCOPED_TRACE(c.style);
        QTest::mouseClick(dlg->styleOption(c.style), Qt::LeftButton);
        dlg->angleBox()->setText(QString::number(c.angle));
        const QImage before = selection().image();

        effects::GradientFill fill;
        fill.style = effects::GradientStyle(c.style);
        fill.width = selection().scaleWidth();
        fill.height = selection().scaleHeight();
        fill.frameWidth = 90;
        fill.angle = c.angle;
        fill.start = rgbColour(239, 239, 239);
        fill.end = rgbColour(127, 127, 127);
        CanvasSurface expected;
        expected.setImage(before);
        expected.setScaleSize(fill.width, fill.height);
        expected.setFillStyle(FillStyle::Transparent);
        expected.setLineStyle(LineStyle::Dot);
        expected.setDrawWidth(c.pen);
        expected.setDrawMode(selection().drawMode());
        const effects::GradientOutlines outlines(fill);
        for (std::size_t i = 0; i < outlines.size(); ++i)
            drawOutline(expected, outlines[i]);

        QTest::mouseClick(dlg->button(1), Qt::LeftButton);
        EXPECT_EQ(selection().image(), expected.image());
        EXPECT_NE(selection().image(), before);
        EXPECT_EQ(selection().fillStyle(), FillStyle::Solid);
        EXPECT_EQ(selection().drawWidth(), 1);
        EXPECT_EQ(selection().lineStyle(), LineStyle::Dot);
        EXPECT_EQ(doc->document().canvas().fillStyle(), FillStyle::Transparent);
        EXPECT_EQ(workspace().settings.fillStyle, FillStyle::Transparent);
    }
    EXPECT_FALSE(doc->document().isModified()) << "the run leaves the changed flag alone";
}

class GradientRun : public EffectDialogsTest
{
protected:
    void SetUp() override
    {
        EffectDialogsTest::SetUp();
        // Large enough for a run that pauses for the screen many times.
        lift(noise(2000, 1500, 3), QRect(0, 0, 2000, 1500));
        doc->document().markSaved();
        activate(main.get());
        dlg = openGradient();
        ASSERT_TRUE(dlg);
    }
    // Runs the fill; during its first pause for the screen, what looks at
    // the program and acts.
    void runWithDuring(const std::function<void()> &during)
    {
        QTimer::singleShot(0, [&] {
            sawRun = dlg && dlg->running();
            during();
        });
        QTest::mouseClick(dlg->button(1), Qt::LeftButton);
    }

    QPointer<GradientFillDialog> dlg;
    bool sawRun = false;
};

TEST_F(GradientRun, OnlyInterruptTakesInputAndItStopsTheRun)
{
    workspace().settings.lineWidth = 2;
    bool menusOff = false, runOff = false, cancelOff = false, interruptOn = false;
    bool otherDialogOff = false;
    QImage atInterrupt;
    activate(main.get());
    CustomFilterDialog *filter = openFilter();
    ASSERT_TRUE(filter);
    activate(dlg);
    QWidget *focusInMain = main->focusWidget();
    runWithDuring([&] {
        menusOff = !main->menuBar()->isEnabled() && !main->toolBar()->isEnabled()
                && !main->toolsDock()->isEnabled() && !main->coloursDock()->isEnabled()
                && !main->mdiArea()->isEnabled();
        runOff = !dlg->button(1)->isEnabled();
        cancelOff = !dlg->button(2)->isEnabled();
        interruptOn = dlg->button(3)->isEnabled();
        otherDialogOff = !filter->isEnabled();
        // A program shortcut does nothing meanwhile: F8 would soften.
        atInterrupt = selection().image();
        QTest::keyClick(dlg, Qt::Key_F8);
        EXPECT_EQ(selection().image(), atInterrupt);
        QTest::mouseClick(dlg->button(3), Qt::LeftButton);
    });
    ASSERT_TRUE(sawRun);
    EXPECT_TRUE(menusOff);
    EXPECT_TRUE(runOff);
    EXPECT_TRUE(cancelOff);
    EXPECT_TRUE(interruptOn);
    EXPECT_TRUE(otherDialogOff);

    // Stopped before the next outline: the picture is as it was at the
    // pause, the fill and pen stay as the run set them.
    EXPECT_FALSE(dlg->running());
    EXPECT_EQ(selection().image(), atInterrupt);
    EXPECT_NE(selection().image(), lifted) << "the first outlines are drawn";
    EXPECT_EQ(selection().point(1000 * 15, 2), fromQRgb(lifted.pixel(1000, 0)))
        << "the outermost ellipse is not";
    EXPECT_EQ(selection().fillStyle(), FillStyle::Transparent);
    EXPECT_EQ(selection().drawWidth(), 2);
    EXPECT_FALSE(dlg->interrupted());
    EXPECT_TRUE(main->menuBar()->isEnabled());
    EXPECT_TRUE(main->mdiArea()->isEnabled());
    EXPECT_TRUE(dlg->button(1)->isEnabled());
    EXPECT_TRUE(filter->isEnabled());
    EXPECT_EQ(main->focusWidget(), focusInMain) << "the main window's focus comes back";

    // The next run starts afresh and goes to the end.
    QTest::mouseClick(dlg->button(1), Qt::LeftButton);
    EXPECT_EQ(selection().point(1000 * 15, 2), rgbColour(127, 127, 127));
    EXPECT_EQ(selection().fillStyle(), FillStyle::Solid);
    EXPECT_EQ(selection().drawWidth(), 1);
}

TEST_F(GradientRun, ClosingTheDocumentStopsTheRunThenCloses)
{
    QPointer<DocumentWindow> watched = doc;
    bool closedAtOnce = true;
    runWithDuring([&] { closedAtOnce = doc->closeDocument(); });
    ASSERT_TRUE(sawRun);
    EXPECT_FALSE(closedAtOnce) << "not while the run draws on it";
    EXPECT_FALSE(dlg->running());
    QTest::qWait(20);
    settle();
    EXPECT_TRUE(watched.isNull());
    EXPECT_EQ(workspace().documentCount(), 0);
    EXPECT_TRUE(main->menuBar()->isEnabled());
    // Nothing to run on now, and nothing happens.
    QTest::mouseClick(dlg->button(1), Qt::LeftButton);
}

TEST_F(GradientRun, ADocumentDestroyedMidRunIsNeverTouchedAgain)
{
    runWithDuring([&] { delete doc->parentWidget(); });
    ASSERT_TRUE(sawRun);
    EXPECT_FALSE(dlg->running());
    EXPECT_TRUE(main->mdiArea()->isEnabled());
}

TEST_F(GradientRun, ClosingTheProgramStopsTheRunThenCloses)
{
    runWithDuring([&] { main->close(); });
    ASSERT_TRUE(sawRun);
    EXPECT_TRUE(main->isVisible()) << "not while the run goes";
    QTest::qWait(20);
    settle();
    EXPECT_FALSE(main->isVisible());
    EXPECT_EQ(workspace().documentCount(), 0);
}

TEST_F(GradientRun, ClosingTheDialogStopsTheRunThenCloses)
{
    runWithDuring([&] { dlg->close(); });
    ASSERT_TRUE(sawRun);
    QTest::qWait(20);
    settle();
    EXPECT_TRUE(dlg.isNull());
    EXPECT_TRUE(main->menuBar()->isEnabled());
}

TEST_F(EffectDialogsTest, GradientRunOnAnEmptySelectionDoesNothing)
{
    GradientFillDialog *dlg = openGradient();
    ASSERT_TRUE(dlg);
    selection().setScaleSize(0, 0);
    workspace().settings.fillStyle = FillStyle::VerticalLines;
    QTest::mouseClick(dlg->button(1), Qt::LeftButton);
    EXPECT_EQ(workspace().settings.fillStyle, FillStyle::VerticalLines);
    EXPECT_EQ(selection().image(), lifted.copy(0, 0, 1, 1));
}
