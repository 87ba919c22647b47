// The Effects menu's four filters and the Edit menu's three flips, all on
// the active document's floating selection.
#include "app/main_window.h"

#include "document/document_window.h"
#include "document/model/picture_commands.h"
#include "effects/flips.h"
#include "effects/neighbourhood_filters.h"

namespace quor {

namespace {

using Filter = bool (*)(const QImage &, QImage &, const effects::RowProgress &);

// unwritten: the frame the filter leaves as it was.
void runFilter(DocumentWindow *doc, Filter filter, const QMargins &unwritten)
{
    if (!doc)
        return;
    doc->runOnSelection([filter](const QImage &source, QImage &target,
                                 const std::function<void(int)> &rowDone) {
        filter(source, target, rowDone);
    }, unwritten);
}

bool oilWithSharedRandom(const QImage &source, QImage &target, const effects::RowProgress &p)
{
    return effects::oil(source, target, p);
}

// The mirror goes into the scratch picture, which keeps it, and from there
// back into the selection; the two share its one bitmap.
void flipSelection(DocumentWindow *doc, effects::Flip kind)
{
    if (!doc || !doc->document().hasFloatingSelection())
        return;
    Document &d = doc->document();
    const QImage mirrored = effects::flipped(d.selection().image(), kind);
    if (mirrored.isNull())
        return;
    commands::mirrorSelection(d, mirrored);
}

} // namespace

void MainWindow::softenSelection()
{
    runFilter(m_workspace.activeDocument(), &effects::soften, QMargins(1, 1, 1, 1));
}

void MainWindow::sharpenSelection()
{
    runFilter(m_workspace.activeDocument(), &effects::sharpen, QMargins(1, 1, 1, 1));
}

void MainWindow::oilPaintSelection()
{
    runFilter(m_workspace.activeDocument(), &oilWithSharedRandom, QMargins(2, 2, 2, 2));
}

// The right column and the bottom row too take their upper-left neighbour's difference.
void MainWindow::embossSelection()
{
    runFilter(m_workspace.activeDocument(), &effects::emboss, QMargins(1, 1, 0, 0));
}

void MainWindow::flipSelectionHorizontally()
{
    flipSelection(m_workspace.activeDocument(), effects::Flip::Horizontal);
}

void MainWindow::flipSelectionVertically()
{
    flipSelection(m_workspace.activeDocument(), effects::Flip::Vertical);
}

void MainWindow::flipSelectionDiagonally()
{
    flipSelection(m_workspace.activeDocument(), effects::Flip::Diagonal);
}

} // namespace quor
