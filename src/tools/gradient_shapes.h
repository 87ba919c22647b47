// The gradient figures: the gradient ellipse (tool 11), the inside-outside
// gradient rectangle (12), the directional gradient rectangle (13) and the
// gradient arc band (14). Each is a sequence of outlines one twip apart, each
// in its own interpolated colour, drawn in order through the canvas surface
// with its current draw mode, pen and styles.
//
// The emit functions produce the outlines; the draw functions paint them
// with the gradient painter, which gives the picture drawing every outline
// in order gives, with the pixels between the rings of the round figures
// filled as well.
#pragma once

#include "document/model/gradient_painter.h"
#include "tools/arc_geometry.h"

#include <QString>

#include <optional>

namespace quor {

// The band width the palette's box holds, in twips; nothing when the text
// is not a finite number of at least 0.
std::optional<double> bandWidthOf(const QString &text);

// The innermost outline of a round figure of outer radius `outer`: a band of
// width `band` along the outside, or from radius 1 when the band is 0 or
// wider than the figure.
double innerRadius(double outer, double band);

// A rectangle with left <= right and top <= bottom.
struct GradientBox
{
    double left = 0, top = 0, right = 0, bottom = 0;

    double width() const { return right - left; }
    double height() const { return bottom - top; }
};
GradientBox normalisedBox(double x0, double y0, double x1, double y1);

// The palette's four gradient kinds. The ellipse and the rectangles know one
// way and two way only: anything but OneWay runs two way.
enum class GradientKind {
    OneWay,      // across the band, start colour inside
    TwoWay,      // start, end in the middle, start again
    AlongOneWay, // arc band: along the arc from the guide
    AlongTwoWay,
};

struct GradientColours
{
    Colour start = 0, end = 0;
};

// The outlines of each figure. Degenerate figures (no width or height, no
// room between the innermost and outermost outline) give none. False when
// the sink stopped the gradient.
bool emitGradientEllipse(const GradientBox &box, double band, const GradientColours &colours,
                         GradientKind kind, OutlineSink &sink);
bool emitGradientFrames(const GradientBox &box, double band, const GradientColours &colours,
                        GradientKind kind, OutlineSink &sink);
// angle: the direction of the colour change in degrees, 0 (left to right)
// to 180; 90 runs top to bottom.
bool emitDirectionalGradient(const GradientBox &box, double angle,
                             const GradientColours &colours, GradientKind kind,
                             OutlineSink &sink);
// Between the pointer direction arcAngle and the guide's direction, like the
// final arc.
bool emitGradientArcBand(const ArcCircle &circle, double arcAngle, double band,
                         const GradientColours &colours, GradientKind kind, OutlineSink &sink);

enum class GradientResult {
    Drawn,
    Stopped, // show said stop; the outlines before it are drawn
    Nothing, // a box text that is no number, or a degenerate figure
};

// The gradient tools' drawing. The band width comes as the palette's box
// text. They leave the surface's styles and draw mode as they found them.
GradientResult drawGradientEllipse(CanvasSurface &surface, const GradientBox &box,
                                   const QString &bandText, const GradientColours &colours,
                                   GradientKind kind, const GradientPace &pace = {});
GradientResult drawGradientFrames(CanvasSurface &surface, const GradientBox &box,
                                  const QString &bandText, const GradientColours &colours,
                                  GradientKind kind, const GradientPace &pace = {});
GradientResult drawDirectionalGradient(CanvasSurface &surface, const GradientBox &box,
                                       double angle, const GradientColours &colours,
                                       GradientKind kind, const GradientPace &pace = {});
GradientResult drawGradientArcBand(CanvasSurface &surface, const ArcCircle &circle,
                                   double arcAngle, const QString &bandText,
                                   const GradientColours &colours, GradientKind kind,
                                   const GradientPace &pace = {});

} // namespace quor
