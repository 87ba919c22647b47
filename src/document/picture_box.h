// A picture box: a widget showing a CanvasSurface, placed in twips inside
// its parent, reporting mouse events in the surface's scale. Overlay line
// and rectangle objects lie above its bitmap without touching it.
#pragma once

#include "document/model/canvas_event.h"
#include "document/model/canvas_surface.h"

#include <QRegion>
#include <QWidget>

#include <memory>

class QPainter;
class QTimer;

namespace quor {

class PictureBox;

// Twips <-> widget pixels for placing controls: the surface's own rule.
int twipsToPixels(double twips);
double pixelsToTwips(int px);

// The view scales a document window offers, in percent, smallest first.
inline constexpr int ViewScales[] = {25, 50, 100, 200, 300, 400, 600, 800, 1200, 1600};
// The scale one step larger (direction > 0) or smaller, kept at the ends.
int nextViewScale(int percent, int direction);
// Picture twips to widget pixels at a view scale in percent; at 100 % the
// same as twipsToPixels.
int scaledTwipsToPixels(double twips, int percent);

// A line or rectangle drawn over a picture box, never into its bitmap.
// Moving, showing, hiding or recolouring it repaints the pixels it leaves
// and those it enters, nothing more.
class OverlayShape : public QObject
{
    Q_OBJECT
public:
    enum Kind { Line, Rectangle };
    OverlayShape(Kind kind, const QString &name, PictureBox *box);

    Kind kind() const { return m_kind; }
    bool isVisible() const { return m_visible; }
    void setVisible(bool v);
    // Rectangle: left, top, width, height. Line: x1, y1, x2, y2. Twips.
    void moveTwips(double a, double b, double c, double d);
    double a() const { return m_a; }
    double b() const { return m_b; }
    double c() const { return m_c; }
    double d() const { return m_d; }
    Colour borderColor() const { return m_colour; }
    void setBorderColor(Colour c);
    bool dotted() const { return m_dotted; }
    void setDotted(bool d);

    // The box pixels the shape covers when shown.
    QRegion area() const;

private:
    void repaint(const QRegion &before);

    PictureBox *m_box;
    Kind m_kind;
    bool m_visible = false;
    double m_a = 0, m_b = 0, m_c = 0, m_d = 0;
    Colour m_colour = 0;
    bool m_dotted = false;
};

// A 100 ms timer that swaps the visibility of two overlays, so a frame or
// guide alternates between its black and its white form.
QTimer *blinkTimer(const char *name, OverlayShape *a, OverlayShape *b, QObject *parent);

class PictureBox : public QWidget
{
    Q_OBJECT
public:
    explicit PictureBox(const QString &name, QWidget *parent = nullptr);
    // A box showing a surface it does not own (a document's canvas or
    // floating picture); whoever owns it reports its damage by update().
    PictureBox(const QString &name, CanvasSurface &shown, QWidget *parent);

    CanvasSurface &surface() { return *m_surface; }
    const CanvasSurface &surface() const { return *m_surface; }

    // Placement in the parent, twips. Width and Height are the box's outer
    // size; the surface's scale size follows them.
    double leftTwips() const { return m_left; }
    double topTwips() const { return m_top; }
    double widthTwips() const { return m_width; }
    double heightTwips() const { return m_height; }
    void moveTwips(double left, double top);
    void moveTwips(double left, double top, double width, double height);
    double scaleWidth() const { return m_surface->scaleWidth(); }
    double scaleHeight() const { return m_surface->scaleHeight(); }
    // Takes the box's size from its surface after the surface was resized
    // by its owner (Resize follows a change).
    void followSurface();

    // Persistent bitmap off: the box only shows its back colour (swatches,
    // handles); drawing still goes to the surface.
    void setBackColor(Colour c) { m_surface->setBackColor(c); }
    Colour backColor() const { return m_surface->backColor(); }

    // A box thinner on screen than this (a 25-twip handle) is widened for
    // the pointer, in its back colour; its twip size stays as set.
    void setMinimumPixelSize(QSize size);
    // The box shows this many screen pixels at any view scale (handles).
    void setScreenSize(QSize size);

    // Loads a picture: the box takes the picture's size.
    void setPicture(const QImage &img);

    // The view scale in percent: the box shows its surface that much larger
    // (nearest pixels) or smaller, and reports events in whole picture
    // pixels, so tools keep working in picture twips. Boxes on a scaled box
    // (the floating picture, its handles) take their parent's scale for
    // their place and size. Only the view changes, never the surface.
    void setViewScale(int percent);
    int viewScale() const;
    // Repaints what shows the surface's pixels in `r`, at the view scale.
    void updatePixels(const QRect &r);
    // A one-pixel grid between the picture's pixels from 600 % up.
    void setPixelGrid(bool shown) { m_pixelGrid = shown; }

signals:
    // Mouse events in the surface's scale.
    void pressed(const CanvasEvent &e);
    void moved(const CanvasEvent &e);
    void released(const CanvasEvent &e);
    void doubleClicked();
    // The box's size in twips changed.
    void resized();

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;

private:
    void applyGeometry(bool sizeChanged);
    // The widget's place and size from the twips, the surface and the scale.
    void placeWidget();
    int placementScale() const;
    void paintScaled(QPainter &p, const QRect &r, int percent);
    CanvasEvent canvasEvent(const QMouseEvent *e, Qt::MouseButtons buttons) const;

    std::unique_ptr<CanvasSurface> m_own;
    CanvasSurface *m_surface;
    double m_left = 0, m_top = 0, m_width = 15, m_height = 15;
    QSize m_minimumPixels{0, 0};
    QSize m_screenSize; // invalid: the surface's size at the view's scale
    int m_viewScale = 100;
    bool m_pixelGrid = false;
};

} // namespace quor
