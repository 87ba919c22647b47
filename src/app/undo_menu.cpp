// Undo and redo of the active document's picture.
#include "app/main_window.h"

#include "document/edit_window.h"

#include <QAction>

namespace quor {

void frmQuorMain::mnuEditUndo_Click()
{
    if (frmquoredit *doc = m_state.hActiveEdit)
        doc->document().undo();
    updateUndoCommands();
}

void frmQuorMain::mnuEditRedo_Click()
{
    if (frmquoredit *doc = m_state.hActiveEdit)
        doc->document().redo();
    updateUndoCommands();
}

void frmQuorMain::updateUndoCommands()
{
    frmquoredit *doc = m_state.hActiveEdit;
    if (QAction *undo = action("mnuEditUndo"))
        undo->setEnabled(doc && doc->document().canUndo());
    if (QAction *redo = action("mnuEditRedo"))
        redo->setEnabled(doc && doc->document().canRedo());
}

} // namespace quor
