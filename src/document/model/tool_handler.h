// What a document hands its canvas mouse events to, and what a tool may
// touch: the document, the program's drawing settings, and the overlays
// the document's window lays over the canvas (never into its bitmap).
#pragma once

#include "document/model/canvas_event.h"
#include "document/model/twips.h"

#include <functional>

class QString;

namespace quor {

class Document;
class DrawingSettings;
struct Gesture;

class ToolOverlays
{
public:
    virtual ~ToolOverlays() = default;
    // The selection tool's blinking rubber rectangle, twips.
    virtual void showSelectionBand(const TwipBox &band) = 0;
    virtual void moveSelectionBand(const TwipBox &band) = 0;
    // The frame and handles around the floating selection.
    virtual void showSelectionFrame() = 0;
    // The text entry box, shown with the focus at a canvas point.
    virtual void showTextBox() = 0;
    virtual void placeTextBox(double x, double y) = 0;
    // The arc tools' blinking guide line from the centre, twips.
    virtual void showGuide(double x1, double y1, double x2, double y2) = 0;
    // Moves the guide without touching its blinking.
    virtual void moveGuide(double x1, double y1, double x2, double y2) = 0;
    virtual void hideGuide() = 0;
    // A long drawing that lets events through begins (going) or has ended:
    // meanwhile nothing else takes input, and Escape or a request to close
    // calls stop, which ends the drawing before its next step.
    virtual void runGoing(bool going, const std::function<void()> &stop) = 0;
    // A message of a tool for the user, in a box the user must close.
    virtual void tellUser(const QString &text) = 0;
};

struct ToolContext
{
    Document &doc;
    DrawingSettings &settings;
    ToolOverlays &overlays;
    Gesture &gesture;
};

class ToolHandler
{
public:
    virtual ~ToolHandler() = default;
    // Left-button events on the canvas, after the document window has
    // applied the button rules (and, for releases, set the user's mode).
    virtual void press(ToolContext &ctx, const CanvasEvent &e) = 0;
    virtual void move(ToolContext &ctx, const CanvasEvent &e) = 0;
    virtual void release(ToolContext &ctx, const CanvasEvent &e) = 0;
    virtual void doubleClick(ToolContext &ctx) = 0;
};

} // namespace quor
