// The folder order of the sources and the check of one include against it.
#pragma once

#include <QString>
#include <QStringList>

// An empty text when a file at `file` (relative to src/, e.g.
// "tools/zoom_tool.cpp") may include `header` (as written between the
// quotes or angle brackets, quoted says which); otherwise why not.
// isWidgetHeader tells whether an angle-bracket header belongs to Qt's
// widget or print modules.
QString includeViolation(const QString &file, const QString &header, bool quoted,
                         bool isWidgetHeader);
