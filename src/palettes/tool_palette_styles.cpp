// The style boxes of the tool palette: their samples, the single border of
// each group's choice, and what a click stores.
#include "palettes/tool_palette.h"

#include "document/workspace.h"
#include "document/document_window.h"
#include "document/picture_box.h"
#include "palettes/accessible_button.h"
#include "palettes/box_click.h"

namespace quor {

namespace {

// The face the samples are drawn on; a light grey sample would vanish on
// it, which is why the foreground rule draws light grey samples white.
constexpr Colour SampleFace = rgbColour(192, 192, 192);

const QString BorderName = QStringLiteral("hBorder");

OverlayShape *borderOf(const PictureBox *box)
{
    return box->findChild<OverlayShape *>(BorderName, Qt::FindDirectChildrenOnly);
}

void drawFillSample(StyleFamily f, CanvasSurface &s)
{
    switch (f) {
    case StyleFamily::Rectangle:
        s.line(90, 10, 540, 175, std::nullopt, LineKind::Box);
        break;
    case StyleFamily::Ellipse:
        s.circle(350, 97, 300, std::nullopt, std::nullopt, std::nullopt, 0.28);
        break;
    case StyleFamily::Sector:
        // Both angles negative, so the two radii are drawn.
        s.circle(630, 97, 540, std::nullopt, -56.52 / 17, -50.24 / 17);
        break;
    default:
        break;
    }
}

constexpr StyleFamily shapeFamilies[] = {StyleFamily::Rectangle, StyleFamily::Ellipse, StyleFamily::Sector};

} // namespace

void ToolPalette::buildStyleBoxes()
{
    for (StyleFamily f : AllStyleFamilies) {
        QWidget *frame = m_frames[styleFamilyFrame(f) - 1];
        for (int i = 1; i <= styleBoxCount(f); ++i) {
            auto *box = new PictureBox(styleBoxName(f, i), frame);
            const BoxPlace p = styleBoxPlace(f, i);
            box->moveTwips(p.left, p.top, p.width, p.height);
            box->setToolTip(styleBoxTip(f, i));
            box->setAccessibleName(styleBoxTip(f, i));
            box->setAccessibleDescription(isFillBox(f, i) ? QStringLiteral("填充样式")
                                                          : QStringLiteral("线型"));
            CanvasSurface &s = box->surface();
            s.setBackColor(SampleFace);
            if (isFillBox(f, i))
                s.setFillStyle(boxFillStyle(i));
            else
                s.setLineStyle(boxLineStyle(f, i));
            auto *border = new OverlayShape(OverlayShape::Rectangle, BorderName, box);
            border->moveTwips(0, 0, p.width, p.height);
            onBoxClick(box, this, [this, f, i] { chooseStyleBox(f, i); });
            makeAccessibleButton(box, {[this, f, i] { chooseStyleBox(f, i); },
                                       [box] { return borderStyleOf(box) == 1; }});
            m_boxes[int(f)].append(box);
        }
    }
}

int ToolPalette::borderStyleOf(const PictureBox *box)
{
    const OverlayShape *b = box ? borderOf(box) : nullptr;
    return b && b->isVisible() ? 1 : 0;
}

void ToolPalette::chooseStyleBox(StyleFamily f, int i)
{
    DocumentWindow *doc = activeDocument();
    if (!doc)
        return;
    const bool fill = isFillBox(f, i);
    for (int k = 1; k <= styleBoxCount(f); ++k)
        if (isFillBox(f, k) == fill) {
            OverlayShape *border = borderOf(styleBox(f, k));
            if (border->isVisible() != (k == i)) {
                border->setVisible(k == i);
                announceCheckedChange(styleBox(f, k));
            }
        }
    Document &d = doc->document();
    if (fill) {
        m_workspace.settings.fillStyle = boxFillStyle(i);
        d.setFillStyle(boxFillStyle(i));
    } else {
        m_workspace.settings.lineStyle = boxLineStyle(f, i);
        d.setLineStyle(boxLineStyle(f, i));
    }
}

void ToolPalette::drawLineSamples()
{
    const Colour d = m_workspace.settings.drawingColour;
    for (PictureBox *box : m_boxes[int(StyleFamily::Line)]) {
        box->surface().cls();
        box->surface().line(90, 157, 540, 157, d);
    }
    for (PictureBox *box : m_boxes[int(StyleFamily::GradientLine)]) {
        box->surface().cls();
        box->surface().line(90, 80, 540, 80, d);
    }
}

void ToolPalette::drawShapeLineSamples()
{
    // Boxes 9..14; box 15 is the invisible line and shows nothing.
    for (StyleFamily f : shapeFamilies)
        for (int i = 9; i <= 14; ++i) {
            CanvasSurface &s = styleBox(f, i)->surface();
            s.cls();
            s.line(90, 97, 540, 97);
        }
}

void ToolPalette::drawFillSamples()
{
    for (StyleFamily f : shapeFamilies)
        for (int i = 1; i <= 8; ++i) {
            CanvasSurface &s = styleBox(f, i)->surface();
            s.cls();
            drawFillSample(f, s);
        }
}

void ToolPalette::applyDrawingColour()
{
    const Colour d = m_workspace.settings.drawingColour;
    drawLineSamples();
    drawShapeLineSamples();
    for (StyleFamily f : shapeFamilies)
        for (int i = 1; i <= 8; ++i)
            styleBox(f, i)->surface().setFillColor(d);
    if (DocumentWindow *doc = activeDocument())
        doc->document().setFillColour(d);
    drawFillSamples();
}

void ToolPalette::applySampleForeColour(Colour c)
{
    for (StyleFamily f : shapeFamilies)
        for (int i = 1; i <= 14; ++i)
            styleBox(f, i)->surface().setForeColor(c);
    drawShapeLineSamples();
    drawFillSamples();
}

} // namespace quor
