#include "files/picture_browser_rules.h"

#include "core/colour.h"

#include <QDir>

namespace quor {

QStringList browserNameFilters()
{
    return {QStringLiteral("*.qor"), QStringLiteral("*.bmp"), QStringLiteral("*.jpg"),
            QStringLiteral("*.jpe"), QStringLiteral("*.jpeg"), QStringLiteral("*.gif"),
            QStringLiteral("*.ico"), QStringLiteral("*.dib"), QStringLiteral("*.wmf"),
            QStringLiteral("*.emf"), QStringLiteral("*.png"), QStringLiteral("*.webp"),
            QStringLiteral("*.tif"), QStringLiteral("*.tiff"), QStringLiteral("*.pnm"),
            QStringLiteral("*.pbm"), QStringLiteral("*.pgm"), QStringLiteral("*.ppm")};
}

QString browserFullName(const QString &folder, const QString &fileName)
{
    if (folder.endsWith(QLatin1Char('/')))
        return folder + fileName;
    return folder + QLatin1Char('/') + fileName;
}

SampleLayout sampleLayout(double w, double h, double vw, double vh, double sv, double sh)
{
    SampleLayout l;
    const bool fitsAcross = vw - sv >= w, fitsDown = vh - sh >= h;
    l.left = fitsAcross ? vw / 2 - w / 2 : 0;
    l.top = fitsDown ? vh / 2 - h / 2 : 0;
    l.verticalMax = fitsDown ? 0 : roundHalfEven((h - (vh - sh)) / 20);
    l.horizontalMax = fitsAcross ? 0 : roundHalfEven((w - (vw - sv)) / 20);
    return l;
}

double sampleOffset(int value)
{
    return -20.0 * value;
}

QString sampleSizeText(double scaleWidth, double scaleHeight)
{
    return QString::number(scaleWidth) + QStringLiteral("  ") + QString::number(scaleHeight);
}

QList<FolderRow> folderRows(const QString &path, const QStringList &subfolders)
{
    const QString clean = QDir::cleanPath(path.isEmpty() ? QStringLiteral("/") : path);
    QList<FolderRow> rows{{QStringLiteral("/"), QStringLiteral("/"), 0, false}};
    QString walked;
    for (const QString &part : clean.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        walked += QLatin1Char('/') + part;
        rows.append({walked, part, int(rows.size()), false});
    }
    rows.last().current = true;
    const QString current = rows.last().path;
    const int depth = rows.last().depth + 1;
    for (const QString &sub : subfolders)
        rows.append({browserFullName(current, sub), sub, depth, false});
    return rows;
}

} // namespace quor
