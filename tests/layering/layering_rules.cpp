#include "layering_rules.h"

#include <QHash>

namespace {

// core < formats < document < tools, palettes, effects, files < dialogs < app
int rankOf(const QString &folder)
{
    static const QHash<QString, int> ranks = {
        {"core", 0}, {"formats", 1}, {"document", 2}, {"tools", 3}, {"palettes", 3},
        {"effects", 3}, {"files", 3}, {"dialogs", 4}, {"app", 5},
    };
    return ranks.value(folder, -1);
}

QString folderOf(const QString &path) { return path.section('/', 0, 0); }

bool isModel(const QString &path) { return path.startsWith("document/model/"); }

// Places that must stay free of widgets.
bool widgetFree(const QString &file)
{
    const QString f = folderOf(file);
    return f == "core" || f == "formats" || f == "tools" || f == "effects" || isModel(file);
}

} // namespace

QString includeViolation(const QString &file, const QString &header, bool quoted,
                         bool isWidgetHeader)
{
    if (!quoted)
        return isWidgetHeader && widgetFree(file)
            ? QString("%1 includes the widget header <%2>").arg(file, header)
            : QString();
    const QString from = folderOf(file), to = folderOf(header);
    const int a = rankOf(from), b = rankOf(to);
    if (a < 0 || b < 0)
        return {}; // not one of ours (a library's own header)
    if (from == to) {
        // The model lies beneath the document window's files.
        if (isModel(file) && !isModel(header))
            return QString("%1 (model) includes %2 above it").arg(file, header);
        return {};
    }
    if (b > a)
        return QString("%1 includes %2 upwards").arg(file, header);
    if (b == a)
        return QString("%1 includes %2 sideways").arg(file, header);
    return {};
}
