// Where and in which colour typed text reaches the canvas: the buffer the
// text is laid on, and the sweep of strips that copies it back, each strip
// in the colour of its step of the gradient.
#pragma once

#include "core/colour.h"
#include "document/model/document.h"

#include <QRect>

#include <vector>

namespace quor {

enum class TextGradient { None, OneWay, TwoWay };

// The tool palette's gradient kinds as the text tool reads them: the
// first option is one-way, the second two-way, any other ("不变") none.
TextGradient textGradientOfKind(int gradientKind);

// The buffer under a text box at (left, top) of the given size: the box,
// cut off at the canvas's edges (twips). A box dragged past the left or top
// edge loses that part too, so the buffer never outgrows the canvas however
// long the text.
TwipBox textBuffer(double left, double top, double boxWidth, double boxHeight,
                   double canvasWidth, double canvasHeight);

struct SweepStep
{
    QRect strip; // pixels of the buffer
    Colour colour;
};

// The colour at factor f (0..1) from `from` to `to`, each part rounded
// halves to even; the falling half of a two-way sweep passes (to, from).
Colour gradientColour(float f, Colour from, Colour to);

// The steps, in order, over a buffer of width x height twips. Direction 0
// sweeps columns left to right, 90 rows top to bottom, any other angle
// rectangles from the border inwards. Without a gradient, or on a buffer
// under 28 twips wide or high where the sweep has no room, one step covers
// the whole buffer in the box's colour. Later steps overwrite earlier ones.
std::vector<SweepStep> textSweep(double width, double height, TextGradient gradient,
                                 double direction, Colour boxColour, Colour start, Colour end);

} // namespace quor
