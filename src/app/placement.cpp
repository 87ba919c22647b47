#include "app/placement.h"

#include <QSettings>

#include <algorithm>

namespace quor {

QSettings settingsFile()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("quor"),
                     QStringLiteral("quor"));
}

namespace {

// Values are kept as the decimal text of a single-precision number.
double readValue(QSettings &s, const char *key, double fallback)
{
    const QVariant v = s.value(QLatin1String(key));
    if (!v.isValid())
        return fallback;
    bool ok = false;
    const float f = v.toString().toFloat(&ok);
    return ok ? double(f) : fallback;
}

} // namespace

Placement readPlacement()
{
    QSettings s = settingsFile();
    s.beginGroup(QStringLiteral("Settings"));
    Placement p;
    p.left = readValue(s, "MainLeft", p.left);
    p.top = readValue(s, "MainTop", p.top);
    p.width = readValue(s, "MainWidth", p.width);
    p.height = readValue(s, "MainHeight", p.height);
    return p;
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
