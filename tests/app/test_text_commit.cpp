// The text tool as a user works it: a click places the box, keys type into
// it, its right-click menu cuts, copies, pastes, loads files, sets the font
// and writes the text onto the canvas. Results are read from the pixels.
#include "program_fixture.h"

#include "files/file_texts.h"
#include "formats/text_file.h"
#include "palettes/tool_palette.h"
#include "tools/canvas_mouse.h"
#include "tools/text_commit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace quor;

namespace {

constexpr Colour red = rgbColour(255, 0, 0), blue = rgbColour(0, 0, 255);
constexpr QRgb white = 0xffffffff;

} // namespace

class TextTool : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        doc = active();
        QApplication::setActiveWindow(main.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
        doc->document().resizeCanvas(400 * 15, 150 * 15);
        QFont big(QStringLiteral("WenQuanYi Micro Hei"));
        big.setPointSize(20);
        script.fontAnswers = {big};
        main->runToolBarButton(QStringLiteral("图片字体"));
        QTest::mouseClick(main->toolPalette()->findChild<QWidget *>("Command13"), Qt::LeftButton);
        ASSERT_EQ(workspace().settings.tool, ToolId::Text);
    }
    TextEntryBox *box() { return doc->view()->textBox(); }
    QAction *entry(const char *name) { return main->findChild<QAction *>(name); }

    // Clicks the canvas at a pixel and types the text into the box.
    void type(QPoint at, const QString &text)
    {
        CanvasMouse(doc).click(at);
        keys(text);
    }
    // One key event per character with its text, as an input method
    // delivers Chinese.
    void keys(const QString &text)
    {
        for (const QString &ch : text.split(QString(), Qt::SkipEmptyParts))
            QTest::sendKeyEvent(QTest::Click, box(), Qt::Key_unknown, ch, Qt::NoModifier);
    }
    // Right-clicks the box and clicks an entry of the menu that pops up.
    void quick(const char *name)
    {
        QTest::mouseClick(box()->viewport(), Qt::RightButton, {}, QPoint(3, 3));
        QMenu *menu = main->textBoxMenu();
        ASSERT_TRUE(menu->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry(name)).center());
        ASSERT_FALSE(menu->isVisible());
    }
    // The canvas pixels of the box as it lies now.
    QRect boxPixels() const
    {
        const TextEntryBox *b = doc->view()->textBox();
        return QRect(int(b->leftTwips() / 15), int(b->topTwips() / 15), int(b->widthTwips() / 15),
                     int(b->heightTwips() / 15));
    }
    void gradient(int kind, double angle, Colour start, Colour end)
    {
        workspace().settings.gradientKind = kind;
        workspace().settings.gradientAngle = angle;
        workspace().settings.startRed = redOf(start), workspace().settings.startGreen = greenOf(start);
        workspace().settings.startBlue = blueOf(start);
        workspace().settings.endRed = redOf(end), workspace().settings.endGreen = greenOf(end);
        workspace().settings.endBlue = blueOf(end);
    }
    // Commits the text at a pixel; the canvas pixels the box covered.
    QImage commit(QPoint at, const QString &text)
    {
        type(at, text);
        const QRect r = boxPixels();
        quick("Hquickqueding");
        return canvas().image().copy(r);
    }
    // Red share of the fully covered pixels of one column of a picture, or
    // -1 when the column has none.
    static int redOfColumn(const QImage &img, int x)
    {
        for (int y = 0; y < img.height(); ++y)
            if ((img.pixel(x, y) & 0xffffff) != 0xffffff && qGreen(img.pixel(x, y)) == 0)
                return qRed(img.pixel(x, y));
        return -1;
    }

    DocumentWindow *doc = nullptr;
};

