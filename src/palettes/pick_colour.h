// The colour dialog both palettes and the Edit menu open, standing over
// the main window.
#pragma once

#include "core/colour.h"

#include <QString>

#include <optional>

namespace quor {

class DocumentHost;

// Shows the colour dialog titled title (opening on the colour last chosen,
// fully open) and returns the colour chosen; nothing on cancel, silently,
// or without a main window.
std::optional<Colour> pickColour(DocumentHost *main, const QString &title);

} // namespace quor
