#include "formats/bitmap_file.h"

#include "core/errors.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <new>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace quor {

namespace {

QuorError accessError() { return QuorError(err::PathFileAccess, QStringLiteral("路径/文件访问错误")); }

QuorError outOfMemory() { return QuorError(err::OutOfMemory, QStringLiteral("内存不足，文件未保存。")); }

// A failed write or commit, by the system's error number.
QuorError writeError(int code, const QString &description)
{
    if (code == 0 && description.contains(QLatin1String("No space left")))
        code = ENOSPC;
    switch (code) {
    case EACCES:
    case EPERM:
    case EROFS:
        return accessError();
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QuorError(err::DeviceIO, QStringLiteral("磁盘空间不足，文件未保存。"));
    case ENOENT:
        return QuorError(err::PathNotFound, QStringLiteral("保存文件的文件夹已不存在，文件未保存。"));
    default:
        return QuorError(err::DeviceIO, QStringLiteral("写入文件时出错（%1），文件未保存。")
                                            .arg(code ? QString::fromLocal8Bit(std::strerror(code))
                                                      : description));
    }
}

// The whole file in memory first: the picture is complete before the old
// file is touched, and a failure says what failed.
QByteArray encodeBitmap(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // 32-bit pixels without alpha are written as 24-bit bitmap data.
    QImageWriter writer(&buffer, "bmp");
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    if (pixels.isNull() || !writer.write(pixels))
        throw outOfMemory();
    return bytes;
}

// Refuses a target that can not be written before anything is encoded.
void checkTarget(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (!info.dir().exists())
        throw QuorError(err::PathNotFound, QStringLiteral("保存文件的文件夹已不存在，文件未保存。"));
    // Replacing a file by renaming would slip past its read-only mark.
    // A file with no write permission bit counts as read-only even for root.
    // (The "User" bits describe the caller's access, which root always has.)
    const auto writeBits = QFileDevice::WriteOwner | QFileDevice::WriteGroup
        | QFileDevice::WriteOther;
    if (info.exists() && (!info.isWritable() || info.isDir() || !(info.permissions() & writeBits)))
        throw accessError();
}

QString systemReason(int code) { return QString::fromLocal8Bit(std::strerror(code)); }

// The names of the file's extended attributes; empty when it has none or
// its file system keeps none.
QList<QByteArray> attributeNames(const QByteArray &path)
{
    QByteArray names;
    // The list may grow between asking its size and reading it.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const ssize_t size = ::listxattr(path.constData(), nullptr, 0);
        if (size <= 0)
            return {};
        names.resize(size);
        const ssize_t got = ::listxattr(path.constData(), names.data(), std::size_t(size));
        if (got >= 0) {
            names.resize(got);
            QList<QByteArray> list = names.split('\0');
            list.removeAll(QByteArray());
            return list;
        }
        if (errno != ERANGE)
            return {};
    }
    return {};
}

// Gives the new file (still the temporary one, open as fd) what the file
// it replaces carried: owner, permission bits, the user's extended
// attributes (the file properties dialog keeps its marks there) and the
// access list. Renaming would otherwise drop them all. Returns what could
// not be kept, empty when all was.
QString keepOldFileMarks(int fd, const QString &fileName)
{
    const QByteArray path = QFile::encodeName(fileName);
    struct stat old;
    if (::stat(path.constData(), &old) != 0 || !S_ISREG(old.st_mode))
        return {};
    QStringList lost;
    struct stat now;
    if (::fstat(fd, &now) == 0 && (now.st_uid != old.st_uid || now.st_gid != old.st_gid)
        && ::fchown(fd, old.st_uid, old.st_gid) != 0)
        lost << QStringLiteral("所有者（%1）").arg(systemReason(errno));
    // Set-user and set-group bits stay behind, as a write by another
    // user would clear them too.
    if (::fchmod(fd, old.st_mode & 01777) != 0)
        lost << QStringLiteral("权限（%1）").arg(systemReason(errno));
    for (const QByteArray &name : attributeNames(path)) {
        if (!name.startsWith("user.") && name != "system.posix_acl_access")
            continue; // the system's own labels are the system's to set
        QByteArray value;
        ssize_t size = ::getxattr(path.constData(), name.constData(), nullptr, 0);
        if (size > 0) {
            value.resize(size);
            size = ::getxattr(path.constData(), name.constData(), value.data(), std::size_t(size));
        }
        if (size < 0)
            continue; // gone meanwhile
        if (::fsetxattr(fd, name.constData(), value.constData(), std::size_t(size), 0) != 0)
            lost << QStringLiteral("扩展属性 %1（%2）")
                        .arg(QString::fromLocal8Bit(name), systemReason(errno));
    }
    if (lost.isEmpty())
        return {};
    return QStringLiteral("文件已保存，但原文件的%1未能保留。").arg(lost.join(QStringLiteral("、")));
}

QString commitFile(const QByteArray &bytes, const QString &fileName)
{
    QSaveFile file(fileName);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        if (errno == 0 && file.error() == QFileDevice::PermissionsError)
            throw accessError();
        throw writeError(errno == 0 ? EACCES : errno, file.errorString());
    }
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        const int code = errno;
        file.cancelWriting();
        throw writeError(code, file.errorString());
    }
    const QString lost = keepOldFileMarks(int(file.handle()), fileName);
    errno = 0;
    if (!file.commit())
        throw writeError(errno, file.errorString());
    return lost;
}

} // namespace

QString saveBitmapFile(const QImage &image, const QString &fileName)
{
    checkTarget(fileName);
    QByteArray bytes;
    try {
        bytes = encodeBitmap(image);
    } catch (const std::bad_alloc &) {
        throw outOfMemory();
    }
    return commitFile(bytes, fileName);
}

QString saveEncodedFile(const QByteArray &bytes, const QString &fileName)
{
    checkTarget(fileName);
    return commitFile(bytes, fileName);
}

} // namespace quor
