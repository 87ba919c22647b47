#include "program_fixture.h"

#include "app/placement.h"
#include "files/file_texts.h"
#include "files/picture_browser.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

using namespace quor;

namespace {

// A key where the toolkit sends it: to the open menu, else to the focus.
void typeKey(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget *to = QApplication::activePopupWidget();
    QTest::keyClick(to ? to : QApplication::focusWidget(), k, mods);
}

} // namespace

TEST_F(ProgramTest, StartsWithOneEmptyDocumentAndTheDefaultChecks)
{
    EXPECT_EQ(workspace().arrangeMode, ArrangeMode::Free);
    EXPECT_EQ(workspace().settings.tool, ToolId::Select);
    EXPECT_EQ(workspace().documentCount(), 1);
    EXPECT_EQ(workspace().newDocumentCount, 1);
    ASSERT_NE(active(), nullptr);
    EXPECT_EQ(active()->caption(), "New Quor1");
    EXPECT_EQ(workspace().numberOf(active()), 1);
    EXPECT_FALSE(active()->document().isModified());
    EXPECT_TRUE(main->action("mnudrawvbcopypen")->isChecked());
    EXPECT_TRUE(main->action("mnuvbsrccopy")->isChecked());
    EXPECT_EQ(active()->document().pasteRasterOp, 13369376u);
    EXPECT_EQ(canvas().drawMode(), DrawMode::CopyPen);
    EXPECT_EQ(main->windowTitle(), "Quor 画图");
    // First start: the default placement, 6500 twips square.
    EXPECT_EQ(main->geometry(), QRect(66, 66, 433, 433));
}

TEST_F(ProgramTest, MenuBarHoldsTheSevenMenusAndBrowseButNeverTheQuickMenu)
{
    QStringList titles;
    for (QAction *a : main->menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, QStringList({"文件(&F)", "编辑(&E)", "效果(&V)", "图像(&I)", "选项(&D)",
                                   "视窗(&W)", "浏览(&L)", "帮助(&H)"}));
    ASSERT_NE(main->textBoxMenu(), nullptr);
    EXPECT_EQ(main->textBoxMenu()->actions().size(), 13);

    QStringList file;
    for (QAction *a : main->findChild<QMenu *>("mnuFile")->actions())
        if (a->isVisible()) // the recent files' entries wait hidden
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
    EXPECT_EQ(canvas().drawMode(), DrawMode::XorPen);
    EXPECT_EQ(workspace().settings.drawMode, DrawMode::XorPen);

    // Checked by other means, the test order (not the menu order) decides.
    main->action("mnudrawvbwhiteness")->setChecked(true);
    main->action("mnudrawvbnotmergepen")->setChecked(true);
    EXPECT_EQ(workspace().settings.drawMode, DrawMode::NotMergePen);

    for (QAction *a : main->findChild<QMenu *>("mnudrawmod")->actions())
        a->setChecked(false);
    EXPECT_EQ(workspace().settings.drawMode, DrawMode::CopyPen);

    main->action("mnuvbsrcinvert")->trigger();
    EXPECT_EQ(active()->document().pasteRasterOp, 6684742u);
    main->action("mnuvbsrcinvert")->setChecked(false);
    EXPECT_EQ(workspace().settings.pasteRasterOp, 0xCC0020u);
}

TEST_F(ProgramTest, ModeEntriesDoNothingWithoutADocument)
{
    active()->closeDocument();
    ASSERT_EQ(workspace().documentCount(), 0);
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

    main = std::make_unique<MainWindow>();
    EXPECT_EQ(main->geometry(), QRect(100, 120, 600, 500));
    main->show();
    main->setGeometry(10, 10, 300, 300);
    main->showMinimized();
    main->shutDown();
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
    main = std::make_unique<MainWindow>();
    EXPECT_EQ(main->geometry(), QRect(20, 30, 1000, 600));
}

TEST_F(ProgramTest, ARefusedDocumentKeepsTheProgramRunning)
{
    active()->document().markChanged();
    script.messageAnswers = {Answer::Cancel};
    EXPECT_FALSE(main->close());
    EXPECT_EQ(workspace().documentCount(), 1);

    script.messageAnswers = {Answer::No};
    EXPECT_TRUE(main->close());
    EXPECT_EQ(workspace().documentCount(), 0);
}

