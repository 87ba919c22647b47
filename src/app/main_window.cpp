#include "app/main_window.h"

#include "app/mode_menus.h"
#include "app/placement.h"
#include "document/document_window.h"
#include "files/file_texts.h"
#include "formats/bitmap_file.h"
#include "formats/picture_loader.h"
#include "palettes/colour_palette.h"
#include "palettes/tool_palette.h"
#include "tools/tool_engine.h"

#include <QAction>
#include <QApplication>
#include <functional>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDockWidget>
#include <QLineEdit>
#include <QLocale>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrinter>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace quor {

const char *const ProductName = "Quor 画图";
const char *const AuthorCredit = "Quor 开发组";

MainWindow::MainWindow(QWidget *parent, bool emptyDocument) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmQuorMain"));
    setWindowTitle(QString::fromUtf8(ProductName));
    setDialogBackend(&m_dialogs);
    m_workspace.host = this;
    m_workspace.toolHandler = std::make_unique<ToolEngine>();

    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("MDIClient"));
    m_mdi->setBackground(palette().brush(QPalette::Dark)); // the workspace colour
    setCentralWidget(m_mdi);
    m_mdi->setAccessibleName(QStringLiteral("图片区"));
    m_mdi->horizontalScrollBar()->setAccessibleName(QStringLiteral("图片区水平滚动条"));
    m_mdi->verticalScrollBar()->setAccessibleName(QStringLiteral("图片区垂直滚动条"));
    // After the document's own activation has made it the active one.
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &MainWindow::updateUndoCommands,
            Qt::QueuedConnection);

    buildMenus();
    for (const auto *entries : {&drawModeEntries(), &pasteModeEntries()})
        for (const ModeEntry &e : *entries)
            if (QAction *a = action(e.name))
                connect(a, &QAction::toggled, this, &MainWindow::takeModeSettings);
    // The title is what assistive tools call the bar.
    m_toolbar = addToolBar(QStringLiteral("工具栏"));
    m_toolbar->setObjectName(QStringLiteral("tbToolBar"));
    m_toolbar->setMovable(false);
    buildToolbar();
    buildStatusBar();
    buildPalettes();
    buildPaneKeys();
    // Only text boxes take drops of their own; a file dropped anywhere
    // else, on a document too, comes here.
    setAcceptDrops(true);

    startUp(emptyDocument);
}

MainWindow::~MainWindow() = default;

QSize MainWindow::documentAreaSize()
{
    if (layout())
        layout()->activate();
    return m_mdi->contentsRect().size();
}

QAction *MainWindow::action(const char *name) const
{
    return findChild<QAction *>(QLatin1String(name));
}

void MainWindow::takeModeSettings()
{
    auto checked = [this](const char *n) {
        QAction *a = action(n);
        return a && a->isChecked();
    };
    m_workspace.settings.drawMode =
        DrawMode(firstCheckedMode(drawModeEntries(), drawModeTestOrder(), checked, int(DrawMode::CopyPen)));
    m_workspace.settings.pasteRasterOp =
        firstCheckedMode(pasteModeEntries(), pasteModeTestOrder(), checked, rop::SrcCopy);
}

void MainWindow::enableDocumentCommands(bool enabled)
{
    for (const char *name : {"mnuFileClose", "mnuAllFileClose", "mnuFileSave", "mnuFileSaveAs",
                             "mnuFileExport", "mnuAllFileSave", "mnuFileProperties",
                             "mnuFilePageSetup", "mnuFilePrint", "mnuWindowZoomIn",
                             "mnuWindowZoomOut", "mnuWindowZoomActual", "mnuToolFill",
                             "mnuToolPicker"})
        action(name)->setEnabled(enabled);
    if (!enabled && m_workspace.viewScaleReadout)
        m_workspace.viewScaleReadout({});
    // The entries too, not only their menus: a shortcut fires whatever its
    // menu's state.
    std::function<void(QMenu *)> enableAll = [&](QMenu *m) {
        m->menuAction()->setEnabled(enabled);
        for (QAction *a : m->actions()) {
            a->setEnabled(enabled);
            if (a->menu())
                enableAll(a->menu());
        }
    };
    for (const char *name : {"mnuedit", "mnuquor", "mnuImage", "mnudraw"})
        if (QMenu *m = findChild<QMenu *>(QLatin1String(name)))
            enableAll(m);
    // Toolbar buttons carry their key in the "key" property.
    static const char *const keys[] = {"保存", "打印", "属性", "复制", "粘贴", "垂直翻转",
                                       "水平翻转", "对角翻转", "图片字体", "背景色", "前景色",
                                       "柔化", "锐化", "油化", "浮雕", "最大化", "横向排列",
                                       "纵向排列", "层叠", "填充", "取色"};
    if (m_toolbar)
        for (const char *key : keys)
            for (QAction *a : m_toolbar->actions())
                if (a->property("key").toString() == QString::fromUtf8(key))
                    a->setEnabled(enabled);
    updateUndoCommands();
}

