// The colour dialog both palettes open through the main window's common
// dialog.
#pragma once

#include "core/colour.h"

#include <QString>

#include <optional>

#include <QWidget>

namespace quor {

class DocumentHost;

// Shows the colour dialog titled title (initial colour from the dialog,
// fully open, help button) and returns the colour chosen. Cancel gives
// nothing, silently; any other failure is reported and gives nothing.
std::optional<Colour> pickColour(DocumentHost *main, QWidget *parent, const QString &title);

} // namespace quor
