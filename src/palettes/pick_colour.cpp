#include "palettes/pick_colour.h"

#include "document/dialog_seam.h"
#include "document/document_host.h"

#include <QMdiArea>

namespace quor {

std::optional<Colour> pickColour(DocumentHost *main, const QString &title)
{
    if (!main)
        return std::nullopt;
    // The document area's window is the main window, where every common
    // dialog stands.
    const std::optional<QColor> c = askColour(
        main->mdiArea(), title, ColourOption::StartFromColour | ColourOption::FullyOpen);
    if (!c)
        return std::nullopt;
    return fromQColor(*c);
}

} // namespace quor
