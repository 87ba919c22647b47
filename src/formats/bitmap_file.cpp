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

void commitFile(const QByteArray &bytes, const QString &fileName)
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
    errno = 0;
    if (!file.commit())
        throw writeError(errno, file.errorString());
}

} // namespace

void saveBitmapFile(const QImage &image, const QString &fileName)
{
    checkTarget(fileName);
    QByteArray bytes;
    try {
        bytes = encodeBitmap(image);
    } catch (const std::bad_alloc &) {
        throw outOfMemory();
    }
    commitFile(bytes, fileName);
}

void saveEncodedFile(const QByteArray &bytes, const QString &fileName)
{
    checkTarget(fileName);
    commitFile(bytes, fileName);
}

} // namespace quor
