#include "document/fixed_layout.h"

#include "document/picture_box.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace quor {

namespace {

// Once shown, the frame round the window is known (a window manager may
// add it a little later): the window shrinks so that frame and all take
// the outer rectangle.
class OuterFit : public QObject
{
public:
    OuterFit(QWidget *w, const QRect &outer) : QObject(w), m_outer(outer) {}

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Show && !m_fitted) {
            m_fitted = true;
            QPointer<QWidget> w = static_cast<QWidget *>(o);
            fit(w, m_outer);
            QTimer::singleShot(0, w, [w, outer = m_outer] { fit(w, outer); });
        }
        return false;
    }

private:
    static void fit(QWidget *w, const QRect &outer)
    {
        const QRect frame = w->frameGeometry(), inner = w->geometry();
        if (frame == outer)
            return;
        w->setGeometry(outer.adjusted(inner.left() - frame.left(), inner.top() - frame.top(),
                                      inner.right() - frame.right(),
                                      inner.bottom() - frame.bottom()));
    }

    QRect m_outer;
    bool m_fitted = false;
};

} // namespace

QRect twipsRect(double left, double top, double width, double height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

void placeOnTop(QWidget *w, const QRect &outer)
{
    w->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                      | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    w->setWindowTitle(QCoreApplication::applicationName());
    w->setGeometry(outer);
    w->installEventFilter(new OuterFit(w, outer));
}

void setStaysOnTop(QWidget *w, bool onTop)
{
    const QRect place = w->geometry();
    const bool shown = w->isVisible();
    // Changing the flags takes the window down; it comes back in its place.
    w->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    w->setGeometry(place);
    if (shown)
        w->show();
}

} // namespace quor
