// Where a picture lands on a printed page.
#pragma once

#include <QRectF>
#include <QSize>

namespace quor {

// Screen pixels to an inch: a picture prints at the size it has on screen.
constexpr double PicturePixelsPerInch = 96.0;

// The rectangle, in device units, that a picture of `picturePx` pixels
// covers on a device of `dpiX` x `dpiY` units to an inch: its natural size
// at 96 pixels to an inch, at the top-left of `printable`, shrunk with its
// aspect kept when it does not fit. Empty when there is nothing to print
// or nowhere to print it.
QRectF printPlacement(QSize picturePx, const QRectF &printable, double dpiX, double dpiY);

} // namespace quor
