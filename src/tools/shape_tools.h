// Rubber-banded figures drawn in the canvas's own colours and styles: the
// rectangle (tool 4) and the ellipse (tool 3).
#pragma once

#include "tools/rubber_band_tool.h"

namespace quor {

class CanvasSurface;

// The ellipse inscribed in the rectangle with corners (x0, y0) and (x1, y1):
// centre, radius (half the larger side) and aspect (height / width). Empty
// for a rectangle without width or height.
struct EllipseFit
{
    float cx, cy, radius, aspect;
};
bool fitEllipse(double x0, double y0, double x1, double y1, EllipseFit &out);

class RectangleTool : public RubberBandFigureTool
{
protected:
    void figure(ToolContext &t, double u, double v) override;
    bool visibleAtZeroSize() const override { return true; }
};

class EllipseTool : public RubberBandFigureTool
{
protected:
    void figure(ToolContext &t, double u, double v) override;
    bool visibleAtZeroSize() const override { return false; }
};

// Polyline (tool 5): a chain of segments across presses, ended by a
// double click.
class PolylineTool : public RubberBandFigureTool
{
public:
    void press(ToolContext &t, const CanvasEvent &e) override;
    void release(ToolContext &t, const CanvasEvent &e) override;
    void doubleClick(ToolContext &t) override;

protected:
    void figure(ToolContext &t, double u, double v) override;
    bool visibleAtZeroSize() const override { return true; }
};

// Dots (tool 7): one point of the pen's width per pointer event.
class DotsTool : public Tool
{
public:
    void move(ToolContext &t, const CanvasEvent &e) override;
    void release(ToolContext &t, const CanvasEvent &e) override;
};

} // namespace quor
