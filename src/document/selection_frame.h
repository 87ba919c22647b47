// The floating selection on screen: its picture box over the canvas, the
// dotted frame round it that blinks black and white, and the eight yellow
// handles that resize it. The selection tool's rubber band is the same
// frame, shown before there is a picture.
#pragma once

#include "document/model/canvas_event.h"
#include "document/model/twips.h"
#include "document/selection_geometry.h"

#include <QColor>
#include <QObject>

class QTimer;

namespace quor {

class CanvasSurface;
class OverlayShape;
class PictureBox;

class SelectionFrame : public QObject
{
    Q_OBJECT
public:
    // On the canvas box, showing the document's floating picture; `white`
    // is the frame's second colour.
    SelectionFrame(PictureBox *canvas, CanvasSurface &picture, QColor white);

    PictureBox *pictureBox() const { return m_picture; }
    OverlayShape *blackFrame() const { return m_black; }
    OverlayShape *whiteFrame() const { return m_white; }
    QTimer *blinkTimer() const { return m_timer; }
    PictureBox *handle(int i) const { return m_handles[i]; } // 0..7, SelectionHandle order

    // The picture box goes where the floating picture is; hiding it takes
    // the frame and the handles too.
    void follow(const TwipBox &place, bool visible);
    // The frame round a picture at `place`, and the handles round the
    // frame, shown. The frame's blinking is left as it is.
    void placeAround(const TwipBox &place);
    // The view's scale changed: the handles shown keep their size on screen.
    void followViewScale();
    // The frame blinks from its black phase.
    void blink();
    // The selection tool's band: the frame alone, at the band's rectangle.
    void moveBand(const TwipBox &band);
    // Frame and handles hidden, the blinking stopped.
    void hide();
    // While the picture is written to a file the floating picture and its
    // frame leave the screen; afterwards they come back, blinking.
    void hideMarks();
    void showMarks();

signals:
    void picturePressed(const CanvasEvent &e);
    void pictureDragged(const CanvasEvent &e);
    // A move over a handle with (x, y) in the handle's own twips.
    void handleDragged(SelectionHandle handle, const CanvasEvent &e);

private:
    PictureBox *m_handles[8];
    TwipBox m_place; // the selection the handles are placed around
    PictureBox *m_picture;
    OverlayShape *m_black;
    OverlayShape *m_white;
    QTimer *m_timer;
};

} // namespace quor
