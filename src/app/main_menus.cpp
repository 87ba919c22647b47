// The main window's menu tree, built from one table.
#include "app/main_window.h"
#include "app/mode_menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace quor {

namespace {

using Handler = void (frmQuorMain::*)();

struct MenuRow
{
    int level;           // 0 top-level menu, 1 entry, 2 entry of a submenu
    const char *name;
    const char *caption; // "-" for a separator
    const char *shortcut;
    Handler handler;     // nullptr: built by a later command set, inert now
};

// Top-level entries with level 0 and a handler are commands of their own.
const MenuRow menuTree[] = {
    {0, "mnuFile", "文件(&F)", nullptr, nullptr},
    {1, "mnuFileNew", "新建", "F1", &frmQuorMain::mnuFileNew_Click},
    {1, "mnuFileOpen", "打开...", "F2", &frmQuorMain::mnuFileOpen_Click},
    {1, "mnuFileBar6", "-", nullptr, nullptr},
    {1, "mnuFileClose", "关闭", "F7", &frmQuorMain::mnuFileClose_Click},
    {1, "mnuAllFileClose", "全部关闭", nullptr, &frmQuorMain::mnuAllFileClose_Click},
    {1, "mnuFileBar0", "-", nullptr, nullptr},
    {1, "mnuFileSave", "保存", "F3", &frmQuorMain::mnuFileSave_Click},
    {1, "mnuFileSaveAs", "另存为...", "F4", &frmQuorMain::mnuFileSaveAs_Click},
    {1, "mnuFileExport", "导出...", "Ctrl+E", &frmQuorMain::mnuFileExport_Click},
    {1, "mnuAllFileSave", "全部保存...", nullptr, &frmQuorMain::mnuAllFileSave_Click},
    {1, "mnuFileBar1", "-", nullptr, nullptr},
    {1, "mnuFileProperties", "属性...", "F5", &frmQuorMain::mnuFileProperties_Click},
    {1, "mnuFileBar2", "-", nullptr, nullptr},
    {1, "mnuFilePageSetup", "页面设置...", "Ctrl+Y", &frmQuorMain::mnuFilePageSetup_Click},
    {1, "mnuFilePrint", "打印...", "F6", &frmQuorMain::mnuFilePrint_Click},
    {1, "mnuFileBar3", "-", nullptr, nullptr},
    {1, "mnuFileExit", "退出", "Ctrl+Q", &frmQuorMain::mnuFileExit_Click},
    {0, "mnuedit", "编辑(&E)", nullptr, nullptr},
    {1, "mnuEditUndo", "撤销", "Alt+Backspace", &frmQuorMain::mnuEditUndo_Click},
    {1, "mnuEditRedo", "重做", "Alt+Shift+Backspace", &frmQuorMain::mnuEditRedo_Click},
    {1, "mnuEditBarUndo", "-", nullptr, nullptr},
    {1, "mnuEditselect", "全选", "Ctrl+A", &frmQuorMain::mnuEditselect_Click},
    {1, "mnuEditBar0", "-", nullptr, nullptr},
    {1, "mnuEditCls", "清空", nullptr, &frmQuorMain::mnuEditCls_Click},
    {1, "mnuEditCopy", "复制", "Ctrl+C", &frmQuorMain::mnuEditCopy_Click},
    {1, "mnuEditPaste", "粘贴", "Ctrl+V", &frmQuorMain::mnuEditPaste_Click},
    {1, "mnueditbar1", "-", nullptr, nullptr},
    {1, "mnuquorfanzhuan1", "水平翻转", "Ctrl+Z", &frmQuorMain::mnuquorfanzhuan1_Click},
    {1, "mnuquorfanzhuan2", "垂直翻转", "Ctrl+X", &frmQuorMain::mnuquorfanzhuan2_Click},
    {1, "mnuquorfanzhuan3", "对角翻转", "Ctrl+S", &frmQuorMain::mnuquorfanzhuan3_Click},
    {1, "mnueditbar2", "-", nullptr, nullptr},
    {1, "mnueditforecolor", "前景色...", "Ctrl+F", &frmQuorMain::mnueditforecolor_Click},
    {1, "mnueditbackcolor", "背景色...", "Ctrl+B", &frmQuorMain::mnueditbackcolor_Click},
    {1, "mnueditbar3", "-", nullptr, nullptr},
    {1, "mnufont", "字体...", "Ctrl+W", &frmQuorMain::mnufont_Click},
    {1, "mnueditbar4", "-", nullptr, nullptr},
    {1, "mnueditseeall", "查看全图...", "Ctrl+T", &frmQuorMain::mnueditseeall_Click},
    {0, "mnuquor", "效果(&V)", nullptr, nullptr},
    {1, "mnuquorsmooth", "柔化图形", "F8", &frmQuorMain::mnuquorsmooth_Click},
    {1, "mnuquorruihua", "锐化图形", "F9", &frmQuorMain::mnuquorruihua_Click},
    {1, "mnuquoryouhua", "油化图形", "F11", &frmQuorMain::mnuquoryouhua_Click},
    {1, "mnuquorfudiao", "雕化图形", "F12", &frmQuorMain::mnuquorfudiao_Click},
    {1, "mnuquorbar0", "-", nullptr, nullptr},
    {1, "mnuquorcustom", "自定义过滤器...", "Ctrl+G", &frmQuorMain::mnuquorcustom_Click},
    {1, "mnuquorbar1", "-", nullptr, nullptr},
    {1, "mnuquorjianbianse", "渐变颜色...", "Ctrl+J", &frmQuorMain::mnuquorjianbianse_Click},
    {0, "mnudraw", "选项(&D)", nullptr, nullptr},
    {1, "mnudrawmod", "绘制方式(&M)", nullptr, nullptr}, // submenu, filled below
    {1, "mnudrawbar0", "-", nullptr, nullptr},
    {1, "mnupastestye", "粘贴方式(&P)", nullptr, nullptr}, // submenu, filled below
    {0, "mnuWindow", "视窗(&W)", nullptr, nullptr},
    {1, "mnuQuorToolbar", "工具栏", "Shift+F11", &frmQuorMain::mnuQuorToolbar_Click},
    {1, "mnuQuorStatusBar", "状态栏", "Shift+F12", &frmQuorMain::mnuQuorStatusBar_Click},
    {1, "mnuWindowBar0", "-", nullptr, nullptr},
    {1, "mnuWindowTileHorizontal", "横向排列", "Ctrl+U", &frmQuorMain::mnuWindowTileHorizontal_Click},
    {1, "mnuWindowTileVertical", "纵向排列", "Ctrl+I", &frmQuorMain::mnuWindowTileVertical_Click},
    {1, "mnuWindowCascade", "层次排列", "Ctrl+O", &frmQuorMain::mnuWindowCascade_Click},
    {1, "mnuWindowmax", "最大化", "Ctrl+P", &frmQuorMain::mnuWindowmax_Click},
    {1, "mnuWindowArrangeIcons", "排列图标", "Ctrl+L", &frmQuorMain::mnuWindowArrangeIcons_Click},
    {0, "Hexplor", "浏览(&L)", nullptr, &frmQuorMain::Hexplor_Click}, // a command, not a menu
    {0, "mnuHelp", "帮助(&H)", nullptr, nullptr},
    {1, "mnuHelpContents", "目录", "Ctrl+Shift+F11", &frmQuorMain::mnuHelpContents_Click},
    {1, "mnuHelpBar0", "-", nullptr, nullptr},
    {1, "mnuHelpAbout", "关于...", "Ctrl+M", &frmQuorMain::mnuHelpAbout_Click},
};

const MenuRow quickMenu[] = {
    {1, "Hquickmnuselall", "全选", nullptr, &frmQuorMain::Hquickmnuselall_Click},
    {1, "Hquickmnubar4", "-", nullptr, nullptr},
    {1, "Hquickmnucut", "剪切(Ctrl+X)", nullptr, &frmQuorMain::Hquickmnucut_Click},
    {1, "Hquickmnucopy", "复制(Ctrl+C)", nullptr, &frmQuorMain::Hquickmnucopy_Click},
    {1, "Hquickmnupast", "粘贴(Ctrl+P)", nullptr, &frmQuorMain::Hquickmnupast_Click},
    {1, "Hquickmnubar2", "-", nullptr, nullptr},
    {1, "Hquickmnupastfrom", "粘贴自...", nullptr, &frmQuorMain::Hquickmnupastfrom_Click},
    {1, "Hquickmnubar0", "-", nullptr, nullptr},
    {1, "Hquickmnufont", "字体...", nullptr, &frmQuorMain::mnufont_Click},
    {1, "Hquickmnubar1", "-", nullptr, nullptr},
    {1, "Hquickmnuforecorlor", "前景色...", nullptr, &frmQuorMain::mnueditforecolor_Click},
    {1, "Hquickmnubar3", "-", nullptr, nullptr},
    {1, "Hquickqueding", "确定", nullptr, &frmQuorMain::Hquickqueding_Click},
};

QAction *addEntry(frmQuorMain *w, QMenu *menu, const char *name, const char *caption,
                  const char *shortcut)
{
    QAction *a;
    if (QLatin1String(caption) == QLatin1String("-")) {
        a = menu->addSeparator();
    } else {
        a = menu->addAction(QString::fromUtf8(caption));
        if (shortcut) {
            a->setShortcut(QKeySequence(QLatin1String(shortcut)));
            // Shortcuts work while a document or palette has the focus.
            a->setShortcutContext(Qt::ApplicationShortcut);
        }
    }
    a->setObjectName(QLatin1String(name));
    a->setParent(w); // findChild from the main window finds every entry
    return a;
}

void fillModeMenu(frmQuorMain *w, QMenu *menu, const std::vector<ModeEntry> &entries,
                  void (frmQuorMain::*click)(const char *))
{
    for (const ModeEntry &e : entries) {
        QAction *a = addEntry(w, menu, e.name, e.caption, nullptr);
        if (a->isSeparator())
            continue;
        a->setCheckable(true);
        const char *name = e.name;
        QObject::connect(a, &QAction::triggered, w, [w, click, name, a] {
            // The entry's handler decides the check marks, not the click.
            a->setChecked(!a->isChecked());
            (w->*click)(name);
        });
    }
}

} // namespace

