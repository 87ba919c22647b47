// What a document window needs from the main window that holds it, seen
// from below: its document area, the menus it pops up, the common dialog,
// the command switches, and the bitmap writer.
#pragma once

#include <QSize>

class QImage;
class QMdiArea;
class QMenu;
class QString;

namespace quor {

class CommonDialog;

class DocumentHost
{
public:
    virtual ~DocumentHost() = default;
    virtual QMdiArea *mdiArea() const = 0;
    // Inner size of the document area, in pixels.
    virtual QSize documentAreaSize() = 0;
    virtual QMenu *mnuedit() const = 0;
    virtual QMenu *mnuquick1() const = 0;
    virtual CommonDialog &commonDialog() = 0;
    // Enables or disables every command that needs an open document.
    virtual void hEnableDocCommands(bool enabled) = 0;
    // Writes a picture as a bitmap file; throws QuorError.
    virtual void writeBitmapFile(const QImage &image, const QString &fileName) = 0;
};

} // namespace quor
