// Browse: the picture browser, modeless and one per main window.
#include "app/main_window.h"

#include "document/document_window.h"
#include "files/picture_browser.h"

namespace quor {

void MainWindow::showPictureBrowser()
{
    PictureBrowser *browser = nullptr;
    // A closed browser is only waiting to be deleted.
    const auto browsers = findChildren<PictureBrowser *>(QString(), Qt::FindDirectChildrenOnly);
    for (PictureBrowser *b : browsers)
        if (b->isVisible())
            browser = b;
    if (!browser) {
        PictureBrowser::Hooks hooks;
        hooks.newDocument = [this] {
            newDocumentWindow();
            // The window stays whatever the loading gives; with it on screen
            // the document commands belong enabled.
            m_workspace.enableDocumentCommands(true);
            return m_workspace.activeDocument();
        };
        hooks.documentReady = [this] {
            applyDrawingSettings();
            m_workspace.enableDocumentCommands(true);
            rememberRecentFile(m_workspace.activeDocument()->caption());
        };
        browser = new PictureBrowser(std::move(hooks), this);
        browser->setAttribute(Qt::WA_DeleteOnClose);
    }
    browser->show();
    browser->raise();
    browser->activateWindow();
}

} // namespace quor
