// Keyboard use of a palette's buttons: the arrow keys move the focus to
// the nearest button that way, Space and Enter press the focused one and
// the menu key gives it a right click. A frame marks the focused button
// while the focus came by keyboard, never after a click.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

namespace quor {

class KeyboardRing : public QObject
{
public:
    struct Keys
    {
        std::function<void()> press;   // Space, Enter
        std::function<void()> context; // the menu key
    };

    explicit KeyboardRing(QWidget *pane);

    void add(QWidget *item, Keys keys);
    // Takes the focus by keyboard to `item`, else to the button that had it
    // last, else to the first one shown.
    void enter(QWidget *item = nullptr);
    // A click in the middle of `w`, as the mouse would give it.
    static void click(QWidget *w, Qt::MouseButton button);

    // The frame, while shown, lies over the focused button.
    QWidget *frame() const { return m_frame; }

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    struct Item
    {
        QWidget *widget;
        Keys keys;
    };
    const Item *itemOf(QObject *o) const;
    bool usable(const QWidget *w) const;
    QWidget *neighbour(QWidget *from, int key) const;
    void focus(QWidget *w);
    void showFrame(QWidget *on);
    void hideFrame();

    QWidget *m_pane;
    QList<Item> m_items;
    QPointer<QWidget> m_last;
    QWidget *m_frame;
    QPointer<QWidget> m_framed;
};

} // namespace quor
