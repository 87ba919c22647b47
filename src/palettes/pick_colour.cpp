#include "palettes/pick_colour.h"

#include "core/dialog_seam.h"
#include "document/document_host.h"

#include <QCoreApplication>

namespace quor {

namespace {
// Initial colour from Color, fully open, help button.
constexpr int ColourDialogFlags = 1 | 2 | 8;
} // namespace

std::optional<Colour> pickColour(DocumentHost *main, QWidget *parent, const QString &title)
{
    if (!main)
        return std::nullopt;
    CommonDialog &d = main->commonDialog();
    try {
        d.CancelError = true;
        d.Flags = ColourDialogFlags;
        d.DialogTitle = title;
        d.ShowColor();
        return fromQColor(d.Color);
    } catch (const QuorError &e) {
        if (e.number != err::DialogCancelled)
            msgBox(parent, QLatin1Char('\r') + e.description, mb::OkOnly,
                   QCoreApplication::applicationName());
        return std::nullopt;
    }
}

} // namespace quor
