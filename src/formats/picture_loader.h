// Reading picture files. The format is chosen by the file's content, never
// by its name: our own Save writes bitmap data under any name, and such a
// file must open again.
#pragma once

#include "formats/byte_reader.h"

#include <QImage>
#include <QString>

namespace quor {

enum class PictureKind { Unknown, Bmp, Dib, Gif, Jpeg, Png, Ico, Wmf, Emf, WebP, Tiff, Pnm };

PictureKind sniffPicture(ByteSpan data);

// What a decoded picture could not show, for the user to be told.
struct PictureNotes
{
    int skippedRecords = 0; // metafile records that drew nothing
    bool clearPixels = false; // transparent pixels, shown over white
};

// Decodes a picture held in memory. Throws QuorError: InvalidPicture (not
// a picture, damaged, unsupported) or OutOfMemory (too large).
QImage decodePicture(ByteSpan data, const PictureLimits &limits = {},
                     PictureNotes *notes = nullptr);

struct PictureFileForm;

// Reads (through readWholeFile, with its errors) and decodes a file; form,
// when given, is set to what the content turned out to be: its kind, and
// what of it the canvas can not hold.
QImage loadPictureFile(const QString &fileName, const PictureLimits &limits = {},
                       PictureNotes *notes = nullptr, PictureFileForm *form = nullptr);

} // namespace quor
