// Window-menu arrangement and the Help menu.
#include "app/main_window.h"
#include "document/edit_window.h"
#include "document/window_layout.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

namespace quor {

void frmQuorMain::arrange(int code)
{
    switch (code) {
    case 0: {
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
    case 1: // one above another, each the full width
    case 2: { // side by side, each the full height
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
            if (code == 1) {
                const int h = area.height() / n;
                wins[i]->setGeometry(0, i * h, area.width(), i == n - 1 ? area.height() - i * h : h);
            } else {
                const int w = area.width() / n;
                wins[i]->setGeometry(i * w, 0, i == n - 1 ? area.width() - i * w : w, area.height());
            }
        }
        break;
    }
    case 3: {
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
    }
}

void frmQuorMain::arrangeByMenu(int code)
{
    if (!m_state.hActiveEdit)
        return;
    arrange(code);
    m_state.hArrangeMode = std::int16_t(code);
}

void frmQuorMain::mnuWindowTileHorizontal_Click() { arrangeByMenu(2); }
void frmQuorMain::mnuWindowTileVertical_Click() { arrangeByMenu(1); }
void frmQuorMain::mnuWindowCascade_Click() { arrangeByMenu(0); }
void frmQuorMain::mnuWindowArrangeIcons_Click() { arrangeByMenu(3); }

void frmQuorMain::mnuWindowmax_Click()
{
    frmquoredit *doc = m_state.hActiveEdit;
    if (!doc)
        return;
    doc->moveWindow(1000, 20, 10900, 6450);
    m_state.hArrangeMode = 4;
}

void frmQuorMain::mnuHelpContents_Click()
{
    // No help file comes with the program.
    msgBox(this, QStringLiteral("无法显示帮助目录，没有相关联的帮助。"), mb::Information,
           windowTitle());
}

void frmQuorMain::mnuHelpAbout_Click()
{
    const QString cr(QLatin1Char('\r'));
    const QString text = cr + QStringLiteral("产品名称：") + QStringLiteral("  ")
        + QString::fromUtf8(ProductName) + cr + cr + QStringLiteral("版本：      1.0") + cr + cr
        + QStringLiteral("创作人：") + QStringLiteral("    ") + QString::fromUtf8(AuthorCredit);
    msgBox(this, text, mb::OkOnly, QString::fromUtf8(ProductName));
}

} // namespace quor
