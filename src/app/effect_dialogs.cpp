#include "app/effect_dialogs.h"

#include "app/main_window.h"
#include "document/document_window.h"
#include "dialogs/gradient_fill_dialog.h"

#include <QApplication>
#include <QDockWidget>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace quor {

EffectDialogs::EffectDialogs(MainWindow &main) : QObject(&main), m_main(main)
{
    setObjectName(QStringLiteral("EffectDialogs"));
}

EffectDialogs::~EffectDialogs()
{
    if (m_running)
        qApp->removeEventFilter(this);
}

EffectDialogs &EffectDialogs::of(MainWindow &main)
{
    if (auto *d = main.findChild<EffectDialogs *>(QString(), Qt::FindDirectChildrenOnly))
        return *d;
    return *new EffectDialogs(main);
}

bool EffectDialogs::hasSelectionOrSaySo()
{
    DocumentWindow *doc = activeDocument();
    if (doc && doc->document().hasFloatingSelection())
        return true;
    // No dialog to open: the status bar says why nothing happened.
    m_main.statusBar()->showMessage(QStringLiteral("请先选定一块区域。"), 5000);
    return false;
}

void EffectDialogs::showCustomFilter()
{
    if (!hasSelectionOrSaySo())
        return;
    if (!m_custom)
        m_custom = new CustomFilterDialog(m_values, *this, &m_main);
    m_custom->show();
    m_custom->raise();
    m_custom->activateWindow();
}

void EffectDialogs::showGradientFill()
{
    if (!hasSelectionOrSaySo())
        return;
    if (!m_gradient)
        m_gradient = new GradientFillDialog(*this, &m_main);
    m_gradient->show();
    m_gradient->raise();
    m_gradient->activateWindow();
}

DocumentWindow *EffectDialogs::activeDocument() { return m_main.workspace().activeDocument(); }
DrawingSettings &EffectDialogs::settings() { return m_main.workspace().settings; }

void EffectDialogs::runGoing(QWidget *runner, bool going, const std::function<void()> &stop)
{
    if (!going) {
        endRun();
        return;
    }
    if (m_running)
        return;
    m_running = true;
    m_stop = stop;
    // Painting goes on; input reaches only the runner (one inside the
    // document area is held with it). Disabling takes the focus from the
    // main window's parts: it comes back after.
    m_mainFocus = m_main.focusWidget();
    const QList<QWidget *> parts = {m_main.menuBar(), m_main.toolBar(), m_main.toolsDock(),
                                    m_main.coloursDock(), m_main.mdiArea(), m_custom,
                                    m_gradient};
    for (QWidget *w : parts)
        if (w && w != runner && w->isEnabled()) {
            w->setEnabled(false);
            m_held.append(w);
        }
    qApp->installEventFilter(this);
    // A runner that goes away without saying so still ends the run.
    m_runnerGone = connect(runner, &QObject::destroyed, this, &EffectDialogs::endRun);
}

void EffectDialogs::endRun()
{
    if (!m_running)
        return;
    m_running = false;
    m_stop = {};
    disconnect(m_runnerGone);
    qApp->removeEventFilter(this);
    for (const QPointer<QWidget> &w : std::as_const(m_held))
        if (w)
            w->setEnabled(true);
    m_held.clear();
    if (m_mainFocus)
        m_mainFocus->setFocus();
    // The closes asked for meanwhile go ahead now, from the event loop.
    for (const QPointer<QWidget> &w : std::as_const(m_closeAfterRun))
        if (w)
            QTimer::singleShot(0, w, [w] {
                if (w)
                    w->close();
            });
    m_closeAfterRun.clear();
}

bool EffectDialogs::eventFilter(QObject *o, QEvent *e)
{
    if (!m_running || !o->isWidgetType())
        return false;
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(e)->key() == Qt::Key_Escape) {
        if (m_stop)
            m_stop();
        return true;
    }
    if (e->type() != QEvent::Close)
        return false;
    auto *w = static_cast<QWidget *>(o);
    if (w != &m_main && !qobject_cast<DocumentWindow *>(w) && !qobject_cast<QMdiSubWindow *>(w))
        return false;
    // Not while the run draws on a document: stop it, close afterwards.
    e->ignore();
    if (!m_closeAfterRun.contains(w))
        m_closeAfterRun.append(w);
    if (m_stop)
        m_stop();
    return true;
}

void MainWindow::runGoing(QWidget *runner, bool going, const std::function<void()> &stop)
{
    EffectDialogs::of(*this).runGoing(runner, going, stop);
}

void MainWindow::showCustomFilter() { EffectDialogs::of(*this).showCustomFilter(); }
void MainWindow::showGradientFill() { EffectDialogs::of(*this).showGradientFill(); }

} // namespace quor
