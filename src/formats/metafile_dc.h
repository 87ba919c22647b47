// The drawing state both metafile players replay their records into: pens,
// brushes, fonts, colours, the window/viewport mapping (plus the world
// transform of enhanced metafiles), clipping, saved states and the path
// bracket, drawn with a QPainter onto the picture being built.
#pragma once

#include "formats/byte_reader.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QString>
#include <QTransform>
#include <QVector>

#include <array>
#include <optional>
#include <vector>

namespace quor::gdi {

enum MapMode { MmText = 1, MmLoMetric, MmHiMetric, MmLoEnglish, MmHiEnglish, MmTwips,
               MmIsotropic, MmAnisotropic };

struct Brush
{
    int style = 0;             // 0 solid, 1 none, 2 hatched, 3/5/6 pattern
    QColor colour = Qt::white;
    int hatch = 0;             // 0-5 lines; 6-11 solid in the brush, text or background colour
    QImage pattern;
    bool mono = false;         // a 1-bit pattern: 0 takes the text colour, 1 the background
};

struct Pen
{
    std::uint32_t style = 0;   // style, end cap, join and type bits
    double width = 0;          // logical units; 0 draws one pixel wide
    QColor colour = Qt::black;
    QVector<qreal> dashes;     // user style lengths, in widths
    Brush fill;                // what a wide pen is painted with (hatched or pattern pens)
};

// A corner of a gradient fill, in logical units.
struct GradientVertex
{
    QPointF at;
    QColor colour;
};

struct Font
{
    QString face;
    double height = 0;         // logical; negative: character height
    int escapement = 0;        // tenths of a degree, counterclockwise
    int weight = 400;
    bool italic = false, underline = false, strikeOut = false;
    int charSet = 1;
};

struct DcState
{
    int mapMode = MmText;
    QPointF windowOrg{0, 0}, viewportOrg{0, 0};
    QSizeF windowExt{1, 1}, viewportExt{1, 1};
    QTransform world;
    Pen pen;
    Brush brush;
    Font font;
    QColor textColour = Qt::black, backColour = Qt::white;
    int backMode = 2;          // 1 transparent, 2 opaque
    int textAlign = 0;
    int polyFillMode = 1;      // 1 alternate, 2 winding
    int rop2 = 13;             // copy pen
    bool clockwise = false;
    QPointF current;
    bool clipped = false;
    QRegion clip;              // device pixels of the picture
};

// An entry of a metafile's object table.
struct GdiObject
{
    enum Kind { Empty, PenObject, BrushObject, FontObject, RegionObject, OtherObject };
    Kind kind = Empty;
    Pen pen;
    Brush brush;
    Font font;
    QVector<QRectF> region; // logical rectangles
};

enum class ArcKind { Arc, Chord, Pie, ArcTo };

class DeviceContext
{
public:
    // Draws onto `device`, whose pixels `area` covers. `base` maps the
    // metafile's device units onto those pixels; `pixelsPerMm` is the device
    // resolution the fixed mapping modes use.
    DeviceContext(QPaintDevice *device, const QRect &area, const QTransform &base,
                  QSizeF pixelsPerMm);
    ~DeviceContext();

    DcState &state() { return m_state; }

    // Pixels the records may still paint (and embedded bitmaps decode).
    // Once spent, drawing stops, so a small file of huge fills cannot keep
    // the program busy for minutes.
    qint64 budget() const { return m_budget; }
    void setBudget(qint64 pixels) { m_budget = pixels; }
    bool spend(qint64 pixels);
    bool spend(const QRectF &picture);
    // The full logical-to-picture transform, or nothing when it is
    // degenerate (nothing can be drawn then).
    std::optional<QTransform> transform() const;
    // Logical-to-metafile-device transform (without the base).
    QTransform pageTransform() const;

    void save();
    // A negative number counts back from the last save, a positive one
    // names the n-th saved state. Bad numbers are ignored.
    void restore(int which);
    void setMapMode(int mode);
    // Makes a pen, brush or font current; a region becomes the clip.
    void select(const GdiObject &object);
    // A region of logical rectangles in picture pixels.
    QRegion pictureRegion(const QVector<QRectF> &logical) const;
    void clipChanged() { m_clipDirty = true; }

