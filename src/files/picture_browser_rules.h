// The picture browser's names and arithmetic, apart from its widgets so
// that they can be checked directly.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace quor {

// The file patterns the browser lists (matched without regard to case).
QStringList browserNameFilters();

// The full name of `fileName` in `folder`: joined with "/", unless the
// folder already ends in one (the root folder).
QString browserFullName(const QString &folder, const QString &fileName);

// Where a sample goes in its display frame and how far the scroll bars
// reach. All sizes in twips: the sample w x h, the frame's inside vw x vh,
// the vertical bar's width sv and the horizontal bar's height sh, both
// lying inside the frame.
struct SampleLayout
{
    double left = 0, top = 0;
    int verticalMax = 0, horizontalMax = 0; // in scroll units of 20 twips
};
SampleLayout sampleLayout(double w, double h, double vw, double vh, double sv, double sh);

// The sample's offset for a scroll value: 20 twips a unit, in full width,
// so that the far edge of any sample can be reached.
double sampleOffset(int value);

// "width  height" for the size box.
QString sampleSizeText(double scaleWidth, double scaleHeight);

// One row of the folder list: the folders from the root down to the
// current one, then the current one's subfolders one level deeper.
struct FolderRow
{
    QString path;
    QString label;
    int depth = 0;
    bool current = false;
};
QList<FolderRow> folderRows(const QString &path, const QStringList &subfolders);

} // namespace quor
