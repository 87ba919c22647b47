// The program-wide drawing values the palettes and menus set: what the
// next gesture draws with. The canvases keep their own drawing state and
// take from here only what activation and the tools ask for.
#pragma once

#include "core/colour.h"
#include "core/draw_mode.h"
#include "core/pen_styles.h"
#include "core/tool_id.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>

namespace quor {

class DrawingSettings : public QObject
{
    Q_OBJECT
public:
    ToolId tool = ToolId::Select;
    // The tool the colour picker hands back to after its pick.
    ToolId toolBeforePick = ToolId::Select;
    // Empty until first chosen.
    std::optional<FillStyle> fillStyle;
    std::optional<LineStyle> lineStyle;
    // The tool palette's width box, rounded: the pen width in pixels.
    int lineWidth = 1;

    // The colour palette's three working colours.
    Colour drawingColour = 0;    // lines, polylines, dots, arcs; fill colour
    Colour foreColour = 0;       // rectangles, ellipses, sectors, text
    Colour backColour = 0xffffff;

    // The first checked draw-mode entry (copy pen when none) and the raster
    // operation of the first checked paste-mode entry.
    DrawMode drawMode = DrawMode::CopyPen;
    std::uint32_t pasteRasterOp = 0xCC0020;

    // Gradient colours, direction and kind, and the band-width box's text
    // as typed (a text that is no number draws nothing).
    int startRed = 239, startGreen = 239, startBlue = 239;
    int endRed = 127, endGreen = 127, endBlue = 127;
    double gradientAngle = 0;
    // 0 across one way, 1 across two ways, 2 along one way, 3 along two ways.
    int gradientKind = 0;
    QString bandWidthText = QStringLiteral("0");

    Colour startColour() const { return rgbColour(startRed, startGreen, startBlue); }
    Colour endColour() const { return rgbColour(endRed, endGreen, endBlue); }

    // A tool that sets the pen width for the user (zoom) asks the width
    // box to show it; the box passes it on as if typed.
    void requestLineWidth(int width) { emit lineWidthRequested(width); }
    // The colour picker took a colour from a picture: the colour palette
    // makes it the drawing colour, or with asBackground the background one.
    void takeColour(Colour c, bool asBackground) { emit colourTaken(c, asBackground); }

signals:
    void lineWidthRequested(int width);
    void colourTaken(Colour c, bool asBackground);
};

} // namespace quor
