// What a document window shows of its document: the canvas in its picture
// box, moved by two scroll bars and sized by three handles past its right
// and bottom edges; the floating selection with its frame; the text box;
// the arc guide and an effect's run frame, laid over the canvas and never
// into its bitmap. Positions are twips, as everywhere on the canvas.
#pragma once

#include "document/model/canvas_event.h"
#include "document/picture_box.h"
#include "document/selection_frame.h"
#include "document/text_entry_box.h"

#include <QWidget>

class QLabel;
class QMenu;
class QScrollBar;
class QTimer;

namespace quor {

class Document;

class CanvasView : public QWidget
{
    Q_OBJECT
public:
    CanvasView(Document &doc, QWidget *parent);

    PictureBox *canvasBox() const { return m_canvas; }
    SelectionFrame *selectionFrame() const { return m_frame; }
    TextEntryBox *textBox() const { return m_text; }
    QLabel *textMeasure() const { return m_textMeasure; }
    QScrollBar *verticalScrollBar() const { return m_vscroll; }
    QScrollBar *horizontalScrollBar() const { return m_hscroll; }
    PictureBox *widthHandle() const { return m_widthHandle; }
    PictureBox *heightHandle() const { return m_heightHandle; }
    PictureBox *cornerHandle() const { return m_cornerHandle; }
    OverlayShape *blackGuide() const { return m_blackGuide; }
    OverlayShape *whiteGuide() const { return m_whiteGuide; }
    QTimer *guideBlinkTimer() const { return m_guideTimer; }
    // Over the floating picture while an effect runs on it.
    OverlayShape *runFrame() const { return m_runFrame; }
    OverlayShape *runLine() const { return m_runLine; }

    static constexpr double MaxCanvasWidth = 36035;
    static constexpr double MaxCanvasHeight = 30035;

    // The canvas takes the view's size less the scroll bars and handles.
    void fitCanvas();
    // Scroll bars along the right and bottom edges, and their ranges.
    void layOut();
    // One scroll unit is 20 twips; the ranges leave room for the whole
    // size handle past the canvas's edge.
    void updateScrollRanges();
    // The size handles follow the canvas's edges.
    void placeSizeHandles();

    // The arc tools' guide from the centre, blinking black and white.
    void showGuide(double x1, double y1, double x2, double y2);
    void moveGuide(double x1, double y1, double x2, double y2);
    void hideGuide();
    // While the picture is written to a file the guide leaves the screen.
    void setGuideShown(bool shown);

    // Pops a menu up at a canvas point (twips) as the scrolled view shows it.
    void popUp(QMenu *menu, double x, double y);

    // The view scale in percent (one of ViewScales). The picture point
    // under `anchor` (view pixels) stays there as far as the scroll bars
    // allow; without one, the middle of the canvas part on screen.
    int viewScale() const { return m_viewScale; }
    void setViewScale(int percent);
    void setViewScale(int percent, QPointF anchor);
    // One step larger or smaller; no step past either end.
    void zoomIn();
    void zoomOut();

signals:
    void viewScaleChanged(int percent);

protected:
    void resizeEvent(QResizeEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;

private:
    void verticalScrolled();
    void horizontalScrolled();
    void resizeCanvasBy(double dx, double dy, const CanvasEvent &e);
    // Canvas twips to view twips at the view scale, and back; a size
    // handle's drag to whole picture pixels.
    double shown(double pictureTwips) const;
    double dragInPicture(double viewTwips) const;

    Document &m_doc;
    PictureBox *m_canvas;
    SelectionFrame *m_frame;
    QLabel *m_textMeasure;
    TextEntryBox *m_text;
    OverlayShape *m_blackGuide;
    OverlayShape *m_whiteGuide;
    QTimer *m_guideTimer;
    OverlayShape *m_runFrame;
    OverlayShape *m_runLine;
    QScrollBar *m_vscroll;
    QScrollBar *m_hscroll;
    PictureBox *m_widthHandle;
    PictureBox *m_heightHandle;
    PictureBox *m_cornerHandle;
    int m_viewScale = 100;
};

} // namespace quor
