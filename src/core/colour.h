// Colour and number helpers shared by every subsystem.
//
// A colour is packed as red + 256 * green + 65536 * blue; -1 stands for
// "no colour" (Point outside a picture).
#pragma once

#include <QColor>
#include <QRgb>
#include <cstdint>

namespace quor {

using Colour = std::int32_t;

constexpr Colour rgbColour(int red, int green, int blue)
{
    return red + 256 * green + 65536 * blue;
}
constexpr int redOf(Colour c) { return c % 256; }
constexpr int greenOf(Colour c) { return (c % 65536) / 256; }
constexpr int blueOf(Colour c) { return c / 65536; }

// Conversions to and from the bitmap's 0xAARRGGBB pixels. Only the low 24
// bits of a colour count, so a stray -1 cannot spill into the alpha byte.
constexpr QRgb toQRgb(Colour c)
{
    const auto bits = std::uint32_t(c);
    return 0xff000000u | ((bits & 0xffu) << 16) | (bits & 0xff00u) | ((bits >> 16) & 0xffu);
}
constexpr Colour fromQRgb(QRgb p)
{
    return rgbColour(int((p >> 16) & 0xff), int((p >> 8) & 0xff), int(p & 0xff));
}
inline QColor toQColor(Colour c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }
inline Colour fromQColor(const QColor &q) { return rgbColour(q.red(), q.green(), q.blue()); }

// Real to integer: nearest, halves to the even neighbour.
int roundHalfEven(double v);

} // namespace quor
