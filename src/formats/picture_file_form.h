// What a picture file held beyond the one opaque 8-bit colour picture the
// canvas shows: pages, animation frames, deep samples, transparency, a grey
// or black-and-white kind. Saving in the same format keeps only the canvas, so Save tells the
// user first what the old file had that the new one will not.
#pragma once

#include "formats/picture_loader.h"

#include <QByteArray>
#include <QString>

namespace quor {

enum class ColourKind { Colour, Grey, BlackAndWhite };

struct PictureFileForm
{
    PictureKind kind = PictureKind::Unknown;
    int frames = 1;    // pages of a TIFF, frames of an animated WebP
    bool deep = false; // more than 8 bits a sample
    ColourKind colour = ColourKind::Colour;
    bool alpha = false; // transparent pixels, which the canvas shows over white

    bool operator==(const PictureFileForm &) const = default;
};

// Looks at a whole file's bytes (headers only: nothing is decoded).
PictureFileForm describePictureFile(ByteSpan data);

// The form a file of this kind has once the canvas was written into it.
PictureFileForm savedForm(PictureKind kind);

// What a Save into the same format would drop, one Chinese line each;
// empty when nothing is lost.
QStringList whatSaveDrops(const PictureFileForm &form);

// Short names for the recovery file: "png", "tiff", … ("" for Unknown).
QByteArray pictureKindName(PictureKind kind);
PictureKind pictureKindNamed(const QByteArray &name);

} // namespace quor
