#include "program_fixture.h"

#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>

using namespace quor;

namespace {

QString question(const QString &caption)
{
    const int n = std::abs(int(caption.length()) - 22) / 2 + 10;
    return paddedMessage("保存对此文件的更改吗？", n);
}

} // namespace

TEST_F(ProgramTest, AnUnchangedDocumentClosesWithoutAsking)
{
    EXPECT_TRUE(active()->closeDocument());
    EXPECT_TRUE(script.shown.isEmpty());
    EXPECT_EQ(workspace().documentCount(), 0);
}

TEST_F(ProgramTest, YesOnANewDocumentAsksForANameAndCancelKeepsIt)
{
    DocumentWindow *doc = active();
    doc->document().markChanged();
    script.messageAnswers = {Answer::Yes};
    EXPECT_FALSE(doc->closeDocument());

    ASSERT_EQ(script.shown.size(), 2);
    EXPECT_EQ(script.shown[0].title, "New Quor1");
    EXPECT_EQ(script.shown[0].text, question("New Quor1"));
    EXPECT_EQ(script.shown[0].text.count(' '), 2 * 16);
    EXPECT_EQ(script.shown[0].style, (MessageStyle{Buttons::YesNoCancel}));
    EXPECT_EQ(script.shown[1].kind, "save");
    EXPECT_EQ(script.shown[1].title, "保存 New Quor1");
    EXPECT_EQ(script.shown[1].text, "BMP (*.BMP)|*.bmp");
    EXPECT_EQ(script.shown[1].fileName, "New Quor1");
    EXPECT_EQ(workspace().documentCount(), 1);
    EXPECT_TRUE(doc->document().isModified());
}

TEST_F(ProgramTest, NoClosesWithoutSavingAndCancelKeepsTheChanges)
{
    DocumentWindow *doc = active();
    doc->document().markChanged();
    script.messageAnswers = {Answer::Cancel};
    EXPECT_FALSE(doc->closeDocument());
    EXPECT_TRUE(doc->document().isModified());
    script.messageAnswers = {Answer::No};
    EXPECT_TRUE(doc->closeDocument());
    EXPECT_EQ(workspace().documentCount(), 0);
}

TEST_F(ProgramTest, YesSavesTheCanvasAsABitmapAndTakesTheName)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("picture.bmp");
    canvas().line(0, 0, 300, 0, rgbColour(255, 0, 0));
    active()->document().markChanged();
    script.messageAnswers = {Answer::Yes};
    script.fileAnswers = {file};
    EXPECT_TRUE(active()->closeDocument());
    QImage saved(file);
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(saved.pixel(5, 5), qRgb(255, 255, 255));
    EXPECT_EQ(saved.depth(), 32); // read back from 24-bit data
}

TEST_F(ProgramTest, AReadOnlyFileAsksRetryAndRetrySavesOnceWritable)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("old.bmp");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old contents");
    }
    QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadUser);
    active()->document().setFile(file, {});
    active()->document().markChanged();

    // First Cancel: the old file stays exactly as it was.
    script.messageAnswers = {Answer::Yes, Answer::Cancel};
    EXPECT_FALSE(active()->closeDocument());
    EXPECT_EQ(lastMessage().text.trimmed(), "文件只读！");
    EXPECT_EQ(lastMessage().style, (MessageStyle{Buttons::RetryCancel, Icon::Exclamation}));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "old contents");
    f.close();
    EXPECT_TRUE(active()->document().isModified());

    // Then Retry after the mark is cleared.
    script.messageAnswers = {Answer::Yes, Answer::Retry};
    script.onShow = [&](const ShownDialog &d) {
        if (d.text.contains("文件只读"))
            QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    };
    EXPECT_TRUE(active()->closeDocument());
    EXPECT_FALSE(QImage(file).isNull());
}

TEST_F(ProgramTest, AFailedWriteKeepsTheDocumentOpenAndChanged)
{
    active()->document().setFile("/nonexistent-folder/x.bmp", {});
    active()->document().markChanged();
    script.messageAnswers = {Answer::Yes, Answer::Ok};
    EXPECT_FALSE(active()->closeDocument());
    EXPECT_EQ(workspace().documentCount(), 1);
    EXPECT_TRUE(active()->document().isModified());
    EXPECT_TRUE(lastMessage().text.startsWith('\r'));
}

