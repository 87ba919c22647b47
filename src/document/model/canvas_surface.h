// The one raster back end of the program: a persistent bitmap with the
// drawing state and operations every picture (canvas, floating selection,
// swatches, dialog pictures) is drawn through. No widget code lives here.
//
// Coordinates are in the surface's scale: twips (ScaleMode 1, 15 to a pixel)
// or pixels (ScaleMode 3). A scale position p maps to pixel floor(p / unit)
// where unit is 15 for twips and 1 for pixels: the pixel whose square holds
// the point. Sizes map the same way with a minimum of one pixel.
//
// Every figure is turned into a set of pixel spans first and each pixel of
// the set is combined once with the pen by the current DrawMode, so drawing
// a figure twice in exclusive-or mode restores the bitmap exactly.
#pragma once

#include "core/colour.h"
#include "core/draw_mode.h"
#include "core/pen_styles.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quor {

class CanvasSnapshot;

namespace raster {
class SpanList;
}

enum class ScaleMode { Twips = 1, Pixels = 3 };

// How Line draws: a segment, a box outline with the fill settings, or a box
// filled with the line colour.
enum class LineKind { Segment, Box, BoxFilled };

// Binary raster operation of draw mode 1..16 on pen P and destination D.
std::uint32_t applyDrawMode(int mode, std::uint32_t pen, std::uint32_t dest);
// Ternary raster operation (code's byte 2 is the truth table) on pattern P,
// source S and destination D.
std::uint32_t applyRop3(std::uint32_t rop, std::uint32_t pattern, std::uint32_t src,
                        std::uint32_t dest);

// The paste codes the program offers.
namespace rop {
constexpr std::uint32_t SrcCopy = 0xCC0020;
constexpr std::uint32_t SrcPaint = 0xEE0086;
constexpr std::uint32_t MergePaint = 0xBB0226;
constexpr std::uint32_t SrcInvert = 0x660046;
constexpr std::uint32_t SrcErase = 0x440328;
constexpr std::uint32_t NotSrcCopy = 0x330008;
constexpr std::uint32_t DstInvert = 0x550009;
constexpr std::uint32_t NotSrcErase = 0x1100A6;
constexpr std::uint32_t SrcAnd = 0x8800C6;
} // namespace rop

class CanvasSurface
{
public:
    static constexpr int TwipsPerPixel = 15;

    // widthPx x heightPx bitmap cleared to the back colour (white).
    explicit CanvasSurface(int widthPx = 1, int heightPx = 1);
    // A copy shares the bitmap, and with it the snapshots reading it.
    CanvasSurface(const CanvasSurface &) = default;
    CanvasSurface &operator=(const CanvasSurface &) = delete;
    ~CanvasSurface(); // hands the bitmap to snapshots still reading it

    // --- size and scale -------------------------------------------------
    ScaleMode scaleMode() const { return m_scaleMode; }
    // Converts the logical size and CurrentX/Y; the bitmap is unchanged.
    void setScaleMode(ScaleMode mode);
    double scaleWidth() const;  // in the current scale
    double scaleHeight() const;
    // Resize in the current scale; content is kept at the top-left, new area
    // takes the back colour. The scale size reads back exactly as given.
    void setScaleSize(double width, double height);
    void resizePixels(int widthPx, int heightPx);
    int widthPx() const { return m_image.width(); }
    int heightPx() const { return m_image.height(); }

    // Scale <-> pixel mapping used by every operation and by the widgets.
    int toPixelX(double x) const;
    int toPixelY(double y) const;
    int toPixelSize(double extent) const; // at least 1
    double fromPixel(int px) const;
    double unit() const; // scale units per pixel: 15 or 1

    // --- bitmaps --------------------------------------------------------
    const QImage &image() const { return m_image; } // Format_RGB32
    // The bitmap for whole-image functions that write its pixels directly;
    // call refresh() or reportChanged() when views should show them. Ask
    // anew after giving the event loop a turn (a snapshot may have begun).
    QImage &editImage();
    // The bitmap as it is now, for CanvasSnapshot::copyAll() on another
    // thread while drawing goes on.
    std::shared_ptr<CanvasSnapshot> snapshot();
    // Replaces the persistent bitmap (size included) with a copy of img.
    void setImage(const QImage &img);
    // The same without the copy: the bitmap shares img's pixels until either
    // is written.
    void shareImage(QImage img);
    // Copies pixels (Format_RGB32) into the bitmap with its top-left at
    // `at`, as they are (no raster operation).
    void putPixels(const QImage &pixels, QPoint at);
    // Takes img (Format_RGB32) as the bitmap without copying it, with the
    // logical size given in the current scale.
    void adoptImage(QImage img, double scaleWidth, double scaleHeight);
    const QImage &picture() const { return m_picture; }
    // Loads a picture beneath: the bitmap is resized to the picture and
    // cleared to the back colour with the picture drawn at the top-left.
    // A null image removes the picture and clears.
    void setPicture(QImage img);

    // --- drawing state --------------------------------------------------
    Colour foreColor() const { return m_foreColor; }
    void setForeColor(Colour c) { m_foreColor = c; }
    Colour backColor() const { return m_backColor; }
    void setBackColor(Colour c); // clears, like Cls
    Colour fillColor() const { return m_fillColor; }
    void setFillColor(Colour c) { m_fillColor = c; }
    FillStyle fillStyle() const { return m_fillStyle; }
    void setFillStyle(FillStyle s) { m_fillStyle = s; }
    LineStyle lineStyle() const { return m_lineStyle; }
    void setLineStyle(LineStyle s) { m_lineStyle = s; }
    int drawWidth() const { return m_drawWidth; } // pixels, >= 1
    void setDrawWidth(int w);
    DrawMode drawMode() const { return m_drawMode; }
    void setDrawMode(DrawMode m);
    const QFont &font() const { return m_font; }
    void setFont(const QFont &f) { m_font = f; }
    double currentX() const { return m_currentX; }
    double currentY() const { return m_currentY; }
    void setCurrentX(double x) { m_currentX = x; }
    void setCurrentY(double y) { m_currentY = y; }

