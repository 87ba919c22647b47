// Drives a document's canvas with real mouse events, in the canvas's
// pixels (15 twips each), the way the toolkit delivers them.
#pragma once

#include "program_fixture.h"
#include "tool_fixture.h"

#include "document/picture_box.h"

#include <QApplication>
#include <QMouseEvent>

class CanvasMouse final : public PixelGestures
{
public:
    explicit CanvasMouse(quor::DocumentWindow *doc) : m_canvas(doc->view()->canvasBox()) {}

    void press(QPoint p) override { send(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton); }
    void move(QPoint p) override { send(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton); }
    void release(QPoint p) override { send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton); }
    void doublePress(QPoint p) override
    {
        send(QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton);
    }

private:
    void send(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent e(type, p, m_canvas->mapToGlobal(p), button, held, Qt::NoModifier);
        QApplication::sendEvent(m_canvas, &e);
    }
    quor::PictureBox *m_canvas;
};