TEST_F(TextTool, WithoutGradientTheTextIsWhatTheBoxShowed)
{
    type({20, 10}, QStringLiteral("中文 Text"));
    const QRect former = boxPixels();
    const double height = box()->heightTwips();
    box()->clearFocus(); // no caret in the picture of the box
    const QImage shown = box()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage before = canvas().image();
    quick("Hquickqueding");

    const QImage after = canvas().image();
    EXPECT_EQ(after.copy(former), shown.copy(0, 0, former.width(), former.height()));
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            if (!former.contains(x, y)) {
                ASSERT_EQ(after.pixel(x, y), before.pixel(x, y)) << x << "," << y;
            }
        }
    }
    // The box waits one box-height lower, empty and focused.
    EXPECT_EQ(box()->topTwips(), former.top() * 15 + height);
    EXPECT_EQ(box()->leftTwips(), 300);
    EXPECT_TRUE(box()->text().isEmpty());
    EXPECT_EQ(doc->view()->textMeasure()->text(), "H");
    EXPECT_TRUE(box()->hasFocus());
    EXPECT_TRUE(doc->document().isModified());
}

TEST_F(TextTool, OneWayAcrossRunsFromStartToEndColour)
{
    gradient(0, 0, red, blue);
    const QImage text = commit({10, 10}, QStringLiteral("一一一一一一一一"));
    int first = -1, last = -1, previous = 256;
    for (int x = 0; x < text.width(); ++x) {
        const int r = redOfColumn(text, x);
        if (r < 0)
            continue;
        if (first < 0)
            first = r;
        last = r;
        EXPECT_LE(r, previous) << x; // ever less red, ever more blue
        previous = r;
    }
    EXPECT_GT(first, 240);
    EXPECT_LT(last, 15);

    // With both colours one, it is the text without gradient in that colour.
    script.colourAnswers = {QColor(255, 0, 0)};
    quick("Hquickmnuforecorlor");
    gradient(2, 0, blue, blue);
    const QImage plain = commit({10, 60}, QStringLiteral("一一一一一一一一"));
    canvas().cls();
    gradient(0, 0, red, red);
    EXPECT_EQ(commit({10, 60}, QStringLiteral("一一一一一一一一")), plain);
}

TEST_F(TextTool, OtherDirectionsGiveConcentricRings)
{
    gradient(0, 45, red, blue);
    const QImage text = commit({10, 10}, QStringLiteral("一一一一一一一一"));
    const int centre = text.width() / 2;
    int left = -1;
    for (int x = 0; x < text.width() && left < 0; ++x)
        left = redOfColumn(text, x);
    EXPECT_GT(left, 200); // the outer border in the start colour
    EXPECT_LT(redOfColumn(text, centre), 40); // the middle in the end colour

    // Two-way downwards: start colour at the top and the bottom, end colour
    // in the middle row.
    gradient(1, 90, red, blue);
    const QImage bars = commit({10, 80}, QStringLiteral("|||"));
    const int x = [&] {
        for (int x = 0; x < bars.width(); ++x)
            if (redOfColumn(bars, x) >= 0)
                return x;
        return 0;
    }();
    QList<int> reds;
    for (int y = 0; y < bars.height(); ++y)
        if (qGreen(bars.pixel(x, y)) == 0 && (bars.pixel(x, y) & 0xffffff) != 0xffffff)
            reds << qRed(bars.pixel(x, y));
    ASSERT_GT(reds.size(), 10);
    EXPECT_LT(*std::min_element(reds.begin(), reds.end()), 30);
    EXPECT_GT(reds.first(), reds[reds.size() / 2] + 100);
    EXPECT_GT(reds.last(), reds[reds.size() / 2] + 100);
}