void MainWindow::writeBitmapFile(const QImage &image, const QString &fileName)
{
    sayWhatWasNotKept(saveBitmapFile(image, fileName));
}

void MainWindow::sayWhatWasNotKept(const QString &lost)
{
    if (!lost.isEmpty())
        tell(this, otherErrorMessage(lost), QCoreApplication::applicationName(), Icon::Exclamation);
}

void MainWindow::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    auto *status = new QLabel(QStringLiteral("状态"));
    status->setObjectName(QStringLiteral("sbStatusText"));
    bar->addWidget(status, 1);
    auto *date = new QLabel;
    date->setObjectName(QStringLiteral("sbStatusDate"));
    auto *time = new QLabel;
    time->setObjectName(QStringLiteral("sbStatusTime"));
    auto *scale = new QLabel;
    scale->setObjectName(QStringLiteral("sbViewScale"));
    bar->addPermanentWidget(scale);
    m_workspace.viewScaleReadout = [scale](const QString &t) { scale->setText(t); };
    for (QLabel *l : {date, time}) {
        l->setMinimumWidth(twipsToPixels(2540));
        l->setAlignment(Qt::AlignCenter);
        bar->addPermanentWidget(l);
    }
    auto tick = [date, time] {
        const QDateTime now = QDateTime::currentDateTime();
        date->setText(QLocale().toString(now.date(), QLocale::ShortFormat));
        time->setText(QLocale().toString(now.time(), QStringLiteral("HH:mm:ss")));
    };
    tick();
    auto *clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, tick);
    clock->start(1000);
    // A passing message takes the clock's room too: at the window's first
    // size the date and time would leave it a few characters.
    connect(bar, &QStatusBar::messageChanged, this, [date, time](const QString &message) {
        date->setVisible(message.isEmpty());
        time->setVisible(message.isEmpty());
    });
}

void MainWindow::showPictureNotes(const PictureNotes &notes)
{
    if (notes.skippedRecords <= 0)
        return;
    if (auto *status = findChild<QLabel *>(QStringLiteral("sbStatusText")))
        status->setText(QStringLiteral("部分内容无法显示"));
}

void MainWindow::buildPalettes()
{
    // The colour palette runs under the tool palette, over the full width.
    setCorner(Qt::BottomLeftCorner, Qt::BottomDockWidgetArea);
    setCorner(Qt::BottomRightCorner, Qt::BottomDockWidgetArea);

    auto makeDock = [this](QWidget *content, const QString &name) {
        auto *dock = new QDockWidget(this);
        dock->setObjectName(name + QStringLiteral("Dock"));
        dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
        // A fixed palette: its title is for assistive tools only.
        dock->setTitleBarWidget(new QWidget(dock));
        dock->setWidget(content);
        return dock;
    };
    m_colours = new ColourPalette(m_workspace);
    m_coloursDock = makeDock(m_colours, QStringLiteral("frmquorcolortool"));
    m_coloursDock->setWindowTitle(m_colours->accessibleName());
    m_tools = new ToolPalette(m_workspace);
    m_colours->setToolPalette(m_tools);
    m_toolsDock = makeDock(m_tools, QStringLiteral("frmquortools"));
    m_toolsDock->setWindowTitle(m_tools->accessibleName());
    addDockWidget(Qt::BottomDockWidgetArea, m_coloursDock);
    addDockWidget(Qt::LeftDockWidgetArea, m_toolsDock);
}

void MainWindow::startUp(bool emptyDocument)
{
    m_workspace.arrangeMode = ArrangeMode::Free;
    const Placement p = readPlacement();
    setGeometry(twipsToPixels(p.left), twipsToPixels(p.top), twipsToPixels(p.width),
                twipsToPixels(p.height));
    action("mnudrawvbcopypen")->setChecked(true);
    action("mnuvbsrccopy")->setChecked(true);
    m_workspace.settings.tool = ToolId::Select;
    m_colours->placeReadouts();
    if (emptyDocument)
        newDocumentWindow();
    else
        enableDocumentCommands(false);
}

