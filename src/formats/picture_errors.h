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

struct PictureLimits
{
    int maxSide = 32767;                  // pixels, either direction
    qint64 maxPixels = 8192LL * 8192LL;   // width x height
    qint64 maxFileBytes = 1LL << 30;      // bytes read into memory
};

QuorError notAPicture();
QuorError damagedPicture();
QuorError unsupportedPicture();
QuorError emptyPictureFile();
QuorError pictureTooLarge(qint64 width, qint64 height);

// Throws pictureTooLarge (or damagedPicture for a non-positive size) unless
// width x height fits the limits.
void checkPictureSize(qint64 width, qint64 height, const PictureLimits &limits);

} // namespace quor