TEST_F(TextTool, EveryRepaintShowsTheSweepSoFar)
{
    // Over a picture: the glyphs blend with what lay there.
    QImage picture(400, 150, QImage::Format_RGB32);
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 400; ++x)
            picture.setPixel(x, y, qRgb(x % 256, y * 255 / 150, (x * y) % 256));
    doc->document().loadPicture(picture);
    const QString text = QStringLiteral("一二三 Ag");
    const TwipBox buffer{150, 300, 2400, 700};
    const auto steps = textSweep(buffer.width, buffer.height, TextGradient::TwoWay, 30,
                                 0, red, blue);
    ASSERT_GT(steps.size(), 500u);
    const QRect place(10, 20, 160, 46);
    const QImage coverage = textCoverage(text, canvas().font(), place.size(), picture);

    // Step by step the whole strip in the step's colour, from the picture;
    // the canvas is looked at every 37 steps and at the end.
    QImage expected = picture;
    std::size_t done = 0, looks = 0;
    auto due = [&] {
        const SweepStep &s = steps[done++];
        const QRgb c = toQRgb(s.colour);
        auto mix = [](int u, int c, int a) { return (u * (255 - a) + c * a + 127) / 255; };
        for (int y = s.strip.top(); y <= s.strip.bottom(); ++y) {
            for (int x = s.strip.left(); x <= s.strip.right(); ++x) {
                const QPoint p = place.topLeft() + QPoint(x, y);
                const QRgb a = coverage.pixel(x, y), u = picture.pixel(p);
                expected.setPixel(p, qRgb(mix(qRed(u), qRed(c), qRed(a)),
                                          mix(qGreen(u), qGreen(c), qGreen(a)),
                                          mix(qBlue(u), qBlue(c), qBlue(a))));
            }
        }
        return done % 37 == 0;
    };
    auto show = [&] {
        ++looks;
        EXPECT_EQ(canvas().image(), expected) << "after step " << done;
    };
    sweepText(doc->document(), text, canvas().font(), {150, 300}, buffer, steps, {due, show});
    EXPECT_EQ(done, steps.size());
    EXPECT_EQ(looks, steps.size() / 37);
    EXPECT_EQ(canvas().image(), expected);
    EXPECT_NE(canvas().image(), picture);
}

TEST_F(TextTool, ABoxPastTheCanvasEdgeIsClipped)
{
    doc->document().resizeCanvas(100 * 15, 60 * 15);
    gradient(0, 0, red, blue);
    const QImage before = canvas().image();
    type({70, 10}, QStringLiteral("一一一一一一"));
    quick("Hquickqueding");
    const QImage after = canvas().image();
    EXPECT_EQ(after.size(), QSize(100, 60));
    EXPECT_EQ(after.copy(0, 0, 70, 60), before.copy(0, 0, 70, 60));
    // The sweep runs to the edge: the last column is in the end colour.
    EXPECT_LT(redOfColumn(after.copy(70, 0, 30, 60), 29), 15);

    // Less room than a sweep needs: one colour, the box's (black).
    type({99, 20}, QStringLiteral("█"));
    quick("Hquickqueding");
    int dark = 0;
    for (int y = 20; y < 60; ++y) {
        const QRgb p = canvas().image().pixel(99, y);
        EXPECT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)) << y;
        dark += qRed(p) < 128;
    }
    EXPECT_GT(dark, 5);
}

TEST_F(TextTool, ABoxDraggedPastTheLeftEdgeShowsThePartOnTheCanvas)
{
    const QImage inside = commit({40, 30}, QStringLiteral("一二三"));
    canvas().cls();
    CanvasMouse(doc).drag({{10, 30}, {-20, 30}});
    ASSERT_EQ(box()->leftTwips(), -300);
    keys(QStringLiteral("一二三"));
    quick("Hquickqueding");
    const QImage after = canvas().image();
    EXPECT_EQ(after.copy(0, 30, inside.width() - 20, inside.height()),
              inside.copy(20, 0, inside.width() - 20, inside.height()));
    QImage blank(400 - inside.width() + 20, 150, QImage::Format_RGB32);
    blank.fill(white);
    EXPECT_EQ(after.copy(inside.width() - 20, 0, blank.width(), 150), blank);
}

TEST_F(TextTool, EmptyTextChangesNoPixelButMarksTheDocument)
{
    doc->document().markSaved();
    const QImage before = canvas().image();
    CanvasMouse(doc).click({30, 30});
    quick("Hquickqueding");
    EXPECT_EQ(canvas().image(), before);
    EXPECT_TRUE(doc->document().isModified());
}

