// The main window's menu tree, built from one table.
#include "app/main_window.h"
#include "app/mode_menus.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

namespace quor {

namespace {

using Handler = void (MainWindow::*)();

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
    {1, "mnuFileNew", "新建", "F1", &MainWindow::newDocument},
    {1, "mnuFileOpen", "打开...", "F2", &MainWindow::openPicture},
    {1, "mnuFileBar6", "-", nullptr, nullptr},
    {1, "mnuFileClose", "关闭", "F7", &MainWindow::closeActiveDocument},
    {1, "mnuAllFileClose", "全部关闭", nullptr, &MainWindow::closeAll},
    {1, "mnuFileBar0", "-", nullptr, nullptr},
    {1, "mnuFileSave", "保存", "F3", &MainWindow::save},
    {1, "mnuFileSaveAs", "另存为...", "F4", &MainWindow::saveAs},
    {1, "mnuFileExport", "导出...", "Ctrl+E", &MainWindow::exportPicture},
    {1, "mnuAllFileSave", "全部保存...", nullptr, &MainWindow::saveAll},
    {1, "mnuFileBar1", "-", nullptr, nullptr},
    {1, "mnuFileProperties", "属性...", "F5", &MainWindow::showFileProperties},
    {1, "mnuFileBar2", "-", nullptr, nullptr},
    {1, "mnuFilePageSetup", "页面设置...", "Ctrl+Y", &MainWindow::pageSetup},
    {1, "mnuFilePrint", "打印...", "F6", &MainWindow::printDocument},
    {1, "mnuFileBar3", "-", nullptr, nullptr},
    {1, "mnuFileExit", "退出", "Ctrl+Q", &MainWindow::quit},
    {0, "mnuedit", "编辑(&E)", nullptr, nullptr},
    {1, "mnuEditUndo", "撤销", "Alt+Backspace", &MainWindow::undo},
    {1, "mnuEditRedo", "重做", "Alt+Shift+Backspace", &MainWindow::redo},
    {1, "mnuEditBarUndo", "-", nullptr, nullptr},
    {1, "mnuEditselect", "全选", "Ctrl+A", &MainWindow::selectAll},
    {1, "mnuEditBar0", "-", nullptr, nullptr},
    {1, "mnuEditCls", "清空", nullptr, &MainWindow::clearPicture},
    {1, "mnuEditCopy", "复制", "Ctrl+C", &MainWindow::copy},
    {1, "mnuEditPaste", "粘贴", "Ctrl+V", &MainWindow::paste},
    {1, "mnueditbar1", "-", nullptr, nullptr},
    {1, "mnuquorfanzhuan1", "水平翻转", "Ctrl+Z", &MainWindow::flipSelectionHorizontally},
    {1, "mnuquorfanzhuan2", "垂直翻转", "Ctrl+X", &MainWindow::flipSelectionVertically},
    {1, "mnuquorfanzhuan3", "对角翻转", "Ctrl+S", &MainWindow::flipSelectionDiagonally},
    {1, "mnueditbar2", "-", nullptr, nullptr},
    {1, "mnueditforecolor", "前景色...", "Ctrl+F", &MainWindow::chooseForegroundColour},
    {1, "mnueditbackcolor", "背景色...", "Ctrl+B", &MainWindow::chooseBackgroundColour},
    {1, "mnueditbar3", "-", nullptr, nullptr},
    {1, "mnufont", "字体...", "Ctrl+W", &MainWindow::chooseFont},
    {1, "mnueditbar4", "-", nullptr, nullptr},
    {1, "mnueditseeall", "查看全图...", "Ctrl+T", &MainWindow::showWholePicture},
    {0, "mnuquor", "效果(&V)", nullptr, nullptr},
    {1, "mnuquorsmooth", "柔化图形", "F8", &MainWindow::softenSelection},
    {1, "mnuquorruihua", "锐化图形", "F9", &MainWindow::sharpenSelection},
    {1, "mnuquoryouhua", "油化图形", "F11", &MainWindow::oilPaintSelection},
    {1, "mnuquorfudiao", "雕化图形", "F12", &MainWindow::embossSelection},
    {1, "mnuquorbar0", "-", nullptr, nullptr},
    {1, "mnuquorcustom", "自定义过滤器...", "Ctrl+G", &MainWindow::showCustomFilter},
    {1, "mnuquorbar1", "-", nullptr, nullptr},
    {1, "mnuquorjianbianse", "渐变颜色...", "Ctrl+J", &MainWindow::showGradientFill},
    {0, "mnuImage", "图像(&I)", nullptr, nullptr},
    {1, "mnuImageResize", "调整大小...", nullptr, &MainWindow::resizePicture},
    {1, "mnuImageBar0", "-", nullptr, nullptr},
    {1, "mnuImageTurnRight", "向右旋转 90°", "Ctrl+R", &MainWindow::turnPictureRight},
    {1, "mnuImageTurnLeft", "向左旋转 90°", nullptr, &MainWindow::turnPictureLeft},
    {1, "mnuImageTurnHalf", "旋转 180°", nullptr, &MainWindow::turnPictureHalf},
    {1, "mnuImageBar1", "-", nullptr, nullptr},
    {1, "mnuImageCrop", "裁剪到选区", nullptr, &MainWindow::cropToSelection},
    {1, "mnuImageBar2", "-", nullptr, nullptr},
    {1, "mnuImageInvert", "反色", nullptr, &MainWindow::invertPicture},
    {1, "mnuImageGrey", "灰度", nullptr, &MainWindow::greyPicture},
    {0, "mnudraw", "选项(&D)", nullptr, nullptr},
    {1, "mnudrawmod", "绘制方式(&M)", nullptr, nullptr}, // submenu, filled below
    {1, "mnudrawbar0", "-", nullptr, nullptr},
    {1, "mnupastestye", "粘贴方式(&P)", nullptr, nullptr}, // submenu, filled below
    {0, "mnuWindow", "视窗(&W)", nullptr, nullptr},
    {1, "mnuQuorToolbar", "工具栏", "Shift+F11", &MainWindow::toggleToolBar},
    {1, "mnuQuorStatusBar", "状态栏", "Shift+F12", &MainWindow::toggleStatusBar},
    {1, "mnuWindowBar0", "-", nullptr, nullptr},
    {1, "mnuWindowTileHorizontal", "横向排列", "Ctrl+U", &MainWindow::tileSideBySide},
    {1, "mnuWindowTileVertical", "纵向排列", "Ctrl+I", &MainWindow::tileOneAboveAnother},
    {1, "mnuWindowCascade", "层次排列", "Ctrl+O", &MainWindow::cascade},
    {1, "mnuWindowmax", "最大化", "Ctrl+P", &MainWindow::enlargeActiveDocument},
    {1, "mnuWindowArrangeIcons", "排列图标", "Ctrl+L", &MainWindow::arrangeIcons},
    {1, "mnuWindowBar1", "-", nullptr, nullptr},
    {1, "mnuWindowZoomIn", "放大显示", "Ctrl+=", &MainWindow::zoomViewIn},
    {1, "mnuWindowZoomOut", "缩小显示", "Ctrl+-", &MainWindow::zoomViewOut},
    {1, "mnuWindowZoomActual", "实际大小", "Ctrl+0", &MainWindow::zoomViewActual},
    {0, "Hexplor", "浏览(&L)", nullptr, &MainWindow::showPictureBrowser}, // a command, not a menu
    {0, "mnuHelp", "帮助(&H)", nullptr, nullptr},
    {1, "mnuHelpContents", "目录", "Ctrl+Shift+F11", &MainWindow::showHelp},
    {1, "mnuHelpBar0", "-", nullptr, nullptr},
    {1, "mnuHelpAbout", "关于...", "Ctrl+M", &MainWindow::showAbout},
};

const MenuRow quickMenu[] = {
    {1, "Hquickmnuselall", "全选", nullptr, &MainWindow::selectAllText},
    {1, "Hquickmnubar4", "-", nullptr, nullptr},
    {1, "Hquickmnucut", "剪切(Ctrl+X)", nullptr, &MainWindow::cutText},
    {1, "Hquickmnucopy", "复制(Ctrl+C)", nullptr, &MainWindow::copyText},
    {1, "Hquickmnupast", "粘贴(Ctrl+P)", nullptr, &MainWindow::pasteText},
    {1, "Hquickmnubar2", "-", nullptr, nullptr},
    {1, "Hquickmnupastfrom", "粘贴自...", nullptr, &MainWindow::pasteTextFromFile},
    {1, "Hquickmnubar0", "-", nullptr, nullptr},
    {1, "Hquickmnufont", "字体...", nullptr, &MainWindow::chooseFont},
    {1, "Hquickmnubar1", "-", nullptr, nullptr},
    {1, "Hquickmnuforecorlor", "前景色...", nullptr, &MainWindow::chooseForegroundColour},
    {1, "Hquickmnubar3", "-", nullptr, nullptr},
    {1, "Hquickqueding", "确定", nullptr, &MainWindow::commitText},
};

QAction *addEntry(MainWindow *w, QMenu *menu, const char *name, const char *caption,
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

void fillModeMenu(MainWindow *w, QMenu *menu, const std::vector<ModeEntry> &entries,
                  void (MainWindow::*click)(const char *))
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

// Walking the bar with Left and Right from a menu opened by the mouse, Qt
// gives the focus back to the document when the walk reaches an entry that
// opens no menu (浏览): the next Right moved the floating selection instead.
// While the walk rests there, its keys go to the bar, as they would from a
// menu; any other key or a click ends the rest.
class BarWalk : public QObject
{
public:
    explicit BarWalk(QMenuBar *bar) : QObject(bar), m_bar(bar) { bar->installEventFilter(this); }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::MouseButtonPress) {
            rest(false);
            return false;
        }
        if (e->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(e)->key();
        if (o == m_bar && (key == Qt::Key_Left || key == Qt::Key_Right)) {
            // The bar moves first (from an open menu too, which hands it
            // these keys), then the walk may rest.
            static_cast<QObject *>(m_bar)->event(e);
            const QAction *at = m_bar->activeAction();
            rest(at && !at->menu() && !QApplication::activePopupWidget()
                 && QApplication::focusWidget() != m_bar);
            return e->isAccepted();
        }
        if (!m_resting || o == m_bar)
            return false;
        rest(false);
        static const QList<int> walkKeys = {Qt::Key_Left,   Qt::Key_Right, Qt::Key_Up,
                                            Qt::Key_Down,   Qt::Key_Return, Qt::Key_Enter,
                                            Qt::Key_Escape, Qt::Key_Space};
        if (!walkKeys.contains(key) || !m_bar->activeAction() || QApplication::activePopupWidget())
            return false;
        QCoreApplication::sendEvent(m_bar, e);
        return true;
    }

private:
    void rest(bool on)
    {
        if (on == m_resting)
            return;
        m_resting = on;
        if (on)
            qApp->installEventFilter(this);
        else
            qApp->removeEventFilter(this);
    }

    QMenuBar *m_bar;
    bool m_resting = false;
};

} // namespace

void MainWindow::buildMenus()
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
                fillModeMenu(this, sub, drawModeEntries(), &MainWindow::chooseDrawMode);
            else
                fillModeMenu(this, sub, pasteModeEntries(), &MainWindow::choosePasteMode);
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
    // Ctrl and the plus key, shifted or not, as keyboards place it.
    action("mnuWindowZoomIn")->setShortcuts({QKeySequence(QStringLiteral("Ctrl+=")),
                                             QKeySequence(QStringLiteral("Ctrl++"))});
    buildRecentFileEntries();

    // The quick menu pops up over the text box only; it never joins the bar.
    m_quickMenu = new QMenu(QStringLiteral("快捷菜单"), this);
    m_quickMenu->setObjectName(QStringLiteral("mnuquick1"));
    for (const MenuRow &row : quickMenu) {
        QAction *a = addEntry(this, m_quickMenu, row.name, row.caption, row.shortcut);
        if (row.handler)
            connect(a, &QAction::triggered, this, row.handler);
    }

    connect(m_windowMenu, &QMenu::aboutToShow, this, &MainWindow::updateWindowList);
    new BarWalk(menuBar());
}

} // namespace quor
