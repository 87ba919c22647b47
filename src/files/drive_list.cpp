#include "files/drive_list.h"

#include "core/errors.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>

namespace quor {

namespace {

VolumeSource &installedSource()
{
    static VolumeSource source;
    return source;
}

bool isInside(const QString &path, const QString &folder)
{
    const QString f = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    return path.startsWith(f);
}

QString cleanFolder(const QString &path)
{
    return QDir::cleanPath(QDir(path).absolutePath());
}

Drive makeDrive(const QString &root, const QString &label)
{
    QString name = label;
    if (name.isEmpty())
        name = root == QLatin1String("/") ? root : QFileInfo(root).fileName();
    const QString text =
        name == root ? root : name + QStringLiteral(" (") + root + QLatin1Char(')');
    return {root, name, text};
}

QList<Volume> systemVolumes()
{
    QList<Volume> volumes;
    for (const QStorageInfo &s : QStorageInfo::mountedVolumes())
        volumes.append({s.rootPath(), s.name(), s.device(), s.fileSystemType(), s.isReady()});
    return volumes;
}

} // namespace

bool userVisibleVolume(const Volume &v, const QString &home)
{
    // Kernel, memory and container file systems, and the pieces of packaged
    // software, are no places for pictures.
    static const QSet<QByteArray> pseudo = {
        "proc",     "sysfs",   "devtmpfs", "devpts",     "tmpfs",      "ramfs",   "cgroup",
        "cgroup2",  "securityfs", "pstore", "debugfs",   "tracefs",    "configfs", "fusectl",
        "mqueue",   "hugetlbfs", "bpf",    "autofs",     "binfmt_misc", "nsfs",   "efivarfs",
        "rpc_pipefs", "nfsd",  "selinuxfs", "squashfs",  "overlay",    "fuse.portal",
        "fuse.gvfsd-fuse"};
    if (pseudo.contains(v.fsType))
        return false;
    const QString device = QString::fromLocal8Bit(v.device);
    const bool disk = device.startsWith(QLatin1String("/dev/"));
    const bool share = device.startsWith(QLatin1String("//"))
        || device.contains(QLatin1String(":/")) || v.fsType.startsWith("fuse.sshfs");
    if (!disk && !share)
        return false;
    const QString root = cleanFolder(v.rootPath);
    return isInside(root, QStringLiteral("/media")) || isInside(root, QStringLiteral("/run/media"))
        || isInside(root, QStringLiteral("/mnt")) || root == QLatin1String("/mnt")
        || (!home.isEmpty() && isInside(root, cleanFolder(home)));
}

void setVolumeSource(VolumeSource source)
{
    installedSource() = std::move(source);
}

QList<Volume> userVolumes()
{
    if (installedSource())
        return installedSource()();
    QList<Volume> shown;
    const QString home = QDir::homePath();
    for (const Volume &v : systemVolumes())
        if (userVisibleVolume(v, home))
            shown.append(v);
    return shown;
}

QList<Drive> driveList(const QList<Volume> &volumes, const QString &home)
{
    const QString homeRoot = cleanFolder(home);
    QList<Drive> drives{makeDrive(homeRoot, QFileInfo(homeRoot).fileName())};
    QSet<QString> seen{homeRoot};
    if (!seen.contains(QStringLiteral("/"))) {
        drives.append(makeDrive(QStringLiteral("/"), {}));
        seen.insert(QStringLiteral("/"));
    }
    for (const Volume &v : volumes) {
        const QString root = cleanFolder(v.rootPath);
        if (seen.contains(root))
            continue;
        seen.insert(root);
        drives.append(makeDrive(root, v.label));
    }
    return drives;
}

int driveIndexOf(const QList<Drive> &drives, const QString &folder)
{
    const QString f = cleanFolder(folder);
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < drives.size(); ++i) {
        const QString &root = drives[i].rootPath;
        if ((f == root || isInside(f, root)) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    return best;
}

void checkDriveReady(const Drive &drive)
{
    const QString home = cleanFolder(QDir::homePath());
    bool ready = drive.rootPath == QLatin1String("/") || drive.rootPath == home;
    if (!ready) {
        // A volume must still be mounted: its empty mount folder would
        // otherwise pass for it.
        for (const Volume &v : userVolumes())
            if (cleanFolder(v.rootPath) == drive.rootPath)
                ready = v.ready;
    }
    const QFileInfo folder(drive.rootPath);
    if (!ready || !folder.isDir() || !folder.isReadable() || !folder.isExecutable())
        throw QuorError(err::DriveNotReady, QStringLiteral("设备不可用"));
}

} // namespace quor
