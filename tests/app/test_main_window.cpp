#include "program_fixture.h"

#include "app/placement.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

using namespace quor;

TEST_F(ProgramTest, StartsWithOneEmptyDocumentAndTheDefaultChecks)
{
    EXPECT_EQ(state().hArrangeMode, 4);
    EXPECT_EQ(state().settings.hTool, 1);
    EXPECT_EQ(state().hEditCount, 1);
    EXPECT_EQ(state().hNewCount, 1);
    ASSERT_NE(active(), nullptr);
    EXPECT_EQ(active()->caption(), "New Quor1");
    EXPECT_EQ(active()->Tag(), "1");
    EXPECT_FALSE(active()->document().DataChanged);
    EXPECT_TRUE(main->action("mnudrawvbcopypen")->isChecked());
    EXPECT_TRUE(main->action("mnuvbsrccopy")->isChecked());
    EXPECT_EQ(active()->HpastestyleText()->text(), "13369376");
    EXPECT_EQ(canvas().drawMode(), 13);
    EXPECT_EQ(main->windowTitle(), "Quor 画图");
    // First start: the default placement, 6500 twips square.
    EXPECT_EQ(main->geometry(), QRect(66, 66, 433, 433));
}

TEST_F(ProgramTest, MenuBarHoldsTheSixMenusAndBrowseButNeverTheQuickMenu)
{
    QStringList titles;
    for (QAction *a : main->menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, QStringList({"文件(&F)", "编辑(&E)", "效果(&V)", "选项(&D)", "视窗(&W)",
                                   "浏览(&L)", "帮助(&H)"}));
    ASSERT_NE(main->mnuquick1(), nullptr);
    EXPECT_EQ(main->mnuquick1()->actions().size(), 13);

    QStringList file;
    for (QAction *a : main->findChild<QMenu *>("mnuFile")->actions())
        file << (a->isSeparator() ? "-" : a->text() + " " + a->shortcut().toString());
    EXPECT_EQ(file, QStringList({"新建 F1", "打开... F2", "-", "关闭 F7", "全部关闭 ", "-",
                                 "保存 F3", "另存为... F4", "导出... Ctrl+E", "全部保存... ", "-",
                                 "属性... F5", "-",
                                 "页面设置... Ctrl+Y", "打印... F6", "-", "退出 Ctrl+Q"}));
    EXPECT_EQ(main->action("mnuHelpContents")->shortcut(), QKeySequence("Ctrl+Shift+F11"));
    EXPECT_EQ(main->action("mnuQuorToolbar")->shortcut(), QKeySequence("Shift+F11"));
    EXPECT_EQ(main->findChild<QMenu *>("mnudrawmod")->actions().size(), 18);
    EXPECT_EQ(main->findChild<QMenu *>("mnupastestye")->actions().size(), 11);
}

TEST_F(ProgramTest, DrawModeEntriesCheckOneAndTheFirstCheckedInTestOrderRules)
{
    main->action("mnudrawvbxorpen")->trigger();
    EXPECT_TRUE(main->action("mnudrawvbxorpen")->isChecked());
    EXPECT_FALSE(main->action("mnudrawvbcopypen")->isChecked());
    EXPECT_EQ(canvas().drawMode(), 7);
    EXPECT_EQ(state().settings.drawMode, 7);

    // Checked by other means, the test order (not the menu order) decides.
    main->action("mnudrawvbwhiteness")->setChecked(true);
    main->action("mnudrawvbnotmergepen")->setChecked(true);
    EXPECT_EQ(state().settings.drawMode, 2);

    for (QAction *a : main->findChild<QMenu *>("mnudrawmod")->actions())
        a->setChecked(false);
    EXPECT_EQ(state().settings.drawMode, 13);

    main->action("mnuvbsrcinvert")->trigger();
    EXPECT_EQ(active()->HpastestyleText()->text(), "6684742");
    main->action("mnuvbsrcinvert")->setChecked(false);
    EXPECT_EQ(state().settings.pasteRasterOp, 0xCC0020u);
}

TEST_F(ProgramTest, ModeEntriesDoNothingWithoutADocument)
{
    active()->closeDocument();
    ASSERT_EQ(state().hEditCount, 0);
    main->action("mnudrawvbblackness")->trigger();
    EXPECT_TRUE(main->action("mnudrawvbcopypen")->isChecked());
    EXPECT_FALSE(main->action("mnudrawvbblackness")->isChecked());
}

