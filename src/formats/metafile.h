// Windows metafiles (with or without the 22-byte placeable header) and
// enhanced metafiles, played onto a white picture of the metafile's own
// size. Records we do not draw are skipped and counted in skippedRecords
// (when given); a record that does not fit in the file, or a file without
// its end record, is damaged.
#pragma once

#include "formats/byte_reader.h"

#include <QImage>

namespace quor {

bool looksLikeWmf(ByteSpan data);
bool looksLikeEmf(ByteSpan data);
QImage renderWmf(ByteSpan data, const PictureLimits &limits, int *skippedRecords = nullptr);
QImage renderEmf(ByteSpan data, const PictureLimits &limits, int *skippedRecords = nullptr);

// Metafile pictures are drawn at the screen's usual resolution.
constexpr double MetafileDpi = 96;

} // namespace quor
