// Printing: where a picture lands on the page, and Print and Page setup
// writing real PDF files that poppler reads back.
#include "program_fixture.h"

#include "files/print_layout.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>

using namespace quor;

namespace {

TEST(PrintPlacement, NaturalSizeAtNinetySixPixelsToAnInchFromTheCorner)
{
    // 96 dpi: one device unit a pixel; 600 dpi: 6.25 units a pixel.
    EXPECT_EQ(printPlacement({200, 100}, QRectF(0, 0, 700, 1000), 96, 96), QRectF(0, 0, 200, 100));
    EXPECT_EQ(printPlacement({200, 100}, QRectF(0, 0, 5000, 7000), 600, 600),
              QRectF(0, 0, 1250, 625));
    // Unequal resolutions scale each side by its own.
    EXPECT_EQ(printPlacement({96, 96}, QRectF(0, 0, 5000, 7000), 300, 600),
              QRectF(0, 0, 300, 600));
    // A printable area that starts inside the paper.
    EXPECT_EQ(printPlacement({10, 20}, QRectF(37.5, 40, 700, 1000), 96, 96),
              QRectF(37.5, 40, 10, 20));
    // Exactly fitting is not shrunk.
    EXPECT_EQ(printPlacement({700, 1000}, QRectF(0, 0, 700, 1000), 96, 96),
              QRectF(0, 0, 700, 1000));
}

TEST(PrintPlacement, TooLargeShrinksToFitKeepingTheAspect)
{
    // Too wide: the width decides.
    EXPECT_EQ(printPlacement({1400, 100}, QRectF(5, 5, 700, 1000), 96, 96), QRectF(5, 5, 700, 50));
    // Too tall: the height decides.
    EXPECT_EQ(printPlacement({100, 2000}, QRectF(0, 0, 700, 1000), 96, 96), QRectF(0, 0, 50, 1000));
    // Too large both ways: the tighter side decides.
    const QRectF both = printPlacement({3000, 2000}, QRectF(0, 0, 600, 1000), 192, 192);
    EXPECT_DOUBLE_EQ(both.width(), 600);
    EXPECT_DOUBLE_EQ(both.height(), 400);
}

TEST(PrintPlacement, NothingToPrintOrNowhereGivesAnEmptyRectangle)
{
    EXPECT_TRUE(printPlacement({0, 100}, QRectF(0, 0, 700, 1000), 96, 96).isEmpty());
    EXPECT_TRUE(printPlacement({100, 100}, QRectF(0, 0, 0, 1000), 96, 96).isEmpty());
    EXPECT_TRUE(printPlacement({100, 100}, QRectF(0, 0, 700, 1000), 0, 96).isEmpty());
    EXPECT_TRUE(printPlacement({100, 100}, QRectF(0, 0, 700, 1000), std::nan(""), 96).isEmpty());
}

// Runs a poppler tool; its standard output.
QString runTool(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed (poppler-utils, see scripts/setup.sh): "
                      << p.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The one page of a PDF as the screen would show it.
QImage renderPage(const QString &pdf)
{
    const QString prefix = QFileInfo(pdf).absolutePath() + "/page";
    runTool("pdftoppm", {"-r", "96", "-png", "-singlefile", pdf, prefix});
    return QImage(prefix + ".png").convertToFormat(QImage::Format_RGB32);
}

// A pdfinfo field ("Pages", "Title", "Page size").
QString pdfInfo(const QString &pdf, const QString &field)
{
    const QRegularExpression re("^" + QRegularExpression::escape(field) + ":\\s*(.*)$",
                                QRegularExpression::MultilineOption);
    return re.match(runTool("pdfinfo", {pdf})).captured(1).trimmed();
}

// Bounding box of the pixels that are not near white.
QRect inkBox(const QImage &img)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            if (qRed(c) < 230 || qGreen(c) < 230 || qBlue(c) < 230)
                box |= QRect(x, y, 1, 1);
        }
    return box;
}

void expectNear(int actual, double expected, const char *what)
{
    EXPECT_LE(std::abs(actual - expected), 1.0) << what << ": " << actual << " vs " << expected;
}

class PrintTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        pdf = dir.filePath("out.pdf");
        // The user picks "print to file" in the print dialog.
        script.onShow = [this](const ShownDialog &d) {
            if (d.kind == "print") {
                printer().setOutputFormat(QPrinter::PdfFormat);
                printer().setOutputFileName(pdf);
            }
        };
    }

    QPrinter &printer() { return main->printer(); }

    // The printable area's corner on the page rendered at 96 dpi.
    QPointF marginCorner()
    {
        return printer().pageLayout().paintRect(QPageLayout::Point).topLeft() * 96.0 / 72.0;
    }
    double printableWidth()
    {
        return printer().pageLayout().paintRect(QPageLayout::Point).width() * 96.0 / 72.0;
    }

    // A loaded 200 x 100 red picture with a blue box drawn on its lower
    // right quarter.
    void drawSample()
    {
        QImage red(200, 100, QImage::Format_RGB32);
        red.fill(qRgb(255, 0, 0));
        active()->document().loadPicture(red);
        CanvasSurface &c = active()->document().canvas();
        c.setScaleMode(ScaleMode::Pixels);
        c.line(100, 50, 199, 99, Colour(0xff0000), LineKind::BoxFilled);
        c.setScaleMode(ScaleMode::Twips);
    }

    int messages() const
    {
        int n = 0;
        for (const ShownDialog &d : script.shown)
            n += d.kind == "message";
        return n;
    }

    QTemporaryDir dir;
    QString pdf;
};

TEST_F(PrintTest, PrintsTheDrawnCanvasAtNaturalSizeAtTheMarginsCorner)
{
    drawSample();
    active()->document().setFile("/pictures/sample.bmp", {});
    // A fine printer: the picture must still measure 200 x 100 at 96 dpi.
    printer().setResolution(600);
    script.printAnswers = {true};
    main->action("mnuFilePrint")->trigger();

    ASSERT_EQ(script.shown.size(), 1);
    EXPECT_EQ(script.shown[0].kind, "print");
    EXPECT_EQ(script.shown[0].title, "打印");
    EXPECT_EQ(script.shown[0].printOptions,
              PrintOption::NoPageNumbers | PrintOption::OfferSelection);
    ASSERT_TRUE(QFileInfo::exists(pdf));
    EXPECT_EQ(pdfInfo(pdf, "Pages"), "1");
    EXPECT_EQ(pdfInfo(pdf, "Title"), "/pictures/sample.bmp");

    const QImage page = renderPage(pdf);
    ASSERT_FALSE(page.isNull());
    const QRect ink = inkBox(page);
    const QPointF corner = marginCorner();
    expectNear(ink.left(), corner.x(), "left");
    expectNear(ink.top(), corner.y(), "top");
    expectNear(ink.width(), 200, "width");
    expectNear(ink.height(), 100, "height");
    // The loaded picture and what was drawn over it. The reader may stretch
    // by a pixel and blend at colour edges, so compare wherever the canvas
    // is uniform a pixel around; a lossy encoding would still differ there.
    const QImage canvas = active()->document().canvas().image();
    int compared = 0, differing = 0;
    for (int y = 1; y + 1 < canvas.height(); ++y)
        for (int x = 1; x + 1 < canvas.width(); ++x) {
            const QRgb c = canvas.pixel(x, y);
            bool uniform = true;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    uniform = uniform && canvas.pixel(x + dx, y + dy) == c;
            if (!uniform)
                continue;
            ++compared;
            differing += (page.pixel(ink.topLeft() + QPoint(x, y)) & 0xffffff) != (c & 0xffffff);
        }
    EXPECT_GT(compared, 15000);
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(page.pixel(ink.topLeft() + QPoint(150, 75)), qRgb(0, 0, 255)); // the drawing
    EXPECT_EQ(messages(), 0);
}

TEST_F(PrintTest, LandscapeFromPageSetupTurnsTheNextPrintedPage)
{
    drawSample();
    script.onShow = [this, printToFile = script.onShow](const ShownDialog &d) {
        if (d.kind == "pagesetup")
            printer().setPageOrientation(QPageLayout::Landscape);
        printToFile(d);
    };
    script.printAnswers = {true, true};
    main->action("mnuFilePageSetup")->trigger();
    ASSERT_EQ(script.shown.size(), 1);
    EXPECT_EQ(script.shown[0].kind, "pagesetup");
    EXPECT_EQ(script.shown[0].title, "页面设置");
    EXPECT_FALSE(QFileInfo::exists(pdf)); // Page setup prints nothing

    main->action("mnuFilePrint")->trigger();
    const QImage page = renderPage(pdf);
    ASSERT_FALSE(page.isNull());
    EXPECT_GT(page.width(), page.height());
    const QRect ink = inkBox(page);
    const QPointF corner = marginCorner();
    expectNear(ink.left(), corner.x(), "left");
    expectNear(ink.top(), corner.y(), "top");
    expectNear(ink.width(), 200, "width");
    EXPECT_EQ(messages(), 0);
}

