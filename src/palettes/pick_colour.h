// The colour dialog both palettes open through the main window's common
// dialog.
#pragma once

#include "document/colour.h"

#include <QString>

#include <optional>

class QWidget;

namespace quor {

class frmQuorMain;

// Shows the colour dialog titled title (initial colour from the dialog,
// fully open, help button) and returns the colour chosen. Cancel gives
// nothing, silently; any other failure is reported and gives nothing.
std::optional<Colour> pickColour(frmQuorMain *main, QWidget *parent, const QString &title);

} // namespace quor
