// Drives a document's canvas with real mouse events, in the canvas's
// pixels (15 twips each), the way the toolkit delivers them.
#pragma once

#include "program_fixture.h"

#include "document/picture_box.h"

#include <QApplication>
#include <QMouseEvent>

class CanvasMouse
{
public:
    explicit CanvasMouse(quor::DocumentWindow *doc) : m_canvas(doc->view()->canvasBox()) {}

    void press(QPoint p) { send(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton); }
    void move(QPoint p) { send(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton); }
    void release(QPoint p) { send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton); }
    // The second press of a double click, as the toolkit reports it.
    void doublePress(QPoint p)
    {
        send(QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton);
    }
    // Press at the first point, move through the rest, release at the last.
    void drag(const QList<QPoint> &path)
    {
        press(path.first());
        for (QPoint p : path.mid(1))
            move(p);
        release(path.last());
    }
    void click(QPoint p) { drag({p}); }

private:
    void send(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent e(type, p, m_canvas->mapToGlobal(p), button, held, Qt::NoModifier);
        QApplication::sendEvent(m_canvas, &e);
    }
    quor::PictureBox *m_canvas;
};

// Twips of a canvas pixel.
inline double tw(int px)
{
    return px * double(quor::CanvasSurface::TwipsPerPixel);
}
