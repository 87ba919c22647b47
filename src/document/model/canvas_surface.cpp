#include "document/model/canvas_surface.h"

#include "document/model/canvas_snapshot.h"

#include "core/bitmap_memory.h"
#include "core/two_halves.h"
#include "document/model/raster_figures.h"
#include "document/model/raster_ops.h"
#include "document/model/raster_spans.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace quor {

using raster::SpanList;

namespace {

// Positions a hair below a pixel boundary through floating-point noise
// (0.1 * 30 and the like) still land on the pixel they name.
constexpr double FloorSlack = 1e-9;
// Far enough off the bitmap for any figure; keeps pixel arithmetic in int.
constexpr double CoordLimit = double(1 << 29);
constexpr double TwoPi = 2 * std::numbers::pi;

int floorToPixel(double v)
{
    if (std::isnan(v))
        return 0;
    return int(std::clamp(std::floor(v + FloorSlack), -CoordLimit, CoordLimit));
}

// Circle radii are rounded to the nearest pixel, halves up.
int radiusPixels(double r)
{
    return int(std::clamp(std::floor(r + 0.5), 0.0, CoordLimit / 4));
}

QRect spanning(QPoint a, QPoint b)
{
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

void copyRows(QImage &dst, const QImage &src)
{
    const int w = std::min(dst.width(), src.width()), h = std::min(dst.height(), src.height());
    for (int y = 0; y < h; ++y)
        std::memcpy(dst.scanLine(y), src.constScanLine(y), std::size_t(w) * sizeof(QRgb));
}

} // namespace

CanvasSurface::CanvasSurface(int widthPx, int heightPx)
    : m_image(std::max(1, widthPx), std::max(1, heightPx), QImage::Format_RGB32)
{
    m_image.fill(toQRgb(m_backColor));
    m_scaleW = fromPixel(m_image.width());
    m_scaleH = fromPixel(m_image.height());
}

CanvasSurface::~CanvasSurface()
{
    aboutToLetGo();
}

// --- size and scale ------------------------------------------------------

double CanvasSurface::unit() const
{
    return m_scaleMode == ScaleMode::Twips ? TwipsPerPixel : 1;
}

void CanvasSurface::setScaleMode(ScaleMode mode)
{
    if (mode == m_scaleMode)
        return;
    const double oldUnit = unit();
    m_scaleMode = mode;
    const double f = unit() / oldUnit;
    m_scaleW *= f;
    m_scaleH *= f;
    m_currentX *= f;
    m_currentY *= f;
}

double CanvasSurface::scaleWidth() const { return m_scaleW; }
double CanvasSurface::scaleHeight() const { return m_scaleH; }

void CanvasSurface::setScaleSize(double width, double height)
{
    if (!resizeBitmap(toPixelSize(width), toPixelSize(height)))
        return; // no memory for that size: keep the picture as it was
    m_scaleW = width;
    m_scaleH = height;
}

void CanvasSurface::resizePixels(int widthPx, int heightPx)
{
    resizeBitmap(widthPx, heightPx);
    m_scaleW = fromPixel(m_image.width());
    m_scaleH = fromPixel(m_image.height());
}

bool CanvasSurface::resizeBitmap(int widthPx, int heightPx)
{
    widthPx = std::max(1, widthPx);
    heightPx = std::max(1, heightPx);
    if (widthPx == m_image.width() && heightPx == m_image.height())
        return true;
    QImage next(widthPx, heightPx, QImage::Format_RGB32);
    if (next.isNull())
        return false;
    next.fill(toQRgb(m_backColor));
    copyRows(next, m_image);
    aboutToLetGo();
    m_image = std::move(next);
    damage(m_image.rect());
    return true;
}

int CanvasSurface::toPixelX(double x) const { return toPixel(x); }
int CanvasSurface::toPixelY(double y) const { return toPixel(y); }

int CanvasSurface::toPixel(double v) const
{
    if (m_scaleMode == ScaleMode::Pixels)
        return floorToPixel(v);
    // Whole twips, what the mouse and most figures give, divide as integers
    // (a multiplication once compiled) with the same floor.
    if (v == std::trunc(v) && std::abs(v) < 1e15) {
        const long long t = static_cast<long long>(v);
        long long q = t / TwipsPerPixel;
        if (t % TwipsPerPixel < 0)
            --q;
        return floorToPixel(double(q));
    }
    return floorToPixel(v / TwipsPerPixel);
}
int CanvasSurface::toPixelSize(double extent) const
{
    return std::max(1, floorToPixel(extent / unit()));
}
double CanvasSurface::fromPixel(int px) const { return px * unit(); }

// --- bitmaps -----------------------------------------------------------------

void CanvasSurface::putPixels(const QImage &pixels, QPoint at)
{
    const QRect r = QRect(at, pixels.size()) & m_image.rect();
    if (r.isEmpty() || pixels.format() != QImage::Format_RGB32)
        return;
    aboutToWrite(r);
    uchar *const to = m_image.bits() + r.left() * qsizetype(sizeof(QRgb)); // one detach check
    const uchar *const from = pixels.constBits() + (r.left() - at.x()) * qsizetype(sizeof(QRgb));
    const qsizetype toStride = m_image.bytesPerLine(), fromStride = pixels.bytesPerLine();
    const std::size_t bytes = std::size_t(r.width()) * sizeof(QRgb);
    // An undo or redo of a whole canvas copies it on two cores.
    inTwoHalves(r.height(), qsizetype(r.width()) * r.height(), [&](int begin, int end) {
        for (int y = r.top() + begin; y < r.top() + end; ++y)
            std::memcpy(to + y * toStride, from + (y - at.y()) * fromStride, bytes);
    });
    damage(r);
}

void CanvasSurface::adoptImage(QImage img, double scaleWidth, double scaleHeight)
{
    if (img.isNull() || img.format() != QImage::Format_RGB32)
        return;
    aboutToLetGo();
    m_image = std::move(img);
    m_scaleW = scaleWidth;
    m_scaleH = scaleHeight;
    damage(m_image.rect());
}

void CanvasSurface::setImage(const QImage &img)
{
    // A deep copy now, so no later drawing has to detach a shared bitmap.
    shareImage(img.format() == QImage::Format_RGB32 ? img.copy() : img);
}

void CanvasSurface::shareImage(QImage img)
{
    if (img.isNull())
        return;
    const QSize before = m_image.size();
    aboutToLetGo();
    m_image = img.format() == QImage::Format_RGB32 ? std::move(img)
                                                   : img.convertToFormat(QImage::Format_RGB32);
    if (m_image.size() != before) {
        m_scaleW = fromPixel(m_image.width());
        m_scaleH = fromPixel(m_image.height());
    }
    damage(m_image.rect());
}

void CanvasSurface::setPicture(QImage img)
{
    if (img.isNull()) {
        m_picture = QImage();
        cls();
        return;
    }
    const QImage::Format format = img.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                        : QImage::Format_RGB32;
    m_picture = img.format() == format ? std::move(img) : std::move(img).convertToFormat(format);
    if (m_picture.hasAlphaChannel()) {
        resizePixels(m_picture.width(), m_picture.height());
        cls();
        return;
    }
    // An opaque picture is the bitmap itself until the first drawing, which
    // makes the bitmap its own copy.
    aboutToLetGo();
    m_image = m_picture;
    m_scaleW = fromPixel(m_image.width());
    m_scaleH = fromPixel(m_image.height());
    m_currentX = 0;
    m_currentY = 0;
    damage(m_image.rect());
}

// --- drawing state -----------------------------------------------------------

void CanvasSurface::setBackColor(Colour c)
{
    m_backColor = c;
    cls();
}

void CanvasSurface::setDrawWidth(int w) { m_drawWidth = std::clamp(w, 1, 32767); }
void CanvasSurface::setDrawMode(DrawMode m) { m_drawMode = m; }

QRgb CanvasSurface::penColour(std::optional<Colour> colour) const
{
    return toQRgb(colour.value_or(m_foreColor));
}

// --- figures -------------------------------------------------------------

void CanvasSurface::addStroke(SpanList &out, QPoint a, QPoint b, bool includeEnd,
                              bool bandOnly) const
{
    if (m_lineStyle == LineStyle::Invisible)
        return;
    if (m_drawWidth > 1)
        raster::addCapsule(out, penCentre(a), penCentre(b), m_drawWidth / 2.0);
    else
        raster::addThinSegment(out, a, b, bandOnly ? LineStyle::Solid : m_lineStyle, includeEnd);
}

QPointF CanvasSurface::penCentre(QPoint p) const
{
    // An even pen has no middle pixel: its extra one goes above and left of
    // the point, as a box outline's does on its top and left edges, so
    // every stroke is exactly the pen's width across.
    return m_drawWidth % 2 ? QPointF(p) : QPointF(p) - QPointF(0.5, 0.5);
}

void CanvasSurface::paintFigure(SpanList &fill, SpanList &outline, QRgb pen)
{
    fill.normalize();
    outline.normalize();
    aboutToWrite(fill.bounds() | outline.bounds());
    if (m_fillStyle != FillStyle::Transparent && !fill.empty())
        raster::paintSpans(m_image, fill, toQRgb(m_fillColor), int(m_drawMode),
                           raster::hatchPattern(m_fillStyle));
    raster::paintSpans(m_image, outline, pen, int(m_drawMode));
    damage(fill.bounds() | outline.bounds());
}

void CanvasSurface::pset(double x, double y, std::optional<Colour> colour)
{
    const QPoint p(toPixelX(x), toPixelY(y));
    m_currentX = x;
    m_currentY = y;
    if (m_drawWidth == 1) {
        // The common single pixel, without building a span set.
        if (!m_image.rect().contains(p))
            return;
        aboutToWrite(QRect(p, QSize(1, 1)));
        QRgb &pixel = reinterpret_cast<QRgb *>(m_image.scanLine(p.y()))[p.x()];
        pixel = 0xff000000u | raster::PenOp::of(int(m_drawMode), penColour(colour))(pixel);
        damage(QRect(p, QSize(1, 1)));
        return;
    }
    SpanList dot(m_image.rect()), none(m_image.rect());
    raster::addCapsule(dot, penCentre(p), penCentre(p), m_drawWidth / 2.0);
    paintFigure(none, dot, penColour(colour));
}

Colour CanvasSurface::point(double x, double y) const
{
    const int px = toPixelX(x), py = toPixelY(y);
    if (!m_image.rect().contains(px, py))
        return -1;
    return fromQRgb(reinterpret_cast<const QRgb *>(m_image.constScanLine(py))[px]);
}

void CanvasSurface::line(double x1, double y1, double x2, double y2, std::optional<Colour> colour,
                         LineKind kind)
{
    const QPoint a(toPixelX(x1), toPixelY(y1)), b(toPixelX(x2), toPixelY(y2));
    m_currentX = x2;
    m_currentY = y2;
    const QRgb pen = penColour(colour);
    SpanList none(m_image.rect()), figure(m_image.rect());
    switch (kind) {
    case LineKind::Segment:
        addStroke(figure, a, b, false, false);
        paintFigure(none, figure, pen);
        break;
    case LineKind::BoxFilled:
        figure.addRect(spanning(a, b));
        paintFigure(none, figure, pen);
        break;
    case LineKind::Box:
        drawBox(spanning(a, b), pen);
        break;
    }
}

void CanvasSurface::lineTo(double x2, double y2, std::optional<Colour> colour, LineKind kind)
{
    line(m_currentX, m_currentY, x2, y2, colour, kind);
}

void CanvasSurface::drawBox(const QRect &box, QRgb pen)
{
    const QRect clip = m_image.rect();
    // band: the pixels the outline covers when solid; the fill stays out of
    // it even where dashes leave gaps.
    SpanList band(clip), outline(clip), fill(clip);
    if (m_lineStyle != LineStyle::Invisible) {
        if (m_drawWidth == 1) {
            raster::addRectRing(band, box, box.adjusted(1, 1, -1, -1));
            if (raster::isDashed(m_lineStyle))
                raster::addDashedFrame(outline, box, m_lineStyle);
            else
                outline = band;
        } else {
            const raster::PenBand pen(m_drawWidth, m_lineStyle);
            const int out = pen.outside, in = pen.inside + 1;
            raster::addRectRing(band, box.adjusted(-out, -out, out, out),
                                box.adjusted(in, in, -in, -in));
            outline = band;
        }
    }
    if (m_fillStyle != FillStyle::Transparent) {
        fill.addRect(box);
        band.normalize();
        fill = fill.minus(band);
    }
    paintFigure(fill, outline, pen);
}

QSize CanvasSurface::circleSemiAxes(double radius, double aspect) const
{
    const double r = std::abs(radius) / unit();
    double ratio = std::abs(aspect);
    if (std::isnan(ratio))
        ratio = 1;
    if (ratio < 1)
        return {radiusPixels(r), radiusPixels(r * ratio)};
    return {radiusPixels(r / ratio), radiusPixels(r)};
}

void CanvasSurface::circle(double x, double y, double radius, std::optional<Colour> colour,
                           std::optional<double> start, std::optional<double> end, double aspect)
{
    const QSize axes = circleSemiAxes(radius, aspect);
    raster::Ellipse e{toPixelX(x), toPixelY(y), axes.width(), axes.height()};
    m_currentX = x;
    m_currentY = y;

    const bool arc = start || end;
    const double from = start.value_or(0), to = end.value_or(TwoPi);
    // Only a negative angle draws its radius; -0 counts as the zero it equals.
    const bool radiusAtStart = from < 0, radiusAtEnd = to < 0;
    const raster::AngleRange range = raster::AngleRange::between(std::abs(from), std::abs(to));
    const bool pie = radiusAtStart || radiusAtEnd;

    const QRect clip = m_image.rect();
    SpanList band(clip), outline(clip), fill(clip);
    if (m_lineStyle != LineStyle::Invisible) {
        if (m_drawWidth == 1) {
            raster::addEllipseBoundary(band, e);
            if (raster::isDashed(m_lineStyle))
                raster::addDashedEllipseBoundary(outline, e, m_lineStyle, range.start);
            else
                outline = band;
        } else {
            const raster::PenBand pen(m_drawWidth, m_lineStyle);
            raster::addEllipseRing(band, e.grown(pen.outside), e.grown(-pen.inside - 1));
            outline = band;
        }
    }
    if (arc) {
        const auto inRange = [&](int px, int py) { return range.contains(e.angle(px, py)); };
        band.normalize();
        outline.normalize();
        band = band.filtered(inRange);
        outline = outline.filtered(inRange);
        const QPoint centre(e.cx, e.cy);
        for (auto [drawn, angle] : {std::pair{radiusAtStart, range.start},
                                    std::pair{radiusAtEnd, range.start + range.sweep}}) {
            if (!drawn)
                continue;
            const QPoint rim = e.pointAt(angle);
            addStroke(outline, centre, rim, true, false);
            addStroke(band, centre, rim, true, true);
        }
    }
    if (m_fillStyle != FillStyle::Transparent && (!arc || pie)) {
        raster::addEllipse(fill, e);
        if (arc)
            fill = fill.filtered([&](int px, int py) { return range.contains(e.angle(px, py)); });
        band.normalize();
        fill = fill.minus(band);
    }
    paintFigure(fill, outline, penColour(colour));
}

// --- pictures ------------------------------------------------------------

void CanvasSurface::paintPicture(const QImage &source, double dx, double dy, double dw, double dh,
                                 double sx, double sy, double sw, double sh,
                                 std::uint32_t rasterOp)
{
    paintPicture(source, dx, dy, dw, dh, sx, sy, sw, sh, rasterOp, false);
}

void CanvasSurface::paintPicture(const QImage &source, double dx, double dy, double dw, double dh,
                                 double sx, double sy, double sw, double sh,
                                 std::uint32_t rasterOp, bool sourceInPixels)
{
    if (source.isNull())
        return;
    const double sourceUnit = sourceInPixels ? 1.0 : unit();
    // A negative extent lies before its position and mirrors the picture.
    const auto axis = [&](double d, double dExtent, double s, double sExtent) {
        raster::StretchAxis a{};
        if (dExtent == 0 || sExtent == 0)
            return a;
        a.dst = floorToPixel(d / unit());
        a.dstCount = toPixelSize(std::abs(dExtent));
        a.src = floorToPixel(s / sourceUnit);
        a.srcCount = std::max(1, floorToPixel(std::abs(sExtent) / sourceUnit));
        if (dExtent < 0)
            a.dst -= a.dstCount;
        if (sExtent < 0)
            a.src -= a.srcCount;
        a.mirror = (dExtent < 0) != (sExtent < 0);
        return a;
    };
    const raster::StretchAxis ax = axis(dx, dw, sx, sw), ay = axis(dy, dh, sy, sh);
    aboutToWrite(QRect(ax.dst, ay.dst, ax.dstCount, ay.dstCount));
    damage(raster::stretchBlit(m_image, source, ax, ay, rasterOp, toQRgb(m_fillColor)));
}

void CanvasSurface::paintPicture(const QImage &source, double dx, double dy,
                                 std::uint32_t rasterOp)
{
    const int w = source.width(), h = source.height();
    const raster::StretchAxis ax{toPixelX(dx), w, 0, w, false}, ay{toPixelY(dy), h, 0, h, false};
    aboutToWrite(QRect(ax.dst, ay.dst, w, h));
    damage(raster::stretchBlit(m_image, source, ax, ay, rasterOp, toQRgb(m_fillColor)));
}

void CanvasSurface::cls()
{
    if (!m_picture.isNull() && !m_picture.hasAlphaChannel() && m_picture.size() == m_image.size()) {
        aboutToLetGo();
        m_image = m_picture; // shared again until the next drawing
    } else {
        aboutToWrite(m_image.rect());
        m_image.fill(toQRgb(m_backColor));
    }
    if (!m_picture.isNull() && m_image.constBits() != m_picture.constBits()) {
        if (m_picture.hasAlphaChannel()) {
            QPainter p(&m_image);
            p.drawImage(0, 0, m_picture);
        } else {
            copyRows(m_image, m_picture);
        }
    }
    m_currentX = 0;
    m_currentY = 0;
    damage(m_image.rect());
}

// --- text ----------------------------------------------------------------

void CanvasSurface::print(const QString &text, bool newline)
{
    const QFontMetricsF fm(m_font, &m_image);
    const QStringList lines = text.split(QLatin1Char('\n'));
    QRectF changed;
    aboutToWrite(m_image.rect()); // where the text lands is known only once drawn
    {
        QPainter p(&m_image);
        p.setFont(m_font);
        p.setPen(toQColor(m_foreColor));
        p.setRenderHint(QPainter::TextAntialiasing);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0) {
                m_currentX = 0;
                m_currentY += fm.height() * unit();
            }
            const QPointF topLeft(toPixelX(m_currentX), toPixelY(m_currentY));
            p.drawText(topLeft + QPointF(0, fm.ascent()), lines[i]);
            changed |= QRectF(topLeft, QSizeF(fm.horizontalAdvance(lines[i]), fm.height()));
            changed |= fm.boundingRect(lines[i]).translated(topLeft + QPointF(0, fm.ascent()));
        }
    }
    if (newline) {
        m_currentX = 0;
        m_currentY += fm.height() * unit();
    } else {
        m_currentX += fm.horizontalAdvance(lines.last()) * unit();
    }
    // Antialiased edges may reach a pixel past the metrics.
    damage(changed.toAlignedRect().adjusted(-1, -1, 1, 1));
}

