// Where the whole-picture window opens and where its picture sits in it,
// as plain arithmetic on rectangles in screen pixels.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace quor {

// Top-left of the picture inside the window's inner area: centred along
// each axis where the window is larger, at 0 along the others.
QPoint wholePicturePlace(QSize inner, QSize picture);

struct WholePictureOpening
{
    QSize shown; // the picture's size on screen
    QRect inner; // the window's inner rectangle on screen
};

// The window opens at the picture's size plus its frame, centred on the
// main window's frame and kept inside the available area. A picture whose
// window would not fit is shown scaled down, aspect kept, until it does.
WholePictureOpening wholePictureOpening(QSize picture, const QRect &available, const QRect &mainFrame,
                            const QMargins &frame);

// The window's title: it says when the picture is shown smaller than it is.
QString wholePictureTitle(QSize picture, QSize shown);

} // namespace quor
