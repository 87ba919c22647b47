#include "files/bitmap_file.h"

#include "core/dialog_seam.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

namespace quor {

void saveBitmapFile(const QImage &image, const QString &fileName)
{
    const QFileInfo info(fileName);
    if (!info.dir().exists())
        throw QuorError(err::PathNotFound, QStringLiteral("路径未找到"));
    // Replacing a file by renaming would slip past its read-only mark.
    // A file with no write permission bit counts as read-only even for root.
    // (The "User" bits describe the caller's access, which root always has.)
    const auto writeBits = QFileDevice::WriteOwner | QFileDevice::WriteGroup
        | QFileDevice::WriteOther;
    if (info.exists() && (!info.isWritable() || info.isDir() || !(info.permissions() & writeBits)))
        throw QuorError(err::PathFileAccess, QStringLiteral("路径/文件访问错误"));

    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        if (file.error() == QFileDevice::PermissionsError || file.error() == QFileDevice::OpenError)
            throw QuorError(err::PathFileAccess, QStringLiteral("路径/文件访问错误"));
        throw QuorError(err::DeviceIO, file.errorString());
    }
    // 32-bit pixels without alpha are written as 24-bit bitmap data.
    QImageWriter writer(&file, "bmp");
    if (!writer.write(image.convertToFormat(QImage::Format_RGB32))) {
        file.cancelWriting();
        throw QuorError(err::DeviceIO, writer.errorString());
    }
    if (!file.commit())
        throw QuorError(err::DeviceIO, file.errorString());
}

} // namespace quor
