// The program's own icon: a small painter's palette with a brush.
#pragma once

#include <QIcon>

class QPainter;

namespace quor {

QIcon quorIcon();

// Paints the icon size x size pixels large at the painter's origin; the
// build draws the installed icon files with it too.
void paintQuorIcon(QPainter &p, int size);

} // namespace quor
