// The Image menu's whole-picture operations: quarter and half turns, the
// negative, grey, and a new size. Each makes a new Format_RGB32 picture
// from the source and leaves the source alone; a null result means the
// new picture could not be had (or the source was null).
#pragma once

#include <QImage>
#include <QSize>

namespace quor::effects {

enum class Turn {
    Right, // a quarter turn clockwise
    Left,  // a quarter turn counterclockwise
    Half,
};

QImage turned(const QImage &source, Turn turn);
// Every colour channel c becomes 255 - c.
QImage inverted(const QImage &source);
// Each pixel the grey of its luma, (77 R + 150 G + 29 B + 128) / 256.
QImage greyed(const QImage &source);
// The source stretched to size: smooth blends neighbouring pixels, else
// each new pixel takes the nearest old one.
QImage scaled(const QImage &source, QSize size, bool smooth);

} // namespace quor::effects
