// A tool at work on a document without any window: the document, the
// drawing settings, overlays that only record what they were asked to show,
// the gesture and the tool engine. Left-button events arrive in twips the
// way the document window hands them on: a press or double click opens the
// gesture's step, a release takes the draw mode and closes it.
#pragma once

#include "core/drawing_settings.h"
#include "document/model/document.h"
#include "document/model/gesture.h"
#include "tools/tool_engine.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <memory>

// Shows nothing; keeps whether the arc tools' guide would be on screen.
class RecordedOverlays final : public quor::ToolOverlays
{
public:
    void showSelectionBand(const quor::TwipBox &) override {}
    void moveSelectionBand(const quor::TwipBox &) override {}
    void showSelectionFrame() override {}
    void showTextBox() override {}
    void placeTextBox(double, double) override {}
    void showGuide(double, double, double, double) override { guideShown = true; }
    void moveGuide(double, double, double, double) override {}
    void hideGuide() override { guideShown = false; }
    void runGoing(bool, const std::function<void()> &) override {}
    void tellUser(const QString &text) override { told << text; }

    bool guideShown = false;
    QStringList told;
};

class ToolTest : public ::testing::Test
{
public:
    ToolTest()
    {
        // What a new document's canvas takes from the settings on activation.
        quor::CanvasSurface &c = canvas();
        c.setBackColor(settings.backColour);
        c.setForeColor(settings.foreColour);
        c.setFillColor(settings.drawingColour);
        c.setDrawWidth(settings.lineWidth);
        c.setDrawMode(settings.drawMode);
        doc.resizeCanvas(6000, 4500);
    }

    quor::CanvasSurface &canvas() { return doc.canvas(); }

    void press(double x, double y)
    {
        engine.press(context, {Qt::LeftButton, {}, x, y});
    }
    void move(double x, double y)
    {
        engine.move(context, {Qt::LeftButton, {}, x, y});
        gesture.lastX = x;
        gesture.lastY = y;
    }
    void release(double x, double y)
    {
        canvas().setDrawMode(settings.drawMode);
        engine.release(context, {Qt::LeftButton, {}, x, y});
    }
    // The second press of a double click; its release ends the step.
    void doubleClick()
    {
        engine.doubleClick(context);
    }
    // Press at the first point, move through the rest, release at the last.
    void drag(const QList<QPointF> &path)
    {
        press(path.first().x(), path.first().y());
        for (const QPointF &p : path.mid(1))
            move(p.x(), p.y());
        release(path.last().x(), path.last().y());
    }

protected:
    quor::Document doc;
    quor::DrawingSettings settings;
    RecordedOverlays overlays;
    quor::Gesture gesture;
    quor::ToolEngine engine;
    quor::ToolContext context{doc, settings, overlays, gesture};
};

// A surface holding picture and drawing with the styles of canvas: where
// the expected result of a gesture is drawn.
inline std::unique_ptr<quor::CanvasSurface> surfaceLike(const QImage &picture,
                                                        const quor::CanvasSurface &canvas)
{
    auto s = std::make_unique<quor::CanvasSurface>();
    s->setImage(picture);
    s->setForeColor(canvas.foreColor());
    s->setFillColor(canvas.fillColor());
    s->setFillStyle(canvas.fillStyle());
    s->setLineStyle(canvas.lineStyle());
    s->setDrawWidth(canvas.drawWidth());
    return s;
}

// Twips of a canvas pixel.
inline double tw(int px)
{
    return px * double(quor::CanvasSurface::TwipsPerPixel);
}

// Gestures in canvas pixels, whichever way their events arrive.
class PixelGestures
{
public:
    virtual ~PixelGestures() = default;
    virtual void press(QPoint p) = 0;
    virtual void move(QPoint p) = 0;
    virtual void release(QPoint p) = 0;
    // The second press of a double click, as the toolkit reports it.
    virtual void doublePress(QPoint p) = 0;
    // Press at the first point, move through the rest, release at the last.
    void drag(const QList<QPoint> &path)
    {
        press(path.first());
        for (QPoint p : path.mid(1))
            move(p);
        release(path.last());
    }
    void click(QPoint p) { drag({p}); }
};

// The gestures on the tool fixture, as a mouse on the unscrolled canvas
// would give them.
class PixelMouse final : public PixelGestures
{
public:
    explicit PixelMouse(ToolTest &tool) : m_tool(tool) {}

    void press(QPoint p) override { m_tool.press(tw(p.x()), tw(p.y())); }
    void move(QPoint p) override { m_tool.move(tw(p.x()), tw(p.y())); }
    void release(QPoint p) override { m_tool.release(tw(p.x()), tw(p.y())); }
    void doublePress(QPoint) override { m_tool.doubleClick(); }

private:
    ToolTest &m_tool;
};