void MainWindow::shutDown()
{
    if (!isMinimized()) {
        const QRect g = geometry();
        writePlacement({pixelsToTwips(g.left()), pixelsToTwips(g.top()),
                        pixelsToTwips(g.width()), pixelsToTwips(g.height())});
    }
}

void MainWindow::closeEvent(QCloseEvent *e)
{
    // Every document runs its close protocol first; one refusal keeps the
    // program running.
    for (int i = m_workspace.documentCount(); i >= 1; --i) {
        DocumentWindow *doc = m_workspace.document(i);
        if (doc && !doc->closeDocument()) {
            e->ignore();
            return;
        }
    }
    if (!m_unloaded) {
        m_unloaded = true;
        shutDown();
    }
    e->accept();
    // The browser and the effect dialogs are windows of their own: the
    // program ends with the main window, not with the last of them.
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible())
            w->close();
}

void MainWindow::newDocumentWindow()
{
    Workspace &s = m_workspace;
    if (s.documentCount() >= Workspace::MaxDocuments)
        throw std::overflow_error("documents");
    s.newDocumentCount = checkedAdd(s.newDocumentCount, 1);
    auto *doc = new DocumentWindow(s);
    s.add(doc);
    s.setActiveDocument(doc);
    // The window is named for assistive tools by its caption, which
    // follows the file.
    connect(doc, &QWidget::windowTitleChanged, doc, [doc](const QString &caption) {
        doc->setAccessibleName(QStringLiteral("图片：") + caption);
    });
    doc->setUntitledName(QStringLiteral("New Quor") + QString::number(s.newDocumentCount));
    connect(&doc->document(), &Document::historyChanged, this, &MainWindow::updateUndoCommands);
    doc->showInArea();
    if (s.arrangeMode != ArrangeMode::Free)
        arrange(s.arrangeMode);
    doc->document().markSaved();
    emit documentMade(doc);
}

void MainWindow::applyDrawingSettings()
{
    DocumentWindow *doc = m_workspace.activeDocument();
    if (!doc)
        return;
    Document &d = doc->document();
    d.setBackColour(m_workspace.settings.backColour);
    d.takePen(m_workspace.settings);
}

void MainWindow::newDocument()
{
    try {
        newDocumentWindow();
    } catch (const std::overflow_error &) {
        // The document counters are spent: say so instead of stopping.
        tell(this, QStringLiteral("\r溢出"), QCoreApplication::applicationName());
        return;
    }
    applyDrawingSettings();
    m_workspace.enableDocumentCommands(true);
}

void MainWindow::closeActiveDocument()
{
    if (DocumentWindow *doc = m_workspace.activeDocument())
        doc->closeDocument();
}

void MainWindow::quit()
{
    close();
}

// Checks the named entry of a mode menu, clears the others and returns the
// entry's value.
static std::uint32_t checkOnly(const MainWindow *w, const std::vector<ModeEntry> &entries,
                               const char *name)
{
    std::uint32_t value = 0;
    for (const ModeEntry &e : entries) {
        if (QLatin1String(e.caption) == QLatin1String("-"))
            continue;
        const bool chosen = QLatin1String(e.name) == QLatin1String(name);
        w->action(e.name)->setChecked(chosen);
        if (chosen)
            value = e.value;
    }
    return value;
}

void MainWindow::chooseDrawMode(const char *name)
{
    if (DocumentWindow *doc = m_workspace.activeDocument())
        doc->document().setDrawMode(DrawMode(checkOnly(this, drawModeEntries(), name)));
}

void MainWindow::choosePasteMode(const char *name)
{
    if (DocumentWindow *doc = m_workspace.activeDocument()) {
        const std::uint32_t op = checkOnly(this, pasteModeEntries(), name);
        doc->document().pasteRasterOp = op;
    }
}

void MainWindow::updateWindowList()
{
    qDeleteAll(m_windowListActions);
    m_windowListActions.clear();
    if (m_workspace.documentCount() == 0)
        return;
    m_windowListActions << m_windowMenu->addSeparator();
    for (int i = 1; i <= m_workspace.documentCount(); ++i) {
        DocumentWindow *doc = m_workspace.document(i);
        if (!doc)
            continue;
        QAction *a = m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(i).arg(doc->caption()));
        a->setCheckable(true);
        a->setChecked(doc == m_workspace.activeDocument());
        connect(a, &QAction::triggered, doc, &DocumentWindow::activate);
        m_windowListActions << a;
    }
}

} // namespace quor
