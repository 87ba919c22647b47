// Ctrl+F6 and Ctrl+Shift+F6: the keyboard focus goes round the document,
// the tool palette and the colour palette, forwards and backwards.
#include "app/main_window.h"
#include "document/document_window.h"
#include "palettes/colour_palette.h"
#include "palettes/tool_palette.h"

#include <QAction>
#include <QApplication>

namespace quor {

void MainWindow::buildPaneKeys()
{
    const struct
    {
        const char *name, *keys;
        int step;
    } paneKeys[] = {{"actNextPane", "Ctrl+F6", 1}, {"actPreviousPane", "Ctrl+Shift+F6", -1}};
    for (const auto &k : paneKeys) {
        auto *a = new QAction(this);
        a->setObjectName(QLatin1String(k.name));
        a->setShortcut(QKeySequence(QLatin1String(k.keys)));
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
        connect(a, &QAction::triggered, this, [this, step = k.step] { focusNextPane(step); });
    }
}

void MainWindow::focusNextPane(int step)
{
    enum { Document, Tools, Colours, PaneCount };
    const auto holds = [](QWidget *pane, QWidget *w) { return w && (w == pane || pane->isAncestorOf(w)); };
    QWidget *focus = QApplication::focusWidget();
    const int at = holds(m_tools, focus) ? Tools : holds(m_colours, focus) ? Colours : Document;
    // A pane that cannot take the focus (no document open) is passed over.
    for (int k = 1; k < PaneCount; ++k) {
        switch (((at + step * k) % PaneCount + PaneCount) % PaneCount) {
        case Document:
            if (DocumentWindow *doc = m_workspace.activeDocument()) {
                // Back to what had the focus in the document: the canvas,
                // the text box, or the window itself.
                QWidget *w = doc->focusWidget();
                (w && w->isVisible() ? w : doc)->setFocus(Qt::ShortcutFocusReason);
                return;
            }
            break;
        case Tools:
            if (m_tools->isVisible()) {
                m_tools->takeKeyboardFocus();
                return;
            }
            break;
        default:
            if (m_colours->isVisible()) {
                m_colours->takeKeyboardFocus();
                return;
            }
            break;
        }
    }
}

} // namespace quor