    // Clipping in logical or in metafile device coordinates.
    void intersectClip(const QRectF &logical);
    void excludeClip(const QRectF &logical);
    // Rectangles in metafile device units; 1 and, 2 or, 3 xor, 4 diff, 5 copy.
    void combineDeviceClip(const QVector<QRectF> &device, int mode);
    void combinePictureClip(const QRegion &picture, int mode);
    // Picture pixels covered by a rectangle, kept within reach of the picture.
    QRect pixelRect(const QRectF &picture) const;
    void resetClip();
    // Moves the clip by a logical offset.
    void offsetClip(QPointF logical);

    // Figures, in logical coordinates.
    void moveTo(QPointF p);
    void lineTo(QPointF p);
    void polyline(const QPolygonF &points, bool fromCurrent = false);
    void polygon(const QPolygonF &points);
    void polyPolygon(const QList<QPolygonF> &polygons);
    void polyBezier(const QPolygonF &points, bool fromCurrent);
    void rectangle(const QRectF &box);
    void roundRect(const QRectF &box, QSizeF corner);
    void ellipse(const QRectF &box);
    void arc(const QRectF &box, QPointF start, QPointF end, ArcKind kind);
    void angleArc(QPointF centre, double radius, double startDeg, double sweepDeg);
    void setPixel(QPointF p, const QColor &c);
    void fillRegion(const QRegion &picture, const Brush &brush);
    // The inner border of a region, `stroke` logical units wide and high.
    void frameRegion(const QRegion &picture, const Brush &brush, QSizeF stroke);
    void invertRegion(const QRegion &picture);
    // Points with their kinds (move, line, Bézier, close flag), from the
    // current position.
    void polyDraw(const QPolygonF &points, const QByteArray &kinds);
    // Rectangles shaded across (0) or down (1) between the colours of two
    // corners, or triangles (2) shaded between three.
    void gradientFill(const QVector<GradientVertex> &vertices,
                      const QVector<std::array<std::uint32_t, 3>> &shapes, int mode);

    // Text at a logical point; dx are the logical advances (may be empty).
    void text(QPointF at, const QString &s, const QVector<double> &dx, std::uint32_t options,
              std::optional<QRectF> rect);
    // A bitmap: the source rectangle (image pixels) onto a logical one.
    void bitmap(const QImage &image, const QRectF &dest, QRectF source, std::uint32_t rop);
    // The same onto the logical parallelogram of three corners (upper
    // left, upper right, lower left).
    void bitmap(const QImage &image, const QPolygonF &corners, QRectF source, std::uint32_t rop);
    // A raster operation without source: brush, black, white, inversion.
    void patBlt(const QRectF &dest, std::uint32_t rop);

    // The path bracket.
    void beginPath();
    void endPath() { m_inPath = false; }
    void abortPath();
    void closeFigure();
    void fillPath() { finishPath(true, false); }
    void strokePath() { finishPath(false, true); }
    void strokeAndFillPath() { finishPath(true, true); }
    void selectClipPath(int mode);

private:
    void prepare(const QTransform &t);
    bool penMixDraws() const { return m_state.rop2 != 11; } // 11: the no-operation mix
    QPen makePen(const QTransform &t) const;
    void drawShape(const QPainterPath &logical, bool fill, bool stroke);
    void finishPath(bool fill, bool stroke);
    void paintFill(const QPainterPath &logical, const Brush &brush);
    QBrush brushOf(const Brush &brush) const;
    void drawBitmap(const QImage &image, const QTransform &place, QRectF source, std::uint32_t rop);
    void shadeTriangle(const QTransform &t, const GradientVertex &a, const GradientVertex &b,
                       const GradientVertex &c);
    void applyRop2();
    void applyRop3(std::uint32_t rop);

    QRect m_area;
    qint64 m_budget;
    QPainter m_painter;
    QTransform m_base;
    QSizeF m_pixelsPerMm;
    DcState m_state;
    std::vector<DcState> m_saved;
    bool m_clipDirty = true;
    bool m_inPath = false;
    QPainterPath m_path;
};

// Raster operations can clear the unused alpha byte of a 32-bit picture.
void makeOpaque(QImage &img);

// Text of an 8-bit string in the font's character set.
QString decodeCharSet(const QByteArray &bytes, int charSet);

// A 1-bit pattern of `width` x `height` from rows `stride` bytes apart
// (null unless they fit in `bits` and within 4096 pixels a side).
QImage monoPattern(ByteSpan bits, int width, int height, std::uint64_t stride, bool bottomUp);

// The image with the pixels of `key` made transparent, or where `mask`
// (the same size or larger, white for visible) is black.
QImage withTransparency(const QImage &image, std::optional<QRgb> key, const QImage &mask = {},
                        QPoint maskOffset = {});

} // namespace quor::gdi