TEST_F(TextTool, TheQuickMenuCutsCopiesAndPastesThroughTheClipboard)
{
    QClipboard *clip = QGuiApplication::clipboard();
    clip->setText(QStringLiteral("kept"));
    type({10, 10}, QStringLiteral("你好世界"));
    quick("Hquickmnucopy"); // nothing selected: the clipboard keeps its text
    EXPECT_EQ(clip->text(), "kept");
    box()->setSelection(0, 2);
    quick("Hquickmnucut");
    EXPECT_EQ(clip->text(), "你好");
    EXPECT_EQ(box()->text(), "世界");
    quick("Hquickmnuselall");
    EXPECT_EQ(box()->selectedText(), "世界");
    quick("Hquickmnucopy");
    quick("Hquickmnupast");
    EXPECT_EQ(box()->text(), "世界");
    box()->setCursorPosition(0);
    quick("Hquickmnupast");
    EXPECT_EQ(box()->text(), "世界世界");
    EXPECT_EQ(box()->widthTwips(), labelWidth(doc->view()->textMeasure()) + 50);
    clip->clear();
    quick("Hquickmnupast");
    EXPECT_EQ(box()->text(), "世界世界");
}

TEST_F(TextTool, PasteFromReadsByTheChosenFilterEntry)
{
    QTemporaryDir dir;
    auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    const QString gbk = write("gbk.txt", "\xd6\xd0\xce\xc4");
    const QString rtf = write("doc.dat", "{\\rtf1\\ansi\\ansicpg936 \\'c4\\'e3\\'ba\\'c3\\par}");
    type({10, 10}, QStringLiteral("x"));
    auto pasteFrom = [&](const QString &file, int filter) {
        script.fileAnswers.push_back(file);
        script.filterAnswers.push_back(filter);
        quick("Hquickmnupastfrom");
    };
    pasteFrom(gbk, 1);
    EXPECT_EQ(box()->text(), "中文");
    const ShownDialog open = script.shown.last();
    EXPECT_EQ(open.kind, "open");
    EXPECT_EQ(open.title, "打开");
    EXPECT_EQ(open.text, textFileFilter());
    pasteFrom(rtf, 3);
    EXPECT_EQ(box()->text(), "你好");
    pasteFrom(rtf, 1);
    EXPECT_TRUE(box()->text().startsWith("{\\rtf1"));

    // Missing, a folder: the not-found question; Retry tries again.
    const qsizetype shown = script.shown.size();
    script.messageAnswers = {Answer::Retry, Answer::Cancel};
    script.onShow = [&](const ShownDialog &d) {
        if (d.kind == "message" && script.shown.size() == shown + 2)
            write("late.txt", "later");
    };
    pasteFrom(dir.filePath("late.txt"), 1);
    EXPECT_EQ(box()->text(), "later");
    EXPECT_EQ(lastMessage().text, notFoundMessage(doc->caption()));
    EXPECT_EQ(lastMessage().style, (MessageStyle{Buttons::RetryCancel, Icon::Exclamation}));
    EXPECT_EQ(lastMessage().title, dir.filePath("late.txt"));
    script.onShow = nullptr;
    pasteFrom(dir.path(), 1);
    EXPECT_EQ(lastMessage().text, notFoundMessage(doc->caption()));

    // Too long, not rich text, cancelled: the box keeps its text.
    const QString big = write("big.txt", "x");
    ASSERT_EQ(::truncate(QFile::encodeName(big).constData(), MaxTextFileBytes + 1), 0);
    pasteFrom(big, 1);
    EXPECT_EQ(lastMessage().text, "\r       文件过长！");
    EXPECT_EQ(lastMessage().title, "Quor 画图 - Quor 开发组");
    pasteFrom(write("long.txt", QByteArray(40000, 'x')), 1);
    EXPECT_EQ(lastMessage().text, "\r       文件过长！");
    pasteFrom(gbk, 2);
    EXPECT_TRUE(lastMessage().text.startsWith("\r    "));
    const qsizetype messages = script.shown.size();
    script.fileAnswers.push_back(QString());
    quick("Hquickmnupastfrom");
    EXPECT_EQ(script.shown.size(), messages + 1); // the dialog only
    EXPECT_EQ(box()->text(), "later");
}