TEST_F(ProgramTest, WindowMenuArrangesOnlyWithADocumentAndMaximiseIsAFixedRectangle)
{
    main->cascade();
    EXPECT_EQ(workspace().arrangeMode, ArrangeMode::Cascade);
    main->newDocument();
    main->tileSideBySide();
    EXPECT_EQ(workspace().arrangeMode, ArrangeMode::SideBySide);
    const auto subs = main->mdiArea()->subWindowList();
    ASSERT_EQ(subs.size(), 2);
    EXPECT_EQ(subs[0]->height(), subs[1]->height());
    EXPECT_EQ(subs[0]->y(), subs[1]->y());
    EXPECT_NE(subs[0]->x(), subs[1]->x());

    main->enlargeActiveDocument();
    EXPECT_EQ(workspace().arrangeMode, ArrangeMode::Free);
    QMdiSubWindow *sub = main->mdiArea()->activeSubWindow();
    EXPECT_EQ(sub->geometry(), QRect(66, 1, 726, 430));

    while (workspace().documentCount() > 0)
        workspace().document(1)->closeDocument();
    main->tileOneAboveAnother();
    EXPECT_EQ(workspace().arrangeMode, ArrangeMode::Free);
}

TEST_F(ProgramTest, HelpAndAboutTexts)
{
    main->showHelp();
    EXPECT_EQ(lastMessage().text, "无法显示帮助目录，没有相关联的帮助。");
    EXPECT_EQ(lastMessage().style, (MessageStyle{Buttons::Ok, Icon::Information}));
    main->showAbout();
    EXPECT_EQ(lastMessage().title, "Quor 画图");
    EXPECT_EQ(lastMessage().text,
              "\r产品名称：  Quor 画图\r\r版本：      1.0\r\r创作人：    Quor 开发组");
}

TEST_F(ProgramTest, ClosingTheLastDocumentDisablesDocumentCommandsAndNewEnablesThem)
{
    active()->closeDocument();
    EXPECT_EQ(workspace().activeDocument(), nullptr);
    EXPECT_FALSE(main->action("mnuFileSave")->isEnabled());
    EXPECT_FALSE(main->findChild<QMenu *>("mnuedit")->menuAction()->isEnabled());
    EXPECT_TRUE(main->action("mnuFileNew")->isEnabled());
    EXPECT_TRUE(main->action("mnuFileExit")->isEnabled());
    main->newDocument();
    EXPECT_TRUE(main->action("mnuFileSave")->isEnabled());
    EXPECT_EQ(active()->caption(), "New Quor2");
}

TEST_F(ProgramTest, RecentFilesOutliveARestartAndAVanishedOneLeavesTheList)
{
    QTemporaryDir dir;
    QImage dot(2, 2, QImage::Format_RGB32);
    dot.fill(Qt::green);
    QStringList files;
    for (int i = 1; i <= 9; ++i) {
        files << dir.filePath(QStringLiteral("%1 R&D.png").arg(i));
        dot.save(files.last(), "PNG");
    }
    const QString longName = dir.filePath(QString(70, QLatin1Char('x')) + ".png");
    dot.save(longName, "PNG");
    for (const QString &f : files)
        main->openPictureFile(f);
    // The newest first; the ninth opened pushed the first out.
    auto entries = [this] {
        QStringList texts;
        for (int i = 1; i <= 8; ++i)
            if (QAction *a = main->action(qPrintable(QStringLiteral("mnuFileRecent%1").arg(i))))
                if (a->isVisible())
                    texts << a->text();
        return texts;
    };
    ASSERT_EQ(entries().size(), 8);
    EXPECT_EQ(entries()[0], "&1 " + dir.filePath("9 R&&D.png"));
    EXPECT_EQ(entries()[7], "&8 " + dir.filePath("2 R&&D.png"));
    // Above Exit's separator, after a separator of their own.
    const QList<QAction *> menu = main->findChild<QMenu *>("mnuFile")->actions();
    const qsizetype exitBar = menu.indexOf(main->action("mnuFileBar3"));
    EXPECT_EQ(menu[exitBar - 1], main->action("mnuFileRecent8"));
    EXPECT_TRUE(menu[exitBar - 9]->isSeparator());

    // Saved under another name, a file goes to the top, its name shortened.
    script.fileAnswers = {longName};
    main->saveAs();
    const QString shown = entries()[0];
    EXPECT_LE(shown.size(), 63);
    EXPECT_TRUE(shown.startsWith("&1 " + longName.left(20) + QChar(0x2026))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("xxx.png"));

    main->closeAll();
    main.reset();
    main = std::make_unique<MainWindow>();
    ASSERT_EQ(entries().size(), 8);
    EXPECT_TRUE(entries()[0].startsWith("&1 " + longName.left(20)));
    EXPECT_TRUE(main->action("mnuFileRecent2")->isEnabled());

    // A file that has gone says so, opens nothing and leaves the list.
    QFile::remove(files[8]);
    const int documents = workspace().documentCount();
    main->action("mnuFileRecent2")->trigger();
    EXPECT_EQ(lastMessage().text, notFoundMessage(files[8]));
    EXPECT_EQ(workspace().documentCount(), documents);
    EXPECT_EQ(entries().size(), 7);
    EXPECT_EQ(entries()[1], "&2 " + dir.filePath("8 R&&D.png"));
    main->action("mnuFileRecent2")->trigger();
    EXPECT_EQ(active()->caption(), files[7]);
}

