// Window-menu arrangement and the Help menu.
#include "app/main_window.h"
#include "document/document_window.h"
#include "document/window_layout.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

namespace quor {

void MainWindow::arrange(ArrangeMode mode)
{
    switch (mode) {
    case ArrangeMode::Cascade: {
        // Qt's own cascade shrinks windows to their size hint, a title bar.
        QList<QMdiSubWindow *> wins;
        for (QMdiSubWindow *w : m_mdi->subWindowList())
            if (!w->isMinimized() && w->isVisible())
                wins << w;
        if (wins.isEmpty())
            return;
        const int titleBar = wins[0]->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, wins[0]);
        const QList<QRect> rects = cascadeLayout(int(wins.size()), m_mdi->viewport()->size(), titleBar);
        for (int i = 0; i < wins.size(); ++i) {
            if (wins[i]->isMaximized())
                wins[i]->showNormal();
            wins[i]->setGeometry(rects[i]);
            wins[i]->raise();
        }
        break;
    }
    case ArrangeMode::OneAboveAnother: // each the full width
    case ArrangeMode::SideBySide: {    // each the full height
        QList<QMdiSubWindow *> wins;
        for (QMdiSubWindow *w : m_mdi->subWindowList())
            if (!w->isMinimized() && w->isVisible())
                wins << w;
        if (wins.isEmpty())
            return;
        const QRect area = m_mdi->viewport()->rect();
        const int n = int(wins.size());
        for (int i = 0; i < n; ++i) {
            if (wins[i]->isMaximized())
                wins[i]->showNormal();
            if (mode == ArrangeMode::OneAboveAnother) {
                const int h = area.height() / n;
                wins[i]->setGeometry(0, i * h, area.width(), i == n - 1 ? area.height() - i * h : h);
            } else {
                const int w = area.width() / n;
                wins[i]->setGeometry(i * w, 0, i == n - 1 ? area.width() - i * w : w, area.height());
            }
        }
        break;
    }
    case ArrangeMode::Icons: {
        // Line up the minimised windows along the bottom edge.
        const QRect area = m_mdi->viewport()->rect();
        int x = 0;
        for (QMdiSubWindow *w : m_mdi->subWindowList()) {
            if (!w->isMinimized())
                continue;
            w->move(x, area.height() - w->height());
            x += w->width();
        }
        break;
    }
    case ArrangeMode::Free:
        break;
    }
}

void MainWindow::arrangeByMenu(ArrangeMode mode)
{
    if (!m_workspace.activeDocument())
        return;
    arrange(mode);
    m_workspace.arrangeMode = mode;
}

void MainWindow::tileSideBySide() { arrangeByMenu(ArrangeMode::SideBySide); }
void MainWindow::tileOneAboveAnother() { arrangeByMenu(ArrangeMode::OneAboveAnother); }
void MainWindow::cascade() { arrangeByMenu(ArrangeMode::Cascade); }
void MainWindow::arrangeIcons() { arrangeByMenu(ArrangeMode::Icons); }

void MainWindow::zoomViewIn()
{
    if (DocumentWindow *doc = m_workspace.activeDocument())
        doc->view()->zoomIn();
}

void MainWindow::zoomViewOut()
{
    if (DocumentWindow *doc = m_workspace.activeDocument())
        doc->view()->zoomOut();
}

void MainWindow::zoomViewActual()
{
    if (DocumentWindow *doc = m_workspace.activeDocument())
        doc->view()->setViewScale(100);
}

void MainWindow::enlargeActiveDocument()
{
    DocumentWindow *doc = m_workspace.activeDocument();
    if (!doc)
        return;
    doc->placeWindowTwips(1000, 20, 10900, 6450);
    m_workspace.arrangeMode = ArrangeMode::Free;
}

void MainWindow::showHelp()
{
    // No help file comes with the program.
    tell(this, QStringLiteral("无法显示帮助目录，没有相关联的帮助。"), windowTitle(), Icon::Information);
}

void MainWindow::showAbout()
{
    const QString cr(QLatin1Char('\r'));
    const QString text = cr + QStringLiteral("产品名称：") + QStringLiteral("  ")
        + QString::fromUtf8(ProductName) + cr + cr + QStringLiteral("版本：      1.0") + cr + cr
        + QStringLiteral("创作人：") + QStringLiteral("    ") + QString::fromUtf8(AuthorCredit);
    tell(this, text, QString::fromUtf8(ProductName));
}

} // namespace quor
