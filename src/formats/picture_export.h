// Exporting the canvas for other programs: PNG, JPEG, BMP, TIFF or WebP,
// as far as Qt's image plugins on this machine can write them. Save keeps
// writing bitmaps; an export changes nothing about the document.
#pragma once

#include "formats/picture_loader.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

#include <optional>

namespace quor {

struct ExportFormat
{
    const char *writer;      // Qt's image writer name
    const char *description; // shown in the filter
    const char *patterns;    // "*.jpg;*.jpeg": the first gives new names
    bool asksQuality;        // lossy: the user picks the quality
};

// Every format the program exports, in the filter's order.
const QList<ExportFormat> &exportFormatTable();
// Those the installed image plugins can write.
QList<ExportFormat> availableExportFormats();

// "PNG (*.PNG)|*.png|…", the dialog's filter for the formats.
QString exportFilter(const QList<ExportFormat> &formats);
// The format of a 1-based filter entry; the first for anything else.
ExportFormat formatOfFilterEntry(const QList<ExportFormat> &formats, int entry);

// The lossless format Save writes a file read as `kind` in: PNG, WebP,
// TIFF, or a pixmap for any PNM; nothing for the kinds written as bitmaps.
std::optional<ExportFormat> keptFormat(PictureKind kind);

// The file name with its extension (if any) replaced by the format's own,
// so the dialog offers a fitting name next to the document.
QString exportName(const QString &fileName, const ExportFormat &format);

constexpr int DefaultJpegQuality = 90;

// The picture as the format's file, in memory. quality 1..100 counts for
// the lossy formats only. Throws QuorError 7 when memory runs out and 57
// when the writer refuses. saveEncodedFile writes the result like Save.
QByteArray encodePicture(const QImage &image, const ExportFormat &format, int quality);

} // namespace quor
