#include "document/window_keys.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

namespace quor {

namespace {

class WindowKeys : public QObject
{
public:
    WindowKeys(QWidget *window, std::function<void()> cancel)
        : QObject(window), m_cancel(std::move(cancel))
    {
    }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        // Keys the focused control left alone come up to the window.
        if (e->type() != QEvent::KeyPress)
            return false;
        const auto *k = static_cast<QKeyEvent *>(e);
        const Qt::KeyboardModifiers mods = k->modifiers() & ~Qt::KeypadModifier;
        if (k->key() == Qt::Key_Escape && mods == Qt::NoModifier) {
            m_cancel();
            return true;
        }
        if (k->key() == Qt::Key_F4 && mods == Qt::AltModifier) {
            static_cast<QWidget *>(o)->close();
            return true;
        }
        return false;
    }

private:
    std::function<void()> m_cancel;
};

} // namespace

void answerWindowKeys(QWidget *window, std::function<void()> cancel)
{
    window->installEventFilter(new WindowKeys(window, std::move(cancel)));
}

} // namespace quor
