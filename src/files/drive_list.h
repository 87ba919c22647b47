// The browser's drive list on this desktop: the home folder first, then the
// root file system and every mounted volume a file manager would show
// (removable media, other disks, network shares), never a pseudo file
// system.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

namespace quor {

struct Volume
{
    QString rootPath;
    QString label; // the file system's own name; may be empty
    QByteArray device;
    QByteArray fsType;
    bool ready = true;
};

// Whether a file manager would offer the volume: a disk or network share
// mounted where extra disks go (/media, /run/media, /mnt, or inside the
// home folder `home`).
bool userVisibleVolume(const Volume &v, const QString &home);

// The volumes a user sees now: the system's list filtered by
// userVisibleVolume, or what a test installed with setVolumeSource.
QList<Volume> userVolumes();
using VolumeSource = std::function<QList<Volume>()>;
void setVolumeSource(VolumeSource source); // empty: the system's list

struct Drive
{
    QString rootPath;
    QString name; // shown, and in capitals as the title of its messages
    QString text; // the list's entry
};

// Home, the root, then `volumes` in their order, each folder once.
QList<Drive> driveList(const QList<Volume> &volumes, const QString &home);

// The drive whose folder holds `folder` most closely; -1 for none.
int driveIndexOf(const QList<Drive> &drives, const QString &folder);

// Throws QuorError 68 (device unavailable) unless the drive can be entered
// now: still mounted, ready, and its folder readable.
void checkDriveReady(const Drive &drive);

} // namespace quor
