// Mirrors of the floating selection, in whole pixels.
#pragma once

#include <QImage>

namespace quor::effects {

enum class Flip {
    Horizontal, // left and right exchanged
    Vertical,   // top and bottom exchanged
    Diagonal,   // both at once: a half turn
};

// Writes the mirror of source into target. False, leaving target as it was,
// when target is not Format_RGB32 or not of the source's size. Source and
// target may be the same image.
bool flip(const QImage &source, QImage &target, Flip kind);

// The mirror of source as a new Format_RGB32 image (null for a null source).
QImage flipped(const QImage &source, Flip kind);

} // namespace quor::effects
