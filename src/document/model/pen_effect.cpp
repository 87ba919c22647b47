#include "document/model/pen_effect.h"

#include "document/model/canvas_surface.h"

namespace quor {

PenEffect PenEffect::of(DrawMode mode, Colour pen)
{
    const std::uint32_t p = std::uint32_t(pen) & 0xffffff;
    const std::uint32_t at0 = applyDrawMode(int(mode), p, 0) & 0xffffff;
    const std::uint32_t at1 = applyDrawMode(int(mode), p, 0xffffff) & 0xffffff;
    return {at0 ^ at1, at0};
}

void drawWithEffect(CanvasSurface &surface, const PenEffect &effect,
                    const std::function<void(Colour pen)> &draw)
{
    // The pen chosen bit by bit: where a 0 or a 1 pen bit has the effect.
    const DrawMode mode = surface.drawMode();
    const PenEffect by0 = PenEffect::of(mode, 0), by1 = PenEffect::of(mode, 0xffffff);
    const auto matching = [&](const PenEffect &p) {
        return ~((p.keep ^ effect.keep) | (p.flip ^ effect.flip)) & 0xffffffu;
    };
    const std::uint32_t with0 = matching(by0), with1 = matching(by1);
    if ((with0 | with1) == 0xffffffu) {
        draw(Colour(with1 & ~with0 & 0xffffffu));
        return;
    }
    // Some modes (not-merge and the like) cannot: keep the bits that stay
    // with a mask pen, then flip with an exclusive-or pen.
    surface.setDrawMode(DrawMode::MaskPen);
    draw(Colour(effect.keep));
    surface.setDrawMode(DrawMode::XorPen);
    draw(Colour(effect.flip));
    surface.setDrawMode(mode);
}

} // namespace quor
