#include "document/dialog_seam.h"

#include <QPrinter>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace quor;

class DialogSeam : public ::testing::Test
{
protected:
    void SetUp() override { setDialogScript(&script); }
    void TearDown() override { setDialogScript(nullptr); }
    DialogScript script;
};

TEST_F(DialogSeam, MessagesAreRecordedAndAnsweredFromTheQueue)
{
    script.messageAnswers = {Answer::No};
    EXPECT_EQ(ask(nullptr, "\r  问  \r", "标题", Buttons::YesNoCancel), Answer::No);
    ASSERT_EQ(script.shown.size(), 1);
    EXPECT_EQ(script.shown[0].kind, "message");
    EXPECT_EQ(script.shown[0].title, "标题");
    EXPECT_EQ(script.shown[0].text, "\r  问  \r");
    // An unexpected box is answered as if closed, and counted.
    EXPECT_EQ(ask(nullptr, "x", "t", Buttons::RetryCancel, Icon::Exclamation), Answer::Cancel);
    EXPECT_EQ(ask(nullptr, "x", "t", Buttons::Ok), Answer::Ok);
    EXPECT_EQ(script.unanswered, 2);
    // Without Cancel or a single button, Abort, else No.
    EXPECT_EQ(escapeAnswer(Buttons::AbortRetryIgnore), Answer::Abort);
    EXPECT_EQ(escapeAnswer(Buttons::YesNo), Answer::No);
    EXPECT_EQ(escapeAnswer(Buttons::YesNoCancel), Answer::Cancel);
}

TEST_F(DialogSeam, CancelledDialogsGiveNothing)
{
    FileDialogRequest request;
    request.fileName = "New Quor1";
    EXPECT_EQ(askSaveFile(nullptr, request), std::nullopt);
    EXPECT_EQ(script.shown[0].fileName, "New Quor1");

    script.fileAnswers = {QString()}; // an empty name cancels too
    EXPECT_EQ(askOpenFile(nullptr, request), std::nullopt);
    script.colourAnswers = {std::nullopt};
    EXPECT_EQ(askColour(nullptr, "t", {}), std::nullopt);
    QPrinter printer;
    script.printAnswers = {false, true};
    EXPECT_FALSE(askPageSetup(nullptr, "t", printer));
    EXPECT_TRUE(askPrint(nullptr, "t", {}, printer));
}

TEST_F(DialogSeam, AnsweredDialogsHandBackTheirChoice)
{
    script.fileAnswers = {"/tmp/a.bmp"};
    const std::optional<FileChoice> file = askOpenFile(nullptr, {});
    ASSERT_TRUE(file);
    EXPECT_EQ(file->fileName, "/tmp/a.bmp");
    script.colourAnswers = {QColor(1, 2, 3)};
    EXPECT_EQ(askColour(nullptr, "t", {}), QColor(1, 2, 3));
    // The colour dialog opens next on the colour chosen, until a file
    // dialog starts the dialogs afresh.
    EXPECT_EQ(colourDialogStart(), QColor(1, 2, 3));
    askSaveFile(nullptr, {});
    EXPECT_FALSE(colourDialogStart().isValid());
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
