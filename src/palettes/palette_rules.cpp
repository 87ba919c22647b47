#include "palettes/palette_rules.h"

#include <Qt>

#include <algorithm>

namespace quor {

namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

bool allDigits(const QString &s)
{
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), isDigit);
}

// Keys that move the cursor or select without typing anything.
bool typesNothing(int key, const QString &text)
{
    return key != Qt::Key_Delete && key != Qt::Key_Backspace && text.isEmpty();
}

// The number a digit box holds; an empty or mangled box counts as 0.
double valueOf(const QString &text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok ? v : 0;
}

} // namespace

bool digitKeyAllowed(int key, const QString &text)
{
    if (key == Qt::Key_Delete || typesNothing(key, text))
        return true;
    return text.size() == 1 && isDigit(text[0]);
}

bool keyAllowedWithoutDocument(int key, const QString &text)
{
    return typesNothing(key, text);
}

QString lineWidthText(const QString &text)
{
    // A zero width would be no pen at all; "00" is as much a zero as "0".
    return valueOf(text) == 0 ? QStringLiteral("1") : text;
}

QString bandWidthText(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("0") : text;
}

QString gradientAngleText(const QString &text)
{
    if (text.isEmpty())
        return QStringLiteral("0");
    const double v = valueOf(text);
    return v >= 180 || v < 0 ? QStringLiteral("0") : text;
}

std::optional<SizeEntry> parseSizeEntry(const QString &text)
{
    const int blank = text.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return std::nullopt;
    auto part = [](QString s) -> std::optional<double> {
        s.remove(QLatin1Char(' '));
        if (!allDigits(s))
            return std::nullopt;
        return s.toDouble();
    };
    const auto w = part(text.left(blank));
    const auto h = part(text.mid(blank + 1));
    if (!w || !h)
        return std::nullopt;
    return SizeEntry{std::min(*w, MaxCanvasWidth), std::min(*h, MaxCanvasHeight)};
}

QString sizeEntryText(const SizeEntry &size)
{
    return QString::number(size.width, 'f', 0) + QLatin1Char(' ')
        + QString::number(size.height, 'f', 0);
}

} // namespace quor
