#include "dialogs/effect_window.h"

#include "document/fixed_layout.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QValidator>
#include <QWidget>

namespace quor {

namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

class NumberValidator : public QValidator
{
public:
    NumberValidator(bool minus, QObject *parent) : QValidator(parent), m_minus(minus) {}

    State validate(QString &input, int &) const override
    {
        for (QChar c : input)
            if (!isDigit(c) && !(m_minus && c == QLatin1Char('-')))
                return Invalid;
        return Acceptable;
    }

private:
    bool m_minus;
};

// Keys that type no character: they edit or move and pass untouched.
bool isEditingKey(int key)
{
    switch (key) {
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Insert:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
        return true;
    default:
        return key >= Qt::Key_F1 && key <= Qt::Key_F35;
    }
}

class NumberKeys : public QObject
{
public:
    NumberKeys(bool minus, std::function<void()> onEnter, QObject *parent)
        : QObject(parent), m_minus(minus), m_onEnter(std::move(onEnter))
    {
    }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() != QEvent::KeyPress && e->type() != QEvent::ShortcutOverride)
            return QObject::eventFilter(o, e);
        auto *k = static_cast<QKeyEvent *>(e);
        const bool command = k->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
        // Escape is the window's (it closes it).
        if (isEditingKey(k->key()) || k->key() == Qt::Key_Escape)
            return false;
        const QString text = k->text();
        const bool enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
        if (!command && !enter && text.size() == 1
            && (isDigit(text[0]) || (m_minus && text[0] == QLatin1Char('-'))))
            return false;
        if (e->type() == QEvent::ShortcutOverride) {
            // The box acts on no other key, so it claims none: the
            // program's shortcuts work from here, the line editor's own
            // (copy, paste, undo) are kept from it.
            e->ignore();
            return true;
        }
        if (!enter && !command && text.isEmpty())
            return false; // a key that types nothing
        if (enter && m_onEnter)
            m_onEnter();
        return true;
    }

private:
    bool m_minus;
    std::function<void()> m_onEnter;
};

} // namespace

void makeNumberBox(QLineEdit *box, bool allowMinus, std::function<void()> onEnter)
{
    box->setValidator(new NumberValidator(allowMinus, box));
    box->installEventFilter(new NumberKeys(allowMinus, std::move(onEnter), box));
}

} // namespace quor
