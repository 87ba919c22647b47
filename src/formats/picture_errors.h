// What can go wrong while reading a picture, as the errors the file
// commands report, and the size limits every reader checks before it
// allocates anything.
#pragma once

#include "core/errors.h"

#include <QtGlobal>

namespace quor {

// The picture loader's own error number: the file is no picture it can
// read (not a picture at all, damaged, or an unsupported variant).
constexpr int InvalidPicture = err::InvalidPicture;

// One limit for every picture the program makes (zoom, resize, paste) and
// every one it reads (open, recovery, clipboard): what it can make, it can
// save, reopen and recover.
struct PictureLimits
{
    int maxSide = 32767;                  // pixels, either direction
    qint64 maxPixels = 150'000'000;       // width x height: 600 MB a bitmap
    qint64 maxFileBytes = 1LL << 30;      // bytes read into memory
};

// Whether a picture of that size may be made or read.
bool fitsPictureLimits(double width, double height, const PictureLimits &limits = {});

QuorError notAPicture();
QuorError damagedPicture();
QuorError unsupportedPicture();
QuorError emptyPictureFile();
QuorError pictureTooLarge(qint64 width, qint64 height);

// Throws pictureTooLarge (or damagedPicture for a non-positive size) unless
// width x height fits the limits.
void checkPictureSize(qint64 width, qint64 height, const PictureLimits &limits);

} // namespace quor
