// Undo and redo of the active document's picture.
#include "app/main_window.h"

#include "document/document_window.h"

#include <QAction>

namespace quor {

void MainWindow::undo()
{
    if (DocumentWindow *doc = m_workspace.activeDocument())
        doc->document().undo();
    updateUndoCommands();
}

void MainWindow::redo()
{
    if (DocumentWindow *doc = m_workspace.activeDocument())
        doc->document().redo();
    updateUndoCommands();
}

void MainWindow::updateUndoCommands()
{
    DocumentWindow *doc = m_workspace.activeDocument();
    if (QAction *undo = action("mnuEditUndo"))
        undo->setEnabled(doc && doc->document().canUndo());
    if (QAction *redo = action("mnuEditRedo"))
        redo->setEnabled(doc && doc->document().canRedo());
}

} // namespace quor