// From a menu the mouse opened, Right and Left walk on past 浏览 (an entry
// opening no menu) and never reach the document; Return there chooses it.
TEST_F(ProgramTest, ArrowsWalkTheMenuBarPastBrowse)
{
    QApplication::setActiveWindow(main.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    main->selectAll();
    const TwipBox place = active()->document().selectionPlace();
    QMenuBar *bar = main->menuBar();
    QMenu *window = main->findChild<QMenu *>("mnuWindow");
    const QRect browse = bar->actionGeometry(main->action("Hexplor"));
    const QImage unlit = bar->grab(browse).toImage();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(window->menuAction()).center());
    typeKey(Qt::Key_Right);
    EXPECT_EQ(bar->activeAction(), main->action("Hexplor"));
    EXPECT_NE(bar->grab(browse).toImage(), unlit) << "shown lit";
    typeKey(Qt::Key_Right);
    EXPECT_EQ(QApplication::activePopupWidget(), main->findChild<QMenu *>("mnuHelp"));
    typeKey(Qt::Key_Left);
    typeKey(Qt::Key_Left);
    EXPECT_EQ(QApplication::activePopupWidget(), window);
    typeKey(Qt::Key_Right);
    EXPECT_TRUE(main->findChildren<PictureBrowser *>().isEmpty()) << "passing by opens nothing";
    typeKey(Qt::Key_Return);
    EXPECT_EQ(main->findChildren<PictureBrowser *>().size(), 1);
    EXPECT_EQ(active()->document().selectionPlace(), place);
}

// A recent file open and unchanged (however its name is spelt) brings its
// window forward; changed, it opens a second time.
TEST_F(ProgramTest, ARecentFileAlreadyOpenComesForwardUnlessChanged)
{
    QTemporaryDir dir;
    QImage dot(2, 2, QImage::Format_RGB32);
    ASSERT_TRUE(dot.save(dir.filePath("a.png")));
    main->openPictureFile(dir.filePath("a.png"));
    DocumentWindow *a = active();
    main->newDocument();
    main->rememberRecentFile(dir.path() + "/./a.png");
    QApplication::setActiveWindow(main.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    const int documents = workspace().documentCount();
    auto chooseFirstRecent = [] {
        typeKey(Qt::Key_F, Qt::AltModifier);
        typeKey(Qt::Key_1);
    };
    chooseFirstRecent();
    EXPECT_EQ(workspace().documentCount(), documents);
    EXPECT_EQ(main->mdiArea()->activeSubWindow()->widget(), a);
    a->document().markChanged();
    main->newDocument();
    chooseFirstRecent();
    EXPECT_EQ(workspace().documentCount(), documents + 2);
    EXPECT_NE(active(), a);
}
