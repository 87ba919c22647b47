#include "palettes/keyboard_ring.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QWidget>

#include <climits>
#include <cstdlib>

namespace quor {

namespace {

bool s_moving = false;
bool s_clicking = false;

// Black, white and black again: it shows on every swatch and button face.
class FocusFrame : public QWidget
{
public:
    explicit FocusFrame(QWidget *parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("keyboardFocusFrame"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        hide();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const QRect r = rect().adjusted(0, 0, -1, -1);
        p.setPen(Qt::black);
        p.drawRect(r);
        p.drawRect(r.adjusted(2, 2, -2, -2));
        p.setPen(Qt::white);
        p.drawRect(r.adjusted(1, 1, -1, -1));
    }
};

bool isArrow(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

} // namespace

KeyboardRing::KeyboardRing(QWidget *pane) : QObject(pane), m_pane(pane), m_frame(new FocusFrame(pane)) {}

void KeyboardRing::click(QWidget *w, Qt::MouseButton button)
{
    const QPointF at = QRectF(w->rect()).center();
    const QPointF global = w->mapToGlobal(at);
    s_clicking = true;
    QMouseEvent press(QEvent::MouseButtonPress, at, global, button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, button, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &release);
    s_clicking = false;
}

void KeyboardRing::add(QWidget *item, Keys keys)
{
    m_items.append({item, std::move(keys)});
    item->installEventFilter(this);
}

const KeyboardRing::Item *KeyboardRing::itemOf(QObject *o) const
{
    for (const Item &i : m_items)
        if (i.widget == o)
            return &i;
    return nullptr;
}

bool KeyboardRing::usable(const QWidget *w) const
{
    return w && w->isVisibleTo(m_pane) && w->isEnabled();
}

void KeyboardRing::enter(QWidget *item)
{
    if (!usable(item))
        item = m_last;
    if (!usable(item)) {
        item = nullptr;
        for (const Item &i : m_items)
            if (usable(i.widget)) {
                item = i.widget;
                break;
            }
    }
    if (item)
        focus(item);
}

void KeyboardRing::focus(QWidget *w)
{
    // A palette taller than the window scrolls the button into view.
    for (QWidget *p = w->parentWidget(); p && p != m_pane; p = p->parentWidget())
        if (auto *area = qobject_cast<QScrollArea *>(p)) {
            area->ensureWidgetVisible(w);
            break;
        }
    s_moving = true;
    w->setFocus(Qt::OtherFocusReason);
    s_moving = false;
    // Already focused (the focus came back to it): no focus event.
    if (w->hasFocus())
        showFrame(w);
}

// The nearest button whose middle lies that way, a step aside counting
// twice a step along, so a grid is walked by rows and columns.
QWidget *KeyboardRing::neighbour(QWidget *from, int key) const
{
    const QPoint start = from->mapTo(m_pane, from->rect().center());
    QWidget *best = nullptr;
    int bestScore = INT_MAX;
    for (const Item &i : m_items) {
        if (i.widget == from || !usable(i.widget))
            continue;
        const QPoint d = i.widget->mapTo(m_pane, i.widget->rect().center()) - start;
        int along = 0, aside = 0;
        switch (key) {
        case Qt::Key_Left: along = -d.x(); aside = std::abs(d.y()); break;
        case Qt::Key_Right: along = d.x(); aside = std::abs(d.y()); break;
        case Qt::Key_Up: along = -d.y(); aside = std::abs(d.x()); break;
        default: along = d.y(); aside = std::abs(d.x()); break;
        }
        if (along <= 0)
            continue;
        if (along + 2 * aside < bestScore) {
            bestScore = along + 2 * aside;
            best = i.widget;
        }
    }
    return best;
}

void KeyboardRing::showFrame(QWidget *on)
{
    QWidget *parent = on->parentWidget();
    if (m_frame->parentWidget() != parent)
        m_frame->setParent(parent);
    m_frame->setGeometry(on->geometry());
    m_frame->raise();
    m_frame->show();
    m_framed = on;
}

void KeyboardRing::hideFrame()
{
    m_frame->hide();
    m_framed = nullptr;
}

bool KeyboardRing::eventFilter(QObject *o, QEvent *e)
{
    const Item *item = itemOf(o);
    if (!item)
        return false;
    QWidget *w = item->widget;
    switch (e->type()) {
    case QEvent::KeyPress: {
        auto *k = static_cast<QKeyEvent *>(e);
        if ((k->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        if (isArrow(k->key())) {
            if (QWidget *next = neighbour(w, k->key()))
                focus(next);
            return true;
        }
        const bool press = k->key() == Qt::Key_Space || k->key() == Qt::Key_Return
            || k->key() == Qt::Key_Enter;
        const std::function<void()> &act = press ? item->keys.press : item->keys.context;
        if ((press || k->key() == Qt::Key_Menu) && act) {
            if (!k->isAutoRepeat())
                act();
            return true;
        }
        return false;
    }
    case QEvent::FocusIn: {
        m_last = w;
        const Qt::FocusReason why = static_cast<QFocusEvent *>(e)->reason();
        if (s_moving || why == Qt::TabFocusReason || why == Qt::BacktabFocusReason
            || why == Qt::ShortcutFocusReason)
            showFrame(w);
        else
            hideFrame();
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (!s_clicking && m_framed == w)
            hideFrame();
        return false;
    case QEvent::FocusOut:
    case QEvent::Hide:
        if (m_framed == w)
            hideFrame();
        return false;
    case QEvent::Move:
    case QEvent::Resize:
        if (m_framed == w)
            m_frame->setGeometry(w->geometry());
        return false;
    default:
        return false;
    }
}

} // namespace quor
