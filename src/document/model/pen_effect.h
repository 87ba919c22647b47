// Many figures drawn in a row over the same pixels, each in the surface's
// draw mode, act like one: a draw mode with its pen fixed does to each
// colour bit one of 0, 1, d or not d, that is flip ^ (dest & keep), and
// such effects compose. Gradients use this to draw a run of identical
// outlines with one or two surface calls.
#pragma once

#include "core/colour.h"
#include "core/draw_mode.h"

#include <cstdint>
#include <functional>

namespace quor {

class CanvasSurface;

struct PenEffect
{
    std::uint32_t keep = 0xffffff, flip = 0;

    static PenEffect of(DrawMode mode, Colour pen);
    // This effect, then next.
    PenEffect then(const PenEffect &next) const
    {
        return {keep & next.keep, next.flip ^ (flip & next.keep)};
    }
    // This effect n times over (n >= 1): keeping is idempotent and every
    // second flip undoes the one before.
    PenEffect repeated(long long n) const
    {
        return n % 2 ? *this : PenEffect{keep, flip & ~keep};
    }
    // On a bitmap pixel (0xffRRGGBB), whose colour bits lie in the other
    // byte order.
    QRgb on(QRgb pixel) const
    {
        return 0xff000000u | ((toQRgb(Colour(flip)) ^ (pixel & toQRgb(Colour(keep)))) & 0xffffffu);
    }
    bool operator==(const PenEffect &) const = default;
};

// Draws with draw(pen) so that its pixels change as by effect: one call with
// a pen that has that effect in the surface's draw mode, or, where the mode
// has none, a mask and an exclusive-or call. The draw mode is left as it was.
void drawWithEffect(CanvasSurface &surface, const PenEffect &effect,
                    const std::function<void(Colour pen)> &draw);

} // namespace quor
