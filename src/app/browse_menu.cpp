// Browse: the picture browser, modeless and one per main window.
#include "app/main_window.h"

#include "document/edit_window.h"
#include "files/open_browser.h"

namespace quor {

void frmQuorMain::Hexplor_Click()
{
    FrmQuorOpenfile *browser = nullptr;
    // A closed browser is only waiting to be deleted.
    const auto browsers = findChildren<FrmQuorOpenfile *>(QString(), Qt::FindDirectChildrenOnly);
    for (FrmQuorOpenfile *b : browsers)
        if (b->isVisible())
            browser = b;
    if (!browser) {
        FrmQuorOpenfile::Hooks hooks;
        hooks.newDocument = [this] {
            hNewEditWindow();
            // The window stays whatever the loading gives; with it on screen
            // the document commands belong enabled.
            m_state.hEnableDocCommands(true);
            return m_state.hActiveEdit.data();
        };
        hooks.documentReady = [this] {
            applyDrawingSettings();
            m_state.hEnableDocCommands(true);
        };
        browser = new FrmQuorOpenfile(std::move(hooks), this);
        browser->setAttribute(Qt::WA_DeleteOnClose);
    }
    browser->show();
    browser->raise();
    browser->activateWindow();
}

} // namespace quor
