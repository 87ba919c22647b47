#include "tools/gradient_tools.h"

#include "core/drawing_settings.h"
#include "core/screen_rate.h"
#include "document/model/document.h"
#include "tools/shape_tools.h"

#include <QCoreApplication>
#include <QPointer>

#include <algorithm>

namespace quor {

namespace {

// A gradient drawn with the rest of the program held, taking events at
// screen rate so that the picture grows on screen and Escape or a request
// to close can stop it. The document may go meanwhile (with its window,
// which then also ends the hold); nothing of it is touched after that.
class HeldRun
{
public:
    explicit HeldRun(ToolContext &t) : m_doc(&t.doc), m_overlays(t.overlays), m_run(t.doc)
    {
        m_overlays.runGoing(true, [this] { m_stopped = true; });
    }
    ~HeldRun()
    {
        if (m_doc)
            m_overlays.runGoing(false, {});
    }
    HeldRun(const HeldRun &) = delete;
    HeldRun &operator=(const HeldRun &) = delete;

    GradientPace pace()
    {
        return {[rate = ScreenRate()]() mutable { return rate.due(); },
                [this] {
                    QCoreApplication::processEvents();
                    return m_doc && !m_stopped;
                }};
    }

private:
    QPointer<Document> m_doc;
    ToolOverlays &m_overlays;
    Document::Run m_run; // one step, with no undo or redo meanwhile
    bool m_stopped = false;
};

} // namespace

GradientColours gradientColours(const ToolContext &t)
{
    return {t.settings.startColour(), t.settings.endColour()};
}

GradientKind gradientKind(const ToolContext &t)
{
    return GradientKind(std::clamp(t.settings.gradientKind, 0, 3));
}

void GradientShapeTool::figure(ToolContext &t, double u, double v)
{
    CanvasSurface &c = t.doc.canvas();
    if (boxBand()) {
        c.line(t.gesture.startX, t.gesture.startY, u, v, std::nullopt, LineKind::Box);
        return;
    }
    EllipseFit e;
    if (fitEllipse(t.gesture.startX, t.gesture.startY, u, v, e))
        c.circle(e.cx, e.cy, e.radius, std::nullopt, std::nullopt, std::nullopt, e.aspect);
}

void GradientShapeTool::press(ToolContext &t, const CanvasEvent &e)
{
    t.doc.canvas().setFillStyle(FillStyle::Solid);
    beginRubberBand(t, e.x, e.y);
    if (boxBand())
        figure(t, e.x, e.y);
}

void GradientShapeTool::move(ToolContext &t, const CanvasEvent &e)
{
    CanvasSurface &c = t.doc.canvas();
    c.setDrawMode(DrawMode::XorPen);
    c.setFillStyle(FillStyle::Solid);
    figure(t, t.gesture.lastX, t.gesture.lastY);
    figure(t, e.x, e.y);
}

void GradientShapeTool::release(ToolContext &t, const CanvasEvent &e)
{
    CanvasSurface &c = t.doc.canvas();
    Document &d = t.doc;
    Gesture &g = t.gesture;
    // The band on the canvas is the one of the last position seen; it goes
    // whatever follows, also when the release leaves no rectangle.
    c.setDrawMode(DrawMode::XorPen);
    c.setFillStyle(FillStyle::Solid);
    figure(t, g.lastX, g.lastY);
    c.setDrawMode(t.settings.drawMode);
    if (e.x == g.startX || e.y == g.startY)
        return;

    c.setFillStyle(FillStyle::Transparent); // outlines only
    const GradientBox box = normalisedBox(g.startX, g.startY, g.lastX, g.lastY);
    g.startX = box.left;
    g.startY = box.top;
    g.lastX = box.right;
    g.lastY = box.bottom;
    const QPointer<Document> alive(&d);
    GradientResult drawn;
    {
        HeldRun run(t);
        drawn = draw(t, box, run.pace());
    }
    if (!alive)
        return;
    c.setFillStyle(FillStyle::Solid);
    if (drawn != GradientResult::Nothing)
        d.markChanged();
}

GradientResult GradientEllipseTool::draw(ToolContext &t, const GradientBox &box,
                                         const GradientPace &pace)
{
    return drawGradientEllipse(t.doc.canvas(), box, t.settings.bandWidthText,
                               gradientColours(t), gradientKind(t), pace);
}

GradientResult GradientFramesTool::draw(ToolContext &t, const GradientBox &box,
                                        const GradientPace &pace)
{
    return drawGradientFrames(t.doc.canvas(), box, t.settings.bandWidthText, gradientColours(t),
                              gradientKind(t), pace);
}

GradientResult DirectionalGradientTool::draw(ToolContext &t, const GradientBox &box,
                                             const GradientPace &pace)
{
    return drawDirectionalGradient(t.doc.canvas(), box, t.settings.gradientAngle,
                                   gradientColours(t), gradientKind(t), pace);
}

bool GradientArcBandTool::finish(ToolContext &t)
{
    const ArcGesture &g = t.gesture.arc;
    const QPointer<Document> alive(&t.doc);
    GradientResult drawn;
    {
        HeldRun run(t);
        drawn = drawGradientArcBand(t.doc.canvas(), arcCircleOf(g), g.pointerAngle,
                                    t.settings.bandWidthText, gradientColours(t),
                                    gradientKind(t), run.pace());
    }
    return alive && drawn != GradientResult::Nothing;
}

} // namespace quor