TEST_F(ProgramTest, PlacementSurvivesARestartButNotAMinimisedClose)
{
    main->setGeometry(100, 120, 600, 500);
    main->close();
    const Placement p = readPlacement();
    EXPECT_EQ(p.left, 1500);
    EXPECT_EQ(p.top, 1800);
    EXPECT_EQ(p.width, 9000);
    EXPECT_EQ(p.height, 7500);

    main = std::make_unique<frmQuorMain>();
    EXPECT_EQ(main->geometry(), QRect(100, 120, 600, 500));
    main->show();
    main->setGeometry(10, 10, 300, 300);
    main->showMinimized();
    main->MDIForm_Unload();
    EXPECT_EQ(readPlacement().width, 9000);
}

TEST_F(ProgramTest, PlacementIsReadFromTheUsersConfigFolder)
{
    main.reset();
    const QString dir = qEnvironmentVariable("XDG_CONFIG_HOME") + "/quor";
    QDir().mkpath(dir);
    QFile f(dir + "/quor.conf");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Settings]\nMainLeft=300\nMainTop=450\nMainWidth=15000\nMainHeight=9000\n");
    f.close();
    main = std::make_unique<frmQuorMain>();
    EXPECT_EQ(main->geometry(), QRect(20, 30, 1000, 600));
}

TEST_F(ProgramTest, ARefusedDocumentKeepsTheProgramRunning)
{
    active()->document().DataChanged = true;
    script.messageAnswers = {mb::Cancel};
    EXPECT_FALSE(main->close());
    EXPECT_EQ(state().hEditCount, 1);

    script.messageAnswers = {mb::No};
    EXPECT_TRUE(main->close());
    EXPECT_EQ(state().hEditCount, 0);
}

TEST_F(ProgramTest, WindowMenuArrangesOnlyWithADocumentAndMaximiseIsAFixedRectangle)
{
    main->mnuWindowCascade_Click();
    EXPECT_EQ(state().hArrangeMode, 0);
    main->mnuFileNew_Click();
    main->mnuWindowTileHorizontal_Click();
    EXPECT_EQ(state().hArrangeMode, 2);
    const auto subs = main->mdiArea()->subWindowList();
    ASSERT_EQ(subs.size(), 2);
    EXPECT_EQ(subs[0]->height(), subs[1]->height());
    EXPECT_EQ(subs[0]->y(), subs[1]->y());
    EXPECT_NE(subs[0]->x(), subs[1]->x());

    main->mnuWindowmax_Click();
    EXPECT_EQ(state().hArrangeMode, 4);
    QMdiSubWindow *sub = main->mdiArea()->activeSubWindow();
    EXPECT_EQ(sub->geometry(), QRect(66, 1, 726, 430));

    while (state().hEditCount > 0)
        state().hEditForms(1)->closeDocument();
    main->mnuWindowTileVertical_Click();
    EXPECT_EQ(state().hArrangeMode, 4);
}

TEST_F(ProgramTest, HelpAndAboutTexts)
{
    main->mnuHelpContents_Click();
    EXPECT_EQ(lastMessage().text, "无法显示帮助目录，没有相关联的帮助。");
    EXPECT_EQ(lastMessage().buttons, mb::Information);
    main->mnuHelpAbout_Click();
    EXPECT_EQ(lastMessage().title, "Quor 画图");
    EXPECT_EQ(lastMessage().text,
              "\r产品名称：  Quor 画图\r\r版本：      1.0\r\r创作人：    Quor 开发组");
}

TEST_F(ProgramTest, ClosingTheLastDocumentDisablesDocumentCommandsAndNewEnablesThem)
{
    active()->closeDocument();
    EXPECT_EQ(state().hActiveEdit, nullptr);
    EXPECT_FALSE(main->action("mnuFileSave")->isEnabled());
    EXPECT_FALSE(main->findChild<QMenu *>("mnuedit")->menuAction()->isEnabled());
    EXPECT_TRUE(main->action("mnuFileNew")->isEnabled());
    EXPECT_TRUE(main->action("mnuFileExit")->isEnabled());
    main->mnuFileNew_Click();
    EXPECT_TRUE(main->action("mnuFileSave")->isEnabled());
    EXPECT_EQ(active()->caption(), "New Quor2");
}