void frmQuorMain::buildMenus()
{
    QMenu *current = nullptr;
    for (const MenuRow &row : menuTree) {
        if (row.level == 0) {
            if (row.handler == nullptr && QLatin1String(row.name) != QLatin1String("Hexplor")) {
                current = menuBar()->addMenu(QString::fromUtf8(row.caption));
                current->setObjectName(QLatin1String(row.name));
                current->menuAction()->setObjectName(QLatin1String(row.name) + QLatin1String("Action"));
                if (QLatin1String(row.name) == QLatin1String("mnuedit"))
                    m_editMenu = current;
                if (QLatin1String(row.name) == QLatin1String("mnuWindow"))
                    m_windowMenu = current;
            } else {
                QAction *a = menuBar()->addAction(QString::fromUtf8(row.caption));
                a->setObjectName(QLatin1String(row.name));
                a->setParent(this);
                if (row.handler)
                    connect(a, &QAction::triggered, this, row.handler);
            }
            continue;
        }
        if (QLatin1String(row.name) == QLatin1String("mnudrawmod")
            || QLatin1String(row.name) == QLatin1String("mnupastestye")) {
            QMenu *sub = current->addMenu(QString::fromUtf8(row.caption));
            sub->setObjectName(QLatin1String(row.name));
            if (QLatin1String(row.name) == QLatin1String("mnudrawmod"))
                fillModeMenu(this, sub, drawModeEntries(), &frmQuorMain::drawModeEntry_Click);
            else
                fillModeMenu(this, sub, pasteModeEntries(), &frmQuorMain::pasteModeEntry_Click);
            continue;
        }
        QAction *a = addEntry(this, current, row.name, row.caption, row.shortcut);
        if (row.handler)
            connect(a, &QAction::triggered, this, row.handler);
    }
    action("mnuQuorToolbar")->setCheckable(true);
    action("mnuQuorToolbar")->setChecked(true);
    action("mnuQuorStatusBar")->setCheckable(true);
    action("mnuQuorStatusBar")->setChecked(true);

    // The quick menu pops up over the text box only; it never joins the bar.
    m_quickMenu = new QMenu(QStringLiteral("快捷菜单"), this);
    m_quickMenu->setObjectName(QStringLiteral("mnuquick1"));
    for (const MenuRow &row : quickMenu) {
        QAction *a = addEntry(this, m_quickMenu, row.name, row.caption, row.shortcut);
        if (row.handler)
            connect(a, &QAction::triggered, this, row.handler);
    }

    connect(m_windowMenu, &QMenu::aboutToShow, this, &frmQuorMain::updateWindowList);
}

} // namespace quor
