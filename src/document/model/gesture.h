// What a gesture on a document's canvas has seen so far, kept by the
// document's window and handed to the tools with every event.
#pragma once

#include "document/model/document.h"

#include <optional>

namespace quor {

// The two phases of the arc, sector and gradient arc band tools, which
// share them: the guide from the centre to a point on the circle, what the
// second press read from it, and the pointer's direction.
struct ArcGesture
{
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0; // the guide, twips
    double cx = 0, cy = 0, radius = 0;
    double guideAngle = 0;   // the guide's direction
    double pointerAngle = 0; // the pointer's direction
    // The guide is on the canvas and the second phase is due.
    bool guidePlaced = false;
    // Which press is under way, so that a release only finishes what its
    // own press began (the second press of a double click comes without one).
    bool placing = false;  // the first press is dragging the guide
    bool pointing = false; // the second press's rubber band is on the canvas
};

struct Gesture
{
    // Where the press began; while a picture floats, its top-left corner
    // after the last drag or resize, where the next paste goes.
    double startX = 0, startY = 0;
    // The last pointer position a move reported.
    double lastX = 0, lastY = 0;
    // A polyline goes on from the last release at the next press.
    bool polylineGoing = false;
    ArcGesture arc;
    // The selection tool's rubber rectangle, twips.
    TwipBox selectionBand;
    // A figure from press to release is one step of the history.
    std::optional<Document::Step> step;
};

} // namespace quor