double CanvasSurface::textWidth(const QString &text) const
{
    const QFontMetricsF fm(m_font, &m_image);
    double widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, fm.horizontalAdvance(line));
    return widest * unit();
}

double CanvasSurface::textHeight(const QString &text) const
{
    const QFontMetricsF fm(m_font, &m_image);
    return fm.height() * double(text.count(QLatin1Char('\n')) + 1) * unit();
}

// --- snapshots -------------------------------------------------------------

QImage &CanvasSurface::editImage()
{
    aboutToWrite(m_image.rect());
    return m_image;
}

std::shared_ptr<CanvasSnapshot> CanvasSurface::snapshot()
{
    auto taken = std::make_shared<CanvasSnapshot>(m_image);
    if (!taken->independent())
        m_snapshots.push_back(taken);
    return taken;
}

void CanvasSurface::aboutToWrite(const QRect &pixels)
{
    std::erase_if(m_snapshots, [](const auto &s) { return s->independent(); });
    if (!m_image.isDetached()) {
        // Shared elsewhere (the undo history's base at rest), the bitmap is
        // copied before this write: the snapshots keep the old one, which
        // nobody writes any more, and the copy goes into memory that is
        // quick to have, where the write's own detach would fault in every
        // page of a large picture on this thread.
        aboutToLetGo();
        if (QImage copy = copiedBitmap(m_image); !copy.isNull())
            m_image = std::move(copy);
        return;
    }
    if (m_snapshots.empty())
        return;
    const QRect r = pixels & m_image.rect();
    for (const auto &s : m_snapshots)
        s->writeAhead(r.top(), r.bottom());
}

void CanvasSurface::aboutToLetGo()
{
    for (const auto &s : m_snapshots)
        s->keepSource(m_image);
    m_snapshots.clear();
}

// --- change notification -------------------------------------------------

void CanvasSurface::refresh() { damage(m_image.rect()); }

void CanvasSurface::damage(const QRect &r)
{
    if (!m_damage)
        return;
    const QRect changed = r & m_image.rect();
    if (m_damage && !changed.isEmpty())
        m_damage(changed);
}

} // namespace quor
