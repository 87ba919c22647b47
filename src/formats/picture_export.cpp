#include "formats/picture_export.h"

#include "core/errors.h"

#include <QBuffer>
#include <QImageWriter>

#include <new>

namespace quor {

namespace {

QuorError outOfMemory() { return QuorError(err::OutOfMemory, QStringLiteral("内存不足，文件未保存。")); }

} // namespace

const QList<ExportFormat> &exportFormatTable()
{
    static const QList<ExportFormat> table = {
        {"png", "PNG", "*.png", false},
        {"jpeg", "JPEG", "*.jpg;*.jpeg", true},
        {"bmp", "BMP", "*.bmp", false},
        {"tiff", "TIFF", "*.tif;*.tiff", false},
        {"webp", "WebP", "*.webp", false},
    };
    return table;
}

QList<ExportFormat> availableExportFormats()
{
    const QList<QByteArray> writable = QImageWriter::supportedImageFormats();
    QList<ExportFormat> result;
    for (const ExportFormat &f : exportFormatTable())
        if (writable.contains(QByteArray(f.writer)))
            result << f;
    return result;
}

std::optional<ExportFormat> keptFormat(PictureKind kind)
{
    const QList<ExportFormat> &table = exportFormatTable();
    switch (kind) {
    case PictureKind::Png: return table[0];
    case PictureKind::Tiff: return table[3];
    case PictureKind::WebP: return table[4];
    case PictureKind::Pnm: return ExportFormat{"ppm", "PPM", "*.ppm", false};
    default: return std::nullopt;
    }
}

QString exportFilter(const QList<ExportFormat> &formats)
{
    QStringList pairs;
    for (const ExportFormat &f : formats) {
        const QString patterns = QLatin1String(f.patterns);
        pairs << QStringLiteral("%1 (%2)|%3").arg(QLatin1String(f.description), patterns.toUpper(),
                                                 patterns);
    }
    return pairs.join(QLatin1Char('|'));
}

ExportFormat formatOfFilterEntry(const QList<ExportFormat> &formats, int entry)
{
    if (formats.isEmpty())
        return exportFormatTable().first();
    return formats.value(entry - 1, formats.first());
}

QString exportName(const QString &fileName, const ExportFormat &format)
{
    // "*.jpg;*.jpeg" gives ".jpg".
    const QString extension =
        QString::fromLatin1(format.patterns).section(QLatin1Char(';'), 0, 0).mid(1);
    const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    // A dot that starts the name (".hidden") is no extension.
    const bool hasExtension = dot > slash + 1;
    return (hasExtension ? fileName.left(dot) : fileName) + extension;
}

QByteArray encodePicture(const QImage &image, const ExportFormat &format, int quality)
{
    QByteArray bytes;
    try {
        // The canvas has no transparency; 32-bit pixels without alpha are
        // written as plain colour by every writer.
        const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
        if (pixels.isNull())
            throw outOfMemory();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, format.writer);
        // WebP at quality 100 is lossless: drawn lines stay crisp.
        writer.setQuality(format.asksQuality ? qBound(1, quality, 100)
                                             : QByteArray(format.writer) == "webp" ? 100 : -1);
        if (!writer.write(pixels))
            throw QuorError(err::DeviceIO,
                            QStringLiteral("无法写出 %1 图片（%2），文件未保存。")
                                .arg(QLatin1String(format.description), writer.errorString()));
    } catch (const std::bad_alloc &) {
        throw outOfMemory();
    }
    return bytes;
}

} // namespace quor