TEST_F(PrintTest, PictureWiderThanThePageShrinksToFitWithItsAspect)
{
    // 2000 x 400: five to one, far wider than a portrait page.
    QImage wide(2000, 400, QImage::Format_RGB32);
    wide.fill(qRgb(0, 128, 0));
    active()->document().loadPicture(wide);
    script.printAnswers = {true};
    main->printDocument();

    const QImage page = renderPage(pdf);
    ASSERT_FALSE(page.isNull());
    const QRect ink = inkBox(page);
    const QPointF corner = marginCorner();
    expectNear(ink.left(), corner.x(), "left");
    expectNear(ink.top(), corner.y(), "top");
    // Edges, as the last pixel each covers; partly covered ones may count.
    expectNear(ink.right(), corner.x() + printableWidth() - 1, "right");
    expectNear(ink.bottom(), corner.y() + printableWidth() / 5 - 1, "bottom");
    const QRgb c = page.pixel(ink.center());
    EXPECT_TRUE(qRed(c) < 3 && std::abs(qGreen(c) - 128) < 3 && qBlue(c) < 3) << std::hex << c;
}

TEST_F(PrintTest, CancelInEitherDialogPrintsNothingAndSaysNothing)
{
    drawSample();
    script.printAnswers = {false, false};
    main->printDocument();
    main->pageSetup();
    ASSERT_EQ(script.shown.size(), 2);
    EXPECT_EQ(script.shown[0].kind, "print");
    EXPECT_EQ(script.shown[1].kind, "pagesetup");
    EXPECT_FALSE(QFileInfo::exists(pdf));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(PrintTest, AFileThatCannotBeWrittenGivesTheMessageAndTheNextPrintStillWorks)
{
    drawSample();
    const QString good = pdf;
    pdf = dir.filePath("no such folder/out.pdf");
    script.printAnswers = {true, true};
    main->printDocument();
    ASSERT_EQ(messages(), 1);
    const ShownDialog m = lastMessage();
    EXPECT_TRUE(m.text.startsWith('\r'));
    EXPECT_GT(m.text.size(), 1);
    EXPECT_EQ(m.style, (MessageStyle{Buttons::Ok}));
    EXPECT_EQ(m.title, QCoreApplication::applicationName());

    // The failure leaves the shared printer usable.
    pdf = good;
    main->printDocument();
    EXPECT_EQ(messages(), 1);
    EXPECT_TRUE(QFileInfo::exists(good));
}

TEST_F(PrintTest, NoPrinterAndNoFileIsAnErrorNotASilentSuccess)
{
    // What Qt falls back to when the desktop has no printing system.
    drawSample();
    script.onShow = [this](const ShownDialog &) {
        printer().setOutputFormat(QPrinter::PdfFormat);
        printer().setOutputFileName(QString());
    };
    script.printAnswers = {true};
    main->printDocument();
    EXPECT_EQ(messages(), 1);
    EXPECT_TRUE(lastMessage().text.startsWith('\r'));

    // And the printer can still be given a file afterwards.
    script.onShow = [this](const ShownDialog &) {
        printer().setOutputFormat(QPrinter::PdfFormat);
        printer().setOutputFileName(pdf);
    };
    script.printAnswers = {true};
    main->printDocument();
    EXPECT_EQ(messages(), 1);
    EXPECT_TRUE(QFileInfo::exists(pdf));
}

TEST_F(PrintTest, ToolbarAndShortcutsReachTheCommandsAndNoDocumentDoesNothing)
{
    script.printAnswers = {true};
    main->runToolBarButton("打印");
    ASSERT_EQ(script.shown.size(), 1);
    EXPECT_EQ(script.shown[0].kind, "print");
    EXPECT_TRUE(QFileInfo::exists(pdf));
    EXPECT_EQ(main->action("mnuFilePrint")->shortcut(), QKeySequence("F6"));
    EXPECT_EQ(main->action("mnuFilePageSetup")->shortcut(), QKeySequence("Ctrl+Y"));

    active()->closeDocument();
    ASSERT_EQ(active(), nullptr);
    script.shown.clear();
    main->printDocument();
    main->pageSetup();
    EXPECT_TRUE(script.shown.isEmpty());
}

} // namespace
