// The toolbar: its buttons and their commands, and the Window-menu switches
// that show or hide the toolbar and the status bar.
#include "app/main_window.h"
#include "app/toolbar_icons.h"
#include "palettes/tool_palette.h"

#include <QAction>
#include <QLayout>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <exception>

namespace quor {

namespace {

using Handler = void (MainWindow::*)();

struct ToolbarRow
{
    int group; // a separator stands between groups
    const char *key;
    const char *tooltip;
    const char *imageKey;
    // The command: the handler where it is a member of the main window,
    // otherwise whatever the menu entry of the same command is connected to.
    const char *menuEntry;
    Handler handler;
};

const ToolbarRow toolbarRows[] = {
    {1, "新建", "新建图片", "New", "mnuFileNew", &MainWindow::newDocument},
    {1, "打开", "打开图片", "Open", "mnuFileOpen", nullptr},
    {1, "保存", "保存图片", "Save", "mnuFileSave", nullptr},
    {1, "打印", "打印图片", "Print", "mnuFilePrint", nullptr},
    {1, "属性", "文件属性", "Properties", "mnuFileProperties", nullptr},
    {2, "复制", "复制", "Copy", "mnuEditCopy", nullptr},
    {2, "粘贴", "粘贴", "Paste", "mnuEditPaste", nullptr},
    {3, "垂直翻转", "垂直翻转图片", "chuizhi", "mnuquorfanzhuan2", nullptr},
    {3, "水平翻转", "水平翻转图片", "shuiping", "mnuquorfanzhuan1", nullptr},
    {3, "对角翻转", "对角翻转图片", "duijiao", "mnuquorfanzhuan3", nullptr},
    {4, "图片字体", "图片字体", "Landscap", "mnufont", nullptr},
    {4, "背景色", "图片背景色", "backcolor", "mnueditbackcolor", nullptr},
    {4, "前景色", "图片前景色", "WORDCOLOR", "mnueditforecolor", nullptr},
    {5, "柔化", "柔化图片", "rouhua", "mnuquorsmooth", nullptr},
    {5, "锐化", "锐化图片", "ruihua", "mnuquorruihua", nullptr},
    {5, "浮雕", "浮雕化图片", "fudiao", "mnuquorfudiao", nullptr},
    {5, "油化", "油化图片", "youhua1", "mnuquoryouhua", nullptr},
    {6, "最大化", "最大化编辑窗口", "max", "mnuWindowmax", &MainWindow::enlargeActiveDocument},
    {6, "横向排列", "横向排列编辑窗口", "heng", "mnuWindowTileHorizontal",
     &MainWindow::tileSideBySide},
    {6, "纵向排列", "纵向排列编辑窗口", "shu", "mnuWindowTileVertical",
     &MainWindow::tileOneAboveAnother},
    {6, "层叠", "层叠编辑窗口", "ceng", "mnuWindowCascade", &MainWindow::cascade},
    {7, "帮助", "帮助", "Help", "mnuHelpContents", &MainWindow::showHelp},
    {8, "填充", "填充 (Ctrl+K)", "Fill", "mnuToolFill", nullptr},
    {8, "取色", "取色 (Ctrl+D)", "Picker", "mnuToolPicker", nullptr},
};

// The toolbar tools' keys, which work with the toolbar hidden as well.
struct ToolKey
{
    const char *name;
    const char *shortcut;
    Handler handler;
};

const ToolKey toolKeys[] = {
    {"mnuToolFill", "Ctrl+K", &MainWindow::chooseFillTool},
    {"mnuToolPicker", "Ctrl+D", &MainWindow::choosePickerTool},
};

// Shows or hides a bar from its Window-menu entry. The bar's own state is
// inverted and the check mark follows it: a click on the checkable entry
// has already moved the mark by the time the handler runs.
void switchBar(QWidget *window, QAction *entry, QWidget *bar)
{
    const bool show = bar->isHidden();
    entry->setChecked(show);
    bar->setVisible(show);
    // The palettes are docked: laying the window out now refits them to the
    // grown or shrunk client area at once.
    if (window->layout())
        window->layout()->activate();
}

} // namespace

void MainWindow::buildToolbar()
{
    ensureIconTheme();
    // The button Qt adds when the window is too narrow for every button.
    if (auto *more = m_toolbar->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("更多工具栏按钮"));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolbar->setIconSize(QSize(24, 24));
    m_toolbar->setFloatable(false);
    // Bars and palettes are shown and hidden from the Window menu only; the
    // main window's own pop-up would hide them behind the menu's back.
    setContextMenuPolicy(Qt::NoContextMenu);

    int group = toolbarRows[0].group;
    for (const ToolbarRow &row : toolbarRows) {
        if (row.group != group) {
            m_toolbar->addSeparator()->setObjectName(QStringLiteral("tbSeparator%1").arg(group));
            group = row.group;
        }
        const QString tip = QString::fromUtf8(row.tooltip);
        QAction *a = m_toolbar->addAction(toolbarIcon(QLatin1String(row.imageKey)), tip);
        a->setObjectName(QStringLiteral("tb") + QLatin1String(row.imageKey));
        a->setToolTip(tip);
        a->setProperty("key", QString::fromUtf8(row.key));
    }
    for (const ToolKey &k : toolKeys) {
        auto *a = new QAction(this);
        a->setObjectName(QLatin1String(k.name));
        a->setShortcut(QKeySequence(QLatin1String(k.shortcut)));
        a->setShortcutContext(Qt::ApplicationShortcut);
        addAction(a);
        connect(a, &QAction::triggered, this, k.handler);
    }
    // A disabled button triggers nothing, so it never reaches the dispatch.
    connect(m_toolbar, &QToolBar::actionTriggered, this,
            [this](QAction *a) { runToolBarButton(a->property("key").toString()); });
}

void MainWindow::runToolBarButton(const QString &key)
{
    for (const ToolbarRow &row : toolbarRows) {
        if (key != QString::fromUtf8(row.key))
            continue;
        try {
            if (row.handler)
                (this->*row.handler)();
            else if (QAction *entry = action(row.menuEntry))
                entry->trigger();
        } catch (const std::exception &) {
            // A toolbar command that fails is ignored, like every step of
            // the toolbar's dispatch.
        }
        return;
    }
}

void MainWindow::chooseFillTool()
{
    if (m_tools)
        m_tools->chooseToolbarTool(ToolId::Fill);
}

void MainWindow::choosePickerTool()
{
    if (m_tools)
        m_tools->chooseToolbarTool(ToolId::Picker);
}

void MainWindow::toggleToolBar()
{
    switchBar(this, action("mnuQuorToolbar"), m_toolbar);
}

void MainWindow::toggleStatusBar()
{
    switchBar(this, action("mnuQuorStatusBar"), statusBar());
}

} // namespace quor
