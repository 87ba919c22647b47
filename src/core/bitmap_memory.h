// Memory for large bitmaps. A fresh 8000 x 8000 picture in ordinary pages
// costs some 65 000 page faults, several times the time of writing it once;
// in huge pages it costs a few hundred. Small pictures take Qt's own memory.
#pragma once

#include <QImage>

namespace quor {

// An uninitialised bitmap of the given size, or a null image when the
// memory cannot be had.
QImage newBitmap(QSize size, QImage::Format format = QImage::Format_RGB32);
inline QImage newBitmap(int width, int height, QImage::Format format = QImage::Format_RGB32)
{
    return newBitmap(QSize(width, height), format);
}

// A copy of a picture in memory from newBitmap(); null when it cannot be had.
QImage copiedBitmap(const QImage &source);

} // namespace quor
