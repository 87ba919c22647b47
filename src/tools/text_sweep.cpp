#include "tools/text_sweep.h"

#include "document/model/canvas_surface.h"

#include <algorithm>
#include <cmath>

namespace quor {

namespace {

constexpr float Unit = CanvasSurface::TwipsPerPixel;

int px(float twips) { return int(std::floor(twips / Unit)); }
int pxSize(float twips) { return std::max(1, px(twips)); }

// A factor whose divisor has run out of room: the end of its run.
float ratio(float a, float b) { return b > 0 ? a / b : 1.0f; }

class Sweep
{
public:
    Sweep(float width, float height, Colour start, Colour end)
        : m_buffer(0, 0, pxSize(width), pxSize(height)), m_start(start), m_end(end)
    {
    }

    // The strip (x, y, w, h) of the buffer, twips, at factor f of the
    // rising (start to end) or falling (end to start) half.
    void add(float x, float y, float w, float h, float f, bool rising)
    {
        const QRect strip = QRect(px(x), px(y), pxSize(w), pxSize(h)) & m_buffer;
        const Colour c = rising ? gradientColour(f, m_start, m_end) : gradientColour(f, m_end, m_start);
        m_steps.push_back({strip, c});
    }

    std::vector<SweepStep> take() { return std::move(m_steps); }

private:
    QRect m_buffer;
    Colour m_start, m_end;
    std::vector<SweepStep> m_steps;
};

// Columns (direction 0) or rows (90) 15 twips wide, one a twip.
void lines(Sweep &s, float w, float h, bool columns, bool twoWay)
{
    const float extent = columns ? w : h;
    const float half = extent / 2;
    for (float i = 0; i <= extent - 14; i += 1) {
        float f;
        bool rising = true;
        if (!twoWay) {
            f = ratio(i, extent - 14);
        } else if (i < half) {
            f = ratio(i, half);
        } else {
            f = ratio(i - half, half - 14);
            rising = false;
        }
        if (columns)
            s.add(i, 0, 15, h, f, rising);
        else
            s.add(0, i, w, 15, f, rising);
    }
}

// Rectangles inset from the border: by i along the longer side and in
// proportion along the shorter one.
void rings(Sweep &s, float w, float h, bool twoWay)
{
    const bool wide = w > h;
    const float n = wide ? w / 2 - 7 : h / 2 - 7;
    const float shortHalf = wide ? h / 2 - 7 : w / 2 - 7;
    auto ring = [&](float i, float f, bool rising) {
        const float k = i * ratio(shortHalf, n);
        if (wide)
            s.add(i, k, w - 2 * i, h - 2 * k, f, rising);
        else
            s.add(k, i, w - 2 * k, h - 2 * i, f, rising);
    };
    if (!twoWay) {
        for (float i = 0; i <= n; i += 1)
            ring(i, ratio(i, n), true);
        return;
    }
    const float m = n / 2;
    for (float i = 0; i <= m; i += 1)
        ring(i, ratio(i, m), true);
    for (float i = m + 1; i <= n; i += 1)
        ring(i, ratio(i - m, m), false);
}

} // namespace

TextGradient textGradientOfKind(int gradientKind)
{
    switch (gradientKind) {
    case 0: return TextGradient::OneWay;
    case 1: return TextGradient::TwoWay;
    default: return TextGradient::None;
    }
}

TwipBox textBuffer(double left, double top, double boxWidth, double boxHeight,
                   double canvasWidth, double canvasHeight)
{
    const double l = std::max(left, 0.0), t = std::max(top, 0.0);
    return {l, t, std::min(left + boxWidth, canvasWidth) - l,
            std::min(top + boxHeight, canvasHeight) - t};
}

Colour gradientColour(float f, Colour from, Colour to)
{
    auto part = [f](int a, int b) {
        return std::clamp(roundHalfEven(float(a) + f * float(b - a)), 0, 255);
    };
    return rgbColour(part(redOf(from), redOf(to)), part(greenOf(from), greenOf(to)),
                     part(blueOf(from), blueOf(to)));
}

std::vector<SweepStep> textSweep(double width, double height, TextGradient gradient,
                                 double direction, Colour boxColour, Colour start, Colour end)
{
    const auto w = float(width), h = float(height);
    if (!(w > 0 && h > 0))
        return {}; // the box lies past the canvas: nothing of it to paint
    Sweep s(w, h, start, end);
    if (gradient == TextGradient::None || w < 28 || h < 28) {
        std::vector<SweepStep> one;
        one.push_back({QRect(0, 0, pxSize(w), pxSize(h)), boxColour});
        return one;
    }
    const bool twoWay = gradient == TextGradient::TwoWay;
    if (direction == 0)
        lines(s, w, h, true, twoWay);
    else if (direction == 90)
        lines(s, w, h, false, twoWay);
    else
        rings(s, w, h, twoWay);
    return s.take();
}

} // namespace quor
