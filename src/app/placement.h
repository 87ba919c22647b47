// The main window's saved placement, in twips, in the per-user settings.
#pragma once

#include <QSettings>
#include <QString>

namespace quor {

struct Placement
{
    double left = 1000, top = 1000, width = 6500, height = 6500;
};

// The per-user settings file: <config>/quor/quor.conf.
QSettings settingsFile();

// Group "Settings" of the settings file.
Placement readPlacement();
void writePlacement(const Placement &p);
// "AutosaveSeconds": how long after its last change a changed document is
// written for recovery; 0 turns autosave off.
int readAutosaveSeconds();

} // namespace quor