    // --- operations -----------------------------------------------------
    // One point of the pen's width (clipped to the bitmap); colour defaults
    // to ForeColor. CurrentX/Y move to the point.
    void pset(double x, double y, std::optional<Colour> colour = std::nullopt);
    // RGB colour of the bitmap there, or -1 outside.
    Colour point(double x, double y) const;
    // Line (x1,y1)-(x2,y2); CurrentX/Y end at (x2,y2).
    void line(double x1, double y1, double x2, double y2,
              std::optional<Colour> colour = std::nullopt, LineKind kind = LineKind::Segment);
    // Line -(x2,y2) from CurrentX/Y; the relative step form is
    // line(cx, cy, cx + dx, cy + dy).
    void lineTo(double x2, double y2, std::optional<Colour> colour = std::nullopt,
                LineKind kind = LineKind::Segment);
    // Circle, ellipse (aspect = height / width, radius along the longer
    // axis), arc or pie between start and end (radians, counterclockwise
    // from 3 o'clock; a negative angle also draws that radius). The radius
    // is rounded to whole pixels, halves up. CurrentX/Y move to the centre.
    // The semi-axes in pixels (across, down) a circle call of that radius
    // and aspect draws: the radius along the longer axis, rounded halves up.
    QSize circleSemiAxes(double radius, double aspect) const;
    void circle(double x, double y, double radius, std::optional<Colour> colour = std::nullopt,
                std::optional<double> start = std::nullopt,
                std::optional<double> end = std::nullopt, double aspect = 1.0);
    // Stretched copy of the source rectangle (in the source image's pixels
    // when sourceInPixels, else in this surface's scale) onto the
    // destination rectangle (this surface's scale), combined by the ternary
    // raster operation. A negative source or destination extent mirrors.
    void paintPicture(const QImage &source, double dx, double dy, double dw, double dh,
                      double sx, double sy, double sw, double sh,
                      std::uint32_t rasterOp = rop::SrcCopy);
    void paintPicture(const QImage &source, double dx, double dy, double dw, double dh,
                      double sx, double sy, double sw, double sh, std::uint32_t rasterOp,
                      bool sourceInPixels);
    // Whole-picture copy at (dx, dy) in its own size.
    void paintPicture(const QImage &source, double dx, double dy,
                      std::uint32_t rasterOp = rop::SrcCopy);
    // Back colour everywhere, the picture over it at the top-left;
    // CurrentX/Y back to 0.
    void cls();
    // Text at CurrentX/Y in the font and ForeColor on a transparent ground;
    // afterwards CurrentX returns to 0 and CurrentY moves down one line
    // (or, with newline false, CurrentX moves past the text).
    void print(const QString &text, bool newline = true);
    double textWidth(const QString &text) const;  // scale units
    double textHeight(const QString &text) const; // scale units

    // --- change notification ---------------------------------------------
    // Called with the pixel rectangle every operation changed (after the
    // change), so views repaint only that and a document can track edits.
    using DamageListener = std::function<void(const QRect &)>;
    void setDamageListener(DamageListener l) { m_damage = std::move(l); }
    // Asks views to repaint everything.
    void refresh();
    // Reports pixels written through editImage(), as an operation would.
    void reportChanged(const QRect &pixels) { damage(pixels); }

private:
    void damage(const QRect &r);
    // Before pixels of the bitmap are written: the snapshots under way copy
    // those rows first.
    void aboutToWrite(const QRect &pixels);
    // Before the bitmap is let go of or replaced.
    void aboutToLetGo();
    int toPixel(double v) const; // the scale-to-pixel floor
    // False (and nothing changed) when the bitmap cannot be allocated.
    bool resizeBitmap(int widthPx, int heightPx);
    QRgb penColour(std::optional<Colour> colour) const;
    // The pen stroke a-b (width, style) into out; bandOnly gives the solid
    // stroke whatever the dash style.
    void addStroke(raster::SpanList &out, QPoint a, QPoint b, bool includeEnd,
                   bool bandOnly) const;
    // Paints fill (FillStyle, FillColor) and then outline (pen), which the
    // caller keeps disjoint, and reports the damage.
    void paintFigure(raster::SpanList &fill, raster::SpanList &outline, QRgb pen);
    // Where a wide pen centred on pixel p is centred, in pixels.
    QPointF penCentre(QPoint p) const;
    void drawBox(const QRect &box, QRgb pen);

    QImage m_image;
    QImage m_picture;
    ScaleMode m_scaleMode = ScaleMode::Twips;
    double m_scaleW = 15, m_scaleH = 15; // logical size in the current scale
    Colour m_foreColor = 0;
    Colour m_backColor = 0xffffff;
    Colour m_fillColor = 0;
    FillStyle m_fillStyle = FillStyle::Transparent;
    LineStyle m_lineStyle = LineStyle::Solid;
    int m_drawWidth = 1;
    DrawMode m_drawMode = DrawMode::CopyPen;
    QFont m_font;
    double m_currentX = 0, m_currentY = 0;
    DamageListener m_damage;
    // Snapshots still reading the bitmap through a pointer.
    std::vector<std::shared_ptr<CanvasSnapshot>> m_snapshots;
};

} // namespace quor
