#include "app/placement.h"

#include <QSettings>

#include <algorithm>
#include <cmath>
#include <optional>

namespace quor {

QSettings settingsFile()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("quor"),
                     QStringLiteral("quor"));
}

namespace {

// Values are kept as the decimal text of a single-precision number. The
// file is anyone's to edit: a value that is no number of twips a screen
// could show (NaN, infinite, beyond a 32767-pixel screen at 15 twips a
// pixel) is none at all, as it would not even convert to pixels.
std::optional<double> readValue(QSettings &s, const char *key, double fallback, double lowest)
{
    constexpr double Farthest = 32767.0 * 15;
    const QVariant v = s.value(QLatin1String(key));
    if (!v.isValid())
        return fallback;
    bool ok = false;
    const double f = v.toString().toFloat(&ok);
    if (!ok || !std::isfinite(f) || f < lowest || f > Farthest)
        return std::nullopt;
    return f;
}

} // namespace

Placement readPlacement()
{
    QSettings s = settingsFile();
    s.beginGroup(QStringLiteral("Settings"));
    const Placement defaults;
    const auto left = readValue(s, "MainLeft", defaults.left, -32767.0 * 15);
    const auto top = readValue(s, "MainTop", defaults.top, -32767.0 * 15);
    const auto width = readValue(s, "MainWidth", defaults.width, 0);
    const auto height = readValue(s, "MainHeight", defaults.height, 0);
    // One unusable value spoils the lot: the window goes where it starts
    // on a first run rather than half where it was.
    if (!left || !top || !width || !height)
        return defaults;
    return {*left, *top, *width, *height};
}

int readAutosaveSeconds()
{
    constexpr int Default = 30, Longest = 24 * 60 * 60;
    QSettings s = settingsFile();
    bool ok = false;
    const int seconds = s.value(QStringLiteral("Settings/AutosaveSeconds")).toString().toInt(&ok);
    return ok ? std::clamp(seconds, 0, Longest) : Default;
}

void writePlacement(const Placement &p)
{
    QSettings s = settingsFile();
    s.beginGroup(QStringLiteral("Settings"));
    s.setValue(QStringLiteral("MainLeft"), QString::number(float(p.left)));
    s.setValue(QStringLiteral("MainTop"), QString::number(float(p.top)));
    s.setValue(QStringLiteral("MainWidth"), QString::number(float(p.width)));
    s.setValue(QStringLiteral("MainHeight"), QString::number(float(p.height)));
    s.sync();
}

} // namespace quor
