#include "app/main_window.h"

#include "app/mode_menus.h"
#include "app/placement.h"
#include "document/edit_window.h"
#include "palettes/colour_palette.h"
#include "palettes/tool_palette.h"

#include <QAction>
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
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace quor {

const char *const ProductName = "Quor 画图";
const char *const AuthorCredit = "Quor 开发组";

frmQuorMain::frmQuorMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmQuorMain"));
    setWindowTitle(QString::fromUtf8(ProductName));
    m_state.main = this;

    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("MDIClient"));
    m_mdi->setBackground(palette().brush(QPalette::Dark)); // the workspace colour
    setCentralWidget(m_mdi);

    buildMenus();
    m_toolbar = addToolBar(QStringLiteral("tbToolBar"));
    m_toolbar->setObjectName(QStringLiteral("tbToolBar"));
    m_toolbar->setMovable(false);
    buildToolbar();
    buildStatusBar();
    buildPalettes();

    MDIForm_Load();
}

frmQuorMain::~frmQuorMain() = default;

QSize frmQuorMain::documentAreaSize()
{
    if (layout())
        layout()->activate();
    return m_mdi->contentsRect().size();
}

QAction *frmQuorMain::action(const char *name) const
{
    return findChild<QAction *>(QLatin1String(name));
}

void frmQuorMain::buildStatusBar()
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
}

void frmQuorMain::buildPalettes()
{
    // The colour palette runs under the tool palette, over the full width.
    setCorner(Qt::BottomLeftCorner, Qt::BottomDockWidgetArea);
    setCorner(Qt::BottomRightCorner, Qt::BottomDockWidgetArea);

    auto makeDock = [this](QWidget *content, const QString &name) {
        auto *dock = new QDockWidget(this);
        dock->setObjectName(name + QStringLiteral("Dock"));
        dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
        dock->setTitleBarWidget(new QWidget(dock)); // a fixed palette, no title
        dock->setWidget(content);
        return dock;
    };
    m_state.colours = new frmquorcolortool(m_state);
    m_coloursDock = makeDock(m_state.colours, QStringLiteral("frmquorcolortool"));
    m_state.tools = new frmquortools(m_state);
    m_toolsDock = makeDock(m_state.tools, QStringLiteral("frmquortools"));
    addDockWidget(Qt::BottomDockWidgetArea, m_coloursDock);
    addDockWidget(Qt::LeftDockWidgetArea, m_toolsDock);
}

void frmQuorMain::MDIForm_Load()
{
    m_state.hArrangeMode = 4;
    const Placement p = readPlacement();
    setGeometry(twipsToPixels(p.left), twipsToPixels(p.top), twipsToPixels(p.width),
                twipsToPixels(p.height));
    action("mnudrawvbcopypen")->setChecked(true);
    action("mnuvbsrccopy")->setChecked(true);
    m_state.hTool = 1;
    m_state.colours->placeReadouts();
    hNewEditWindow();
}

void frmQuorMain::MDIForm_Unload()
{
    if (!isMinimized()) {
        const QRect g = geometry();
        writePlacement({pixelsToTwips(g.left()), pixelsToTwips(g.top()),
                        pixelsToTwips(g.width()), pixelsToTwips(g.height())});
    }
}

void frmQuorMain::closeEvent(QCloseEvent *e)
{
    // Every document runs its close protocol first; one refusal keeps the
    // program running.
    for (int i = m_state.hEditCount; i >= 1; --i) {
        frmquoredit *doc = m_state.hEditForms(i);
        if (doc && !doc->closeDocument()) {
            e->ignore();
            return;
        }
    }
    if (!m_unloaded) {
        m_unloaded = true;
        MDIForm_Unload();
    }
    e->accept();
}

void frmQuorMain::hNewEditWindow()
{
    ModuleQuorMain &s = m_state;
    s.hNewCount = checkedAdd(s.hNewCount, 1);
    s.hEditCount = checkedAdd(s.hEditCount, std::int16_t(1));
    auto *doc = new frmquoredit(s);
    s.editForms.append(doc);
    s.hActiveEdit = doc;
    doc->setTag(QString::number(s.hEditCount));
    doc->setCaption(QStringLiteral("New Quor") + QString::number(s.hNewCount));
    doc->showInArea();
    if (s.hArrangeMode != 4)
        arrange(s.hArrangeMode);
    doc->canvas()->DataChanged = false;
}

void frmQuorMain::applyDrawingSettings()
{
    frmquoredit *doc = m_state.hActiveEdit;
    if (!doc)
        return;
    CanvasSurface &c = doc->canvas()->surface();
    c.setBackColor(m_state.backColour());
    c.setForeColor(m_state.foreColour());
    c.setFillColor(m_state.drawingColour());
    c.setFillStyle(m_state.hFillStyle.value_or(0));
    c.setDrawStyle(m_state.hDrawStyle.value_or(0));
    c.setDrawWidth(m_state.lineWidth());
}

void frmQuorMain::mnuFileNew_Click()
{
    try {
        hNewEditWindow();
    } catch (const std::overflow_error &) {
        // The document counters are spent: say so instead of stopping.
        msgBox(this, QStringLiteral("\r溢出"), mb::OkOnly, QCoreApplication::applicationName());
        return;
    }
    applyDrawingSettings();
    m_state.hEnableDocCommands(true);
}

void frmQuorMain::mnuFileClose_Click()
{
    if (frmquoredit *doc = m_state.hActiveEdit)
        doc->closeDocument();
}

void frmQuorMain::mnuFileExit_Click()
{
    close();
}

// Checks the named entry of a mode menu, clears the others and returns the
// entry's value.
static std::uint32_t checkOnly(const frmQuorMain *w, const std::vector<ModeEntry> &entries,
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

void frmQuorMain::drawModeEntry_Click(const char *name)
{
    if (frmquoredit *doc = m_state.hActiveEdit)
        doc->canvas()->surface().setDrawMode(int(checkOnly(this, drawModeEntries(), name)));
}

void frmQuorMain::pasteModeEntry_Click(const char *name)
{
    if (frmquoredit *doc = m_state.hActiveEdit)
        doc->HpastestyleText()->setText(QString::number(checkOnly(this, pasteModeEntries(), name)));
}

void frmQuorMain::updateWindowList()
{
    qDeleteAll(m_windowListActions);
    m_windowListActions.clear();
    if (m_state.hEditCount == 0)
        return;
    m_windowListActions << m_windowMenu->addSeparator();
    for (int i = 1; i <= m_state.hEditCount; ++i) {
        frmquoredit *doc = m_state.hEditForms(i);
        if (!doc)
            continue;
        QAction *a = m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(i).arg(doc->caption()));
        a->setCheckable(true);
        a->setChecked(doc == m_state.hActiveEdit);
        connect(a, &QAction::triggered, doc, &frmquoredit::activate);
        m_windowListActions << a;
    }
}

} // namespace quor
