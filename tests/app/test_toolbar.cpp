#include "program_fixture.h"

#include <functional>

#include "app/toolbar_icons.h"

#include <QAction>
#include <QDir>
#include <QDockWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSet>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

using namespace quor;

namespace {

QList<QAction *> buttons(MainWindow &w)
{
    QList<QAction *> out;
    for (QAction *a : w.toolBar()->actions())
        if (!a->isSeparator())
            out << a;
    return out;
}

QAction *button(MainWindow &w, const QString &key)
{
    for (QAction *a : buttons(w))
        if (a->property("key").toString() == key)
            return a;
    return nullptr;
}

QImage rendered(const QIcon &icon)
{
    return icon.pixmap(24, 24).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Every picture is there, and no two look the same.
void expectDistinctPictures(const QList<QIcon> &icons)
{
    for (int i = 0; i < icons.size(); ++i) {
        ASSERT_FALSE(icons[i].isNull()) << i;
        const QImage a = rendered(icons[i]);
        // Not blank: some pixel is drawn.
        bool drawn = false;
        for (int y = 0; y < a.height() && !drawn; ++y)
            for (int x = 0; x < a.width() && !drawn; ++x)
                drawn = qAlpha(a.pixel(x, y)) > 0;
        EXPECT_TRUE(drawn) << i;
        for (int j = 0; j < i; ++j)
            EXPECT_NE(a, rendered(icons[j])) << j << " and " << i;
    }
}

} // namespace

TEST_F(ProgramTest, ToolbarHoldsTwentyFourPictureButtonsInEightGroups)
{
    QToolBar *bar = main->toolBar();
    EXPECT_EQ(bar->toolButtonStyle(), Qt::ToolButtonIconOnly);
    const QList<QAction *> items = bar->actions();
    ASSERT_EQ(items.size(), 31);
    int separators = 0;
    for (int i = 0; i < items.size(); ++i) {
        if (!items[i]->isSeparator())
            continue;
        ++separators;
        // Separators only ever stand between two buttons.
        ASSERT_GT(i, 0);
        ASSERT_LT(i, items.size() - 1);
        EXPECT_FALSE(items[i - 1]->isSeparator());
    }
    EXPECT_EQ(separators, 7);

    QSet<QString> keys;
    QList<QIcon> icons;
    for (QAction *a : buttons(*main)) {
        keys << a->property("key").toString();
        EXPECT_FALSE(a->toolTip().isEmpty()) << a->objectName().toStdString();
        icons << a->icon();
    }
    EXPECT_EQ(keys.size(), 24);
    EXPECT_EQ(button(*main, "保存")->toolTip(), "保存图片");
    EXPECT_EQ(button(*main, "浮雕")->toolTip(), "浮雕化图片");
    expectDistinctPictures(icons);
    // Where the desktop theme is installed, its pictures are used.
    if (QDir("/usr/share/icons/Adwaita").exists()) {
        EXPECT_EQ(button(*main, "新建")->icon().name(), "document-new");
        EXPECT_EQ(button(*main, "帮助")->icon().name(), "help-browser");
    }
}

TEST_F(ProgramTest, WithoutAnIconThemeTheButtonsStillShowDistinctPictures)
{
    const QString theme = QIcon::themeName();
    QIcon::setThemeName("no-such-theme");
    QList<QIcon> icons;
    int themed = 0;
    for (QAction *a : buttons(*main)) {
        const QString imageKey = a->objectName().mid(2);
        themed += isThemeIcon(imageKey);
        icons << toolbarIcon(imageKey);
    }
    QIcon::setThemeName(theme);
    EXPECT_GT(themed, 0);
    expectDistinctPictures(icons);
    EXPECT_TRUE(toolbarIcon("nothing").isNull());
}

TEST_F(ProgramTest, LastDocumentGoneDisablesExactlyTheDocumentCommandsAndNewRestoresThem)
{
    const QSet<QString> docMenuItems = {"mnuFileClose", "mnuAllFileClose", "mnuFileSave",
                                        "mnuFileSaveAs", "mnuFileExport", "mnuAllFileSave",
                                        "mnuFileProperties", "mnuFilePageSetup", "mnuFilePrint",
                                        "mnueditAction", "mnuquorAction", "mnuImageAction",
                                        "mnudrawAction", "mnuWindowZoomIn", "mnuWindowZoomOut",
                                        "mnuWindowZoomActual", "mnuToolFill", "mnuToolPicker"};
    // The entries of the Edit, Effects, Image and Options menus follow their menus,
    // so that their shortcuts cannot fire without a picture.
    QSet<QString> entries;
    std::function<void(QMenu *)> collect = [&](QMenu *m) {
        for (QAction *a : m->actions()) {
            entries << a->objectName();
            if (a->menu())
                collect(a->menu());
        }
    };
    for (const char *menu : {"mnuedit", "mnuquor", "mnuImage", "mnudraw"})
        collect(main->findChild<QMenu *>(menu));
    const QSet<QString> alwaysButtons = {"新建", "打开", "帮助"};
    auto expectAll = [&](bool docsEnabled) {
        for (QAction *a : main->findChildren<QAction *>()) {
            const QString name = a->objectName();
            // Hidden entries (unused recent files) are disabled by Qt itself.
            if (a->isSeparator() || !a->isVisible() || !(name.startsWith("mnu") || name == "Hexplor"))
                continue;
            // Undo and redo also need something to undo or redo.
            if (name == "mnuEditUndo" || name == "mnuEditRedo") {
                EXPECT_FALSE(a->isEnabled()) << name.toStdString();
                continue;
            }
            const bool followsDocs = docMenuItems.contains(name) || entries.contains(name);
            EXPECT_EQ(a->isEnabled(), followsDocs ? docsEnabled : true)
                << name.toStdString();
        }
        for (QAction *a : buttons(*main)) {
            const QString key = a->property("key").toString();
            EXPECT_EQ(a->isEnabled(), alwaysButtons.contains(key) ? true : docsEnabled)
                << key.toStdString();
        }
    };
    expectAll(true);
    active()->closeDocument();
    ASSERT_EQ(workspace().documentCount(), 0);
    expectAll(false);

    button(*main, "新建")->trigger();
    EXPECT_EQ(workspace().documentCount(), 1);
    expectAll(true);
}

TEST_F(ProgramTest, ToolbarKeysRunTheirCommands)
{
    QMdiSubWindow *first = main->mdiArea()->activeSubWindow();
    main->runToolBarButton("最大化");
    EXPECT_EQ(first->geometry(), QRect(66, 1, 726, 430));

    main->runToolBarButton("新建");
    EXPECT_EQ(workspace().documentCount(), 2);
    EXPECT_EQ(active()->caption(), "New Quor2");

    main->runToolBarButton("横向排列");
    EXPECT_EQ(workspace().arrangeMode, ArrangeMode::SideBySide);
    main->runToolBarButton("纵向排列");
    EXPECT_EQ(workspace().arrangeMode, ArrangeMode::OneAboveAnother);

    // Clicking the button itself goes through the same dispatch; a
    // disabled button raises nothing.
    auto *cascade = qobject_cast<QToolButton *>(
        main->toolBar()->widgetForAction(button(*main, "层叠")));
    ASSERT_NE(cascade, nullptr);
    button(*main, "层叠")->setEnabled(false);
    cascade->click();
    EXPECT_EQ(workspace().arrangeMode, ArrangeMode::OneAboveAnother);
    button(*main, "层叠")->setEnabled(true);
    cascade->click();
    EXPECT_EQ(workspace().arrangeMode, ArrangeMode::Cascade);

    main->runToolBarButton("帮助");
    EXPECT_EQ(lastMessage().text, "无法显示帮助目录，没有相关联的帮助。");

    // Commands built elsewhere run through their menu entries.
    int saves = 0;
    QObject::connect(main->action("mnuFileSave"), &QAction::triggered, [&saves] { ++saves; });
    button(*main, "保存")->trigger();
    EXPECT_EQ(saves, 1);

    // Keys match whole and exactly; anything else does nothing.
    const auto shown = script.shown.size();
    for (const char *key : {"", "新", "新建 ", "保存图片", "Help", "max"})
        main->runToolBarButton(QString::fromUtf8(key));
    EXPECT_EQ(workspace().documentCount(), 2);
    EXPECT_EQ(workspace().arrangeMode, ArrangeMode::Cascade);
    EXPECT_EQ(script.shown.size(), shown);
    EXPECT_EQ(saves, 1);
}

namespace {

struct Fit
{
    QRect tools, colours;
};

Fit fit(MainWindow &w)
{
    return {w.toolsDock()->geometry(), w.coloursDock()->geometry()};
}

// The colour palette lies on the bottom of the client area over the full
// width; the tool palette runs from the top of the client area down to it.
void expectFitted(MainWindow &w, int gapBelowTools)
{
    const int clientTop = w.toolBar()->isHidden() ? w.menuBar()->geometry().bottom() + 1
                                                    : w.toolBar()->geometry().bottom() + 1;
    const int clientBottom = w.statusBar()->isHidden() ? w.height() : w.statusBar()->y();
    const Fit f = fit(w);
    EXPECT_EQ(f.colours.left(), 0);
    EXPECT_EQ(f.colours.width(), w.width());
    EXPECT_EQ(f.colours.bottom() + 1, clientBottom);
    EXPECT_EQ(f.tools.left(), 0);
    EXPECT_EQ(f.tools.top(), clientTop);
    EXPECT_EQ(f.colours.top() - f.tools.bottom(), gapBelowTools);
}

} // namespace

TEST_F(ProgramTest, BarSwitchesKeepThePalettesFittedAndRestoreThem)
{
    main->resize(800, 600);
    QCoreApplication::processEvents();
    const Fit start = fit(*main);
    const int gap = start.colours.top() - start.tools.bottom();
    EXPECT_GE(gap, 1);
    EXPECT_LT(gap, 12);
    expectFitted(*main, gap);

    QAction *toolbarEntry = main->action("mnuQuorToolbar");
    QAction *statusEntry = main->action("mnuQuorStatusBar");

    main->toggleToolBar();
    EXPECT_FALSE(toolbarEntry->isChecked());
    EXPECT_TRUE(main->toolBar()->isHidden());
    expectFitted(*main, gap);
    EXPECT_LT(fit(*main).tools.top(), start.tools.top());
    EXPECT_EQ(fit(*main).colours, start.colours);

    main->toggleStatusBar();
    EXPECT_FALSE(statusEntry->isChecked());
    EXPECT_TRUE(main->statusBar()->isHidden());
    expectFitted(*main, gap);
    EXPECT_GT(fit(*main).colours.top(), start.colours.top());

    main->toggleToolBar();
    EXPECT_TRUE(toolbarEntry->isChecked());
    EXPECT_FALSE(main->toolBar()->isHidden());
    expectFitted(*main, gap);

    main->toggleStatusBar();
    EXPECT_TRUE(statusEntry->isChecked());
    expectFitted(*main, gap);
    EXPECT_EQ(fit(*main).tools, start.tools);
    EXPECT_EQ(fit(*main).colours, start.colours);
}

TEST_F(ProgramTest, BarSwitchesFromTheMenuMoveTheCheckMarkOnce)
{
    // A click on the checkable entry moves the mark before the handler runs.
    for (const char *name : {"mnuQuorToolbar", "mnuQuorStatusBar"}) {
        QAction *entry = main->action(name);
        QWidget *bar = QLatin1String(name) == QLatin1String("mnuQuorToolbar")
            ? static_cast<QWidget *>(main->toolBar())
            : main->statusBar();
        entry->trigger();
        EXPECT_FALSE(entry->isChecked()) << name;
        EXPECT_TRUE(bar->isHidden()) << name;
        entry->trigger();
        EXPECT_TRUE(entry->isChecked()) << name;
        EXPECT_FALSE(bar->isHidden()) << name;
    }
}
