// The history on the document alone: a step is what one guard saw, the
// saved flag follows undo back to the saved picture, the budget drops the
// oldest steps, and each picture command is one step on the canvas or on
// the floating picture.
#include "document/model/document.h"
#include "document/model/history.h"
#include "document/model/picture_commands.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

using namespace quor;

namespace {

class HistoryOnTheModel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        doc.resizeCanvas(4500, 3000); // 300 x 200
        doc.rebase();
    }
    // A red line down the canvas at x, one step.
    void line(double x)
    {
        const Document::Step step(doc);
        doc.canvas().line(x, 0, x, 2985, 0xff0000, LineKind::Segment);
        doc.markChanged();
    }
    QImage picture() const { return doc.canvas().image(); }
    Document doc;
};

QImage turnedRight(const QImage &img)
{
    return img.transformed(QTransform().rotate(90));
}

} // namespace

TEST_F(HistoryOnTheModel, StepsNestAndUndoingToTheSavedPictureClearsTheChangedFlag)
{
    line(150);
    doc.markSaved();
    {
        const Document::Step outer(doc);
        line(300);
        line(450); // inside the outer step: one step in all
    }
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(doc.history().size(), 2);
    doc.undo();
    EXPECT_FALSE(doc.isModified()) << "back at the saved picture";
    doc.undo();
    EXPECT_TRUE(doc.isModified()) << "before the saved picture";
    doc.redo();
    EXPECT_FALSE(doc.isModified());
    doc.redo();
    EXPECT_TRUE(doc.isModified());
}

TEST_F(HistoryOnTheModel, TheBudgetDropsTheOldestStepsButNeverTheNewest)
{
    const std::size_t budget = History::budget();
    line(75);
    const std::size_t oneLine = History::totalBytes();
    ASSERT_GT(oneLine, 0u);
    History::setBudget(oneLine * 5 / 2);
    const QImage afterFirst = picture();
    for (int i = 1; i < 6; ++i)
        line(75 + 150 * i);
    EXPECT_LE(History::totalBytes(), oneLine * 5 / 2);
    EXPECT_EQ(doc.history().size(), 2) << "the oldest steps went first";
    doc.undo();
    doc.undo();
    EXPECT_FALSE(doc.canUndo());
    EXPECT_NE(picture(), afterFirst) << "the newest steps stayed";
    // A step larger than the whole budget is still undoable once.
    History::setBudget(1);
    const QImage before = picture();
    {
        const Document::Step step(doc);
        doc.canvas().line(0, 0, 4485, 2985, 0x00ff00, LineKind::BoxFilled);
        doc.markChanged();
    }
    EXPECT_EQ(doc.history().size(), 1);
    doc.undo();
    EXPECT_EQ(picture(), before);
    History::setBudget(budget);
}

TEST_F(HistoryOnTheModel, PictureCommandsAreOneStepOnTheCanvasOrTheFloatingPicture)
{
    line(150);
    const QImage drawn = picture();
    // The whole canvas turned: the size follows, and undo brings it back.
    ASSERT_TRUE(commands::transformPicture(doc, &turnedRight));
    EXPECT_EQ(picture(), turnedRight(drawn));
    EXPECT_EQ(doc.canvas().scaleWidth(), 3000);
    doc.undo();
    EXPECT_EQ(picture(), drawn);
    EXPECT_EQ(doc.canvas().scaleWidth(), 4500);

    // Lifted, the floating picture is what turns; the canvas stays.
    doc.liftSelection({1500, 0, 1500, 1500});
    const QImage lifted = doc.selection().image();
    ASSERT_TRUE(commands::transformPicture(doc, &turnedRight));
    EXPECT_EQ(doc.selection().image(), turnedRight(lifted));
    EXPECT_EQ(picture(), drawn);
    doc.undo();
    EXPECT_EQ(doc.selection().image(), lifted);
    doc.redo();

    // Crop puts the picture down and keeps its place only, in one step.
    ASSERT_EQ(commands::cropToSelection(doc), commands::CropResult::Cropped);
    EXPECT_EQ(picture().size(), QSize(100, 100));
    doc.undo();
    EXPECT_EQ(picture(), drawn);
    EXPECT_TRUE(doc.hasFloatingSelection());

    // No picture from the operation: nothing changes, nothing to undo.
    const qsizetype steps = doc.history().size();
    EXPECT_FALSE(commands::transformPicture(doc, [](const QImage &) { return QImage(); }));
    EXPECT_EQ(doc.history().size(), steps);
    // While a run goes on there is nothing to undo.
    {
        const Document::Run run(doc);
        EXPECT_FALSE(doc.canUndo());
    }
    EXPECT_TRUE(doc.canUndo());
}