TEST_F(ProgramTest, ClosingDocumentTwoOfFourRenumbersTheRest)
{
    for (int i = 0; i < 3; ++i)
        main->newDocument();
    DocumentWindow *third = workspace().document(3), *fourth = workspace().document(4);
    EXPECT_TRUE(workspace().document(2)->closeDocument());
    EXPECT_EQ(workspace().documentCount(), 3);
    EXPECT_EQ(workspace().document(2), third);
    EXPECT_EQ(workspace().document(3), fourth);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(workspace().numberOf(workspace().document(i)), i);
    EXPECT_EQ(workspace().newDocumentCount, 4);
}

TEST_F(ProgramTest, ActivationPushesPaletteStateOntoTheCanvas)
{
    main->newDocument();
    DocumentWindow *second = active();
    workspace().settings.fillStyle = FillStyle::VerticalLines;
    workspace().settings.lineStyle = LineStyle::Dot;
    main->action("mnudrawvbmaskpen")->setChecked(true);
    workspace().document(1)->activate();
    EXPECT_EQ(active(), workspace().document(1));
    EXPECT_EQ(canvas().fillStyle(), FillStyle::VerticalLines);
    EXPECT_EQ(canvas().lineStyle(), LineStyle::Dot);
    EXPECT_EQ(canvas().drawMode(), DrawMode::MaskPen);
    EXPECT_NE(active(), second);
}

class SelectionKeys : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        doc = active();
        canvas().setBackColor(rgbColour(0, 0, 0));
        QImage sel(2, 2, QImage::Format_RGB32);
        sel.fill(qRgb(255, 255, 255));
        doc->floatPicture(sel, 150, 150);
        doc->gesture().startX = 150;
        doc->gesture().startY = 150;
        doc->document().markSaved();
    }
    void key(int k)
    {
        QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
        QCoreApplication::sendEvent(doc, &e);
    }
    DocumentWindow *doc = nullptr;
};

TEST_F(SelectionKeys, ArrowsNudgeBy15WithoutMovingTheStartPoint)
{
    key(Qt::Key_Right);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_EQ(doc->view()->selectionFrame()->pictureBox()->leftTwips(), 165);
    EXPECT_EQ(doc->view()->selectionFrame()->pictureBox()->topTwips(), 180);
    EXPECT_EQ(doc->gesture().startX, 150);
    EXPECT_EQ(doc->gesture().startY, 150);
    EXPECT_EQ(doc->view()->selectionFrame()->blackFrame()->a(), 165 - 24);
    EXPECT_EQ(doc->view()->selectionFrame()->blackFrame()->c(), 30 + 63);
    EXPECT_FALSE(doc->document().isModified());
}

TEST_F(SelectionKeys, EnterPastesWithThePasteMode)
{
    doc->document().pasteRasterOp = rop::SrcInvert;
    canvas().pset(150, 150, rgbColour(0, 255, 0));
    key(Qt::Key_Return);
    EXPECT_FALSE(doc->document().hasFloatingSelection());
    EXPECT_TRUE(doc->document().isModified());
    EXPECT_FALSE(doc->view()->selectionFrame()->pictureBox()->isVisible());
    EXPECT_EQ(canvas().point(150, 150), rgbColour(255, 0, 255));
    EXPECT_EQ(canvas().point(165, 165), rgbColour(255, 255, 255));
    EXPECT_EQ(canvas().point(180, 180), 0);
}

TEST_F(SelectionKeys, EscapeDropsLeavingTheCanvasAlone)
{
    const QImage before = canvas().image();
    key(Qt::Key_Escape);
    EXPECT_FALSE(doc->document().hasFloatingSelection());
    EXPECT_EQ(canvas().image(), before);
    EXPECT_FALSE(doc->document().isModified());
}

TEST_F(SelectionKeys, KeysWithoutASelectionDoNothing)
{
    doc->document().dropSelection();
    key(Qt::Key_Left);
    key(Qt::Key_Return);
    EXPECT_EQ(doc->view()->selectionFrame()->pictureBox()->leftTwips(), 150);
    EXPECT_FALSE(doc->document().isModified());
}
