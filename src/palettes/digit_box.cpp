#include "palettes/digit_box.h"

#include "palettes/palette_rules.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

namespace quor {

namespace {

class DigitValidator : public QValidator
{
public:
    DigitValidator(bool allowBlanks, QObject *parent) : QValidator(parent), m_blanks(allowBlanks) {}

    State validate(QString &input, int &) const override
    {
        for (QChar c : input) {
            const bool ok = (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                || (m_blanks && c == QLatin1Char(' '));
            if (!ok)
                return Invalid;
        }
        return Acceptable;
    }

private:
    bool m_blanks;
};

class DigitKeyFilter : public QObject
{
public:
    DigitKeyFilter(std::function<bool()> hasDocument, QObject *parent)
        : QObject(parent), m_hasDocument(std::move(hasDocument))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() != QEvent::KeyPress && e->type() != QEvent::ShortcutOverride)
            return QObject::eventFilter(watched, e);
        auto *k = static_cast<QKeyEvent *>(e);
        // Copying out and selecting change nothing.
        if (k->matches(QKeySequence::Copy) || k->matches(QKeySequence::SelectAll))
            return false;
        const bool allowed = m_hasDocument() ? digitKeyAllowed(k->key(), k->text())
                                             : keyAllowedWithoutDocument(k->key(), k->text());
        if (allowed)
            return false;
        // Kept from the box's own editing shortcuts (paste, undo) but not
        // claimed: the program's keys (Ctrl+Q, the F keys) act from the box,
        // and a key no command takes arrives here again and is discarded.
        return true;
    }

private:
    std::function<bool()> m_hasDocument;
};

} // namespace

void makeDigitBox(QLineEdit *box, std::function<bool()> hasDocument, bool allowBlanks)
{
    box->setValidator(new DigitValidator(allowBlanks, box));
    box->installEventFilter(new DigitKeyFilter(std::move(hasDocument), box));
}

} // namespace quor
