// The toolbar's pictures, by image key: the desktop's icon theme where it
// has a fitting picture, our own drawings for the rest.
#pragma once

#include <QIcon>
#include <QString>

namespace quor {

// Makes the icon theme usable: a desktop without a theme of its own (a bare
// X server, the offscreen platform) gets Adwaita.
void ensureIconTheme();

// The picture for one of the 24 image keys ("New", "Open", … "Help");
// a null icon for any other key. A theme picture the theme lacks falls back
// to a drawn tile, so no key of the table ever shows a blank button.
QIcon toolbarIcon(const QString &imageKey);

// True when the key's picture is meant to come from the icon theme.
bool isThemeIcon(const QString &imageKey);

} // namespace quor
