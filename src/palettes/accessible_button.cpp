#include "palettes/accessible_button.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace quor {

namespace {

// Kept as a child of its widget, so it goes with it.
class ButtonWay : public QObject
{
public:
    ButtonWay(AccessibleButton how, QWidget *owner) : QObject(owner), how(std::move(how))
    {
        setObjectName(QStringLiteral("accessibleButton"));
    }
    AccessibleButton how;
};

ButtonWay *wayOf(QObject *o)
{
    return o->findChild<ButtonWay *>(QStringLiteral("accessibleButton"), Qt::FindDirectChildrenOnly);
}

class ButtonInterface : public QAccessibleWidget
{
public:
    // One of a group of which one is chosen reads as a radio button: a
    // push button's checked state goes unspoken.
    ButtonInterface(QWidget *w, bool checkable)
        : QAccessibleWidget(w, checkable ? QAccessible::RadioButton : QAccessible::Button)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        // Reached by the palette's keys, not by Tab, so the focus policy
        // does not tell.
        s.focusable = true;
        const ButtonWay *way = wayOf(object());
        if (way && way->how.checked) {
            s.checkable = true;
            s.checked = way->how.checked();
        }
        return s;
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        const ButtonWay *way = wayOf(object());
        if (way && way->how.press)
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString &name) override
    {
        const ButtonWay *way = wayOf(object());
        if (name == pressAction() && way && way->how.press)
            way->how.press();
        else
            QAccessibleWidget::doAction(name);
    }
};

QAccessibleInterface *buttonFactory(const QString &, QObject *o)
{
    if (!o || !o->isWidgetType())
        return nullptr;
    const ButtonWay *way = wayOf(o);
    return way ? new ButtonInterface(static_cast<QWidget *>(o), bool(way->how.checked)) : nullptr;
}

} // namespace

void makeAccessibleButton(QWidget *w, AccessibleButton how)
{
    static const bool installed = [] {
        QAccessible::installFactory(buttonFactory);
        return true;
    }();
    (void)installed;
    delete wayOf(w);
    new ButtonWay(std::move(how), w);
    // An interface made before this one is dropped, so the next query
    // builds the button.
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    if (iface && !dynamic_cast<ButtonInterface *>(iface))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
}

void announceCheckedChange(QWidget *w)
{
    if (!w)
        return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent e(w, changed);
    QAccessible::updateAccessibility(&e);
}

} // namespace quor
