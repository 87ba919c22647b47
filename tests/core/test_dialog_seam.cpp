#include "core/dialog_seam.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace quor;

class DialogSeam : public ::testing::Test
{
protected:
    void SetUp() override { setDialogScript(&script); }
    void TearDown() override { setDialogScript(nullptr); }
    DialogScript script;
    CommonDialog dlg{nullptr};
};

TEST_F(DialogSeam, MessagesAreRecordedAndAnsweredFromTheQueue)
{
    script.messageAnswers = {mb::No};
    EXPECT_EQ(msgBox(nullptr, "\r  问  \r", mb::YesNoCancel, "标题"), mb::No);
    ASSERT_EQ(script.shown.size(), 1);
    EXPECT_EQ(script.shown[0].kind, "message");
    EXPECT_EQ(script.shown[0].title, "标题");
    EXPECT_EQ(script.shown[0].text, "\r  问  \r");
    // An unexpected box is answered as if closed, and counted.
    EXPECT_EQ(msgBox(nullptr, "x", mb::RetryCancel + mb::Exclamation, "t"), mb::Cancel);
    EXPECT_EQ(msgBox(nullptr, "x", mb::OkOnly, "t"), mb::Ok);
    EXPECT_EQ(script.unanswered, 2);
}

TEST_F(DialogSeam, CancelledDialogsReportError32755AndLeaveNoName)
{
    dlg.FileName = "New Quor1";
    try {
        dlg.ShowSave();
        FAIL() << "no error";
    } catch (const QuorError &e) {
        EXPECT_EQ(e.number, err::DialogCancelled);
    }
    EXPECT_TRUE(dlg.FileName.isEmpty());
    EXPECT_EQ(script.shown[0].fileName, "New Quor1");

    dlg.CancelError = false;
    EXPECT_NO_THROW(dlg.ShowOpen());
    script.colourAnswers = {{false, {}}};
    dlg.CancelError = true;
    EXPECT_THROW(dlg.ShowColor(), QuorError);
    script.printAnswers = {false, true};
    EXPECT_THROW(dlg.ShowPageSetup(), QuorError);
    EXPECT_NO_THROW(dlg.ShowPrinter());
}

TEST_F(DialogSeam, AnsweredDialogsHandBackTheirChoice)
{
    script.fileAnswers = {"/tmp/a.bmp"};
    dlg.ShowOpen();
    EXPECT_EQ(dlg.FileName, "/tmp/a.bmp");
    script.colourAnswers = {{true, QColor(1, 2, 3)}};
    dlg.ShowColor();
    EXPECT_EQ(dlg.Color, QColor(1, 2, 3));
    dlg.reset();
    EXPECT_TRUE(dlg.FileName.isEmpty());
    EXPECT_TRUE(dlg.CancelError);
}

TEST(DialogText, PaddedMessagesAndFiltersKeepTheirExactText)
{
    EXPECT_EQ(paddedMessage("文件只读！", 3), "\r   文件只读！   \r");
    const QStringList f = qtNameFilters("BMP (*.BMP)|*.bmp|JPG (*.JPG;*.JPE;*.JPEG)|*.jpg;*.jpe;*.jpeg");
    ASSERT_EQ(f.size(), 2);
    EXPECT_EQ(f[0], "BMP (*.BMP) (*.[bB][mM][pP])");
    EXPECT_EQ(f[1], "JPG (*.JPG;*.JPE;*.JPEG) (*.[jJ][pP][gG] *.[jJ][pP][eE] *.[jJ][pP][eE][gG])");
    // Qt shows what stands before the last parenthesised group.
    EXPECT_EQ(f[0].left(f[0].lastIndexOf(" (")), "BMP (*.BMP)");
    EXPECT_EQ(qtNameFilters("所有文件(*.*)|*.*"), QStringList{"所有文件(*.*) (*)"});
}
