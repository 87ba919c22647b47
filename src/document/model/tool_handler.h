// What a document hands its canvas mouse events to, and what a tool may
// touch: the document, the program's drawing settings, and the overlays
// the document's window lays over the canvas (never into its bitmap).
#pragma once

#include <functional>

class QObject;

namespace quor {

class Document;
class DrawingSettings;

class ToolOverlays
{
public:
    virtual ~ToolOverlays() = default;
    // The selection tool's blinking rubber rectangle, twips.
    virtual void showSelectionBand(double left, double top, double width, double height) = 0;
    virtual void moveSelectionBand(double left, double top, double width, double height) = 0;
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
    // Where messages of a tool are shown from.
    virtual QObject *messageParent() = 0;
};

struct ToolContext
{
    Document &doc;
    DrawingSettings &settings;
    ToolOverlays &overlays;
};

class ToolHandler
{
public:
    virtual ~ToolHandler() = default;
    // Left-button events on the canvas, after the document window has
    // applied the button rules (and, for releases, set the user's mode).
    virtual void mouseDown(ToolContext &ctx, int shift, double x, double y) = 0;
    virtual void mouseMove(ToolContext &ctx, int shift, double x, double y) = 0;
    virtual void mouseUp(ToolContext &ctx, int shift, double x, double y) = 0;
    virtual void dblClick(ToolContext &ctx) = 0;
};

} // namespace quor