// Lines of a file show as lines in the box, as the commit will print them.
TEST_F(TextTool, PastedLinesShowAsLines)
{
    QTemporaryDir dir;
    QFile f(dir.filePath("two.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("first\r\nsecond");
    f.close();
    type({10, 10}, QStringLiteral("x"));
    script.fileAnswers.push_back(f.fileName());
    script.filterAnswers.push_back(1);
    quick("Hquickmnupastfrom");
    ASSERT_EQ(box()->text(), "first\nsecond");
    EXPECT_EQ(box()->heightTwips(), labelHeight(doc->view()->textMeasure()) + 50);
    box()->clearFocus();
    const QImage shown = box()->grab().toImage();
    const int line = box()->fontMetrics().height();
    auto inkIn = [&](int top) {
        for (int y = top; y < top + line; ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (qGray(shown.pixel(x, y)) < 128)
                    return true;
        return false;
    };
    EXPECT_TRUE(inkIn(0));
    EXPECT_TRUE(inkIn(line));
}

TEST_F(TextTool, FontReachesLabelBoxCanvasAndSelection)
{
    type({10, 10}, QStringLiteral("字体"));
    box()->setCursorPosition(1);
    QFont f(QStringLiteral("WenQuanYi Micro Hei"));
    f.setPointSize(30);
    f.setItalic(true);
    f.setUnderline(true);
    script.fontAnswers = {f, std::nullopt};
    QTest::keyClick(main.get(), Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(script.shown.last().title, "字体...");
    for (const QFont &font : {doc->view()->textMeasure()->font(), box()->font(), canvas().font(),
                              doc->document().selection().font()}) {
        EXPECT_EQ(font.family(), "WenQuanYi Micro Hei");
        EXPECT_EQ(font.pointSize(), 30);
        EXPECT_TRUE(font.italic() && font.underline() && !font.bold() && !font.strikeOut());
    }
    EXPECT_EQ(box()->widthTwips(), labelWidth(doc->view()->textMeasure()) + 50);
    EXPECT_EQ(box()->cursorPosition(), 1);
    quick("Hquickmnufont"); // cancelled: nothing changes
    QFont nameless;
    nameless.setFamilies({});
    nameless.setFamily(QString());
    nameless.setPointSize(8);
    script.fontAnswers = {nameless};
    quick("Hquickmnufont"); // no name: nothing changes either
    EXPECT_EQ(canvas().font().pointSize(), 30);
    EXPECT_EQ(box()->font().pointSize(), 30);
    EXPECT_EQ(lastMessage().kind, "");

    // Chinese glyphs render, each its own (no missing-glyph boxes).
    const QImage one = commit({10, 60}, QStringLiteral("中"));
    const QImage other = commit({100, 60}, QStringLiteral("文"));
    EXPECT_GT(std::count_if(one.bits(), one.bits() + one.sizeInBytes(), [](uchar b) { return b < 128; }), 50);
    EXPECT_NE(one, other);
}

TEST_F(TextTool, TheQuickMenuOpensAtThePointerOnAScrolledCanvas)
{
    doc->document().resizeCanvas(2000 * 15, 2000 * 15);
    doc->view()->updateScrollRanges();
    doc->view()->horizontalScrollBar()->setValue(7);
    doc->view()->verticalScrollBar()->setValue(5);
    type({300, 300}, QStringLiteral("x"));
    QTest::mouseClick(box()->viewport(), Qt::RightButton, {}, QPoint(4, 2));
    EXPECT_EQ(main->textBoxMenu()->pos(), box()->mapToGlobal(QPoint(4, 2)));
    main->textBoxMenu()->hide();
}
