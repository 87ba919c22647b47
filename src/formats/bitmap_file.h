// Writing pictures: always a 24-bit Windows bitmap, whatever the name's
// extension, replaced atomically so a failed write keeps the old file whole.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace quor {

// Throws QuorError: 75 when the file or its folder cannot be written
// (read-only file or file system, no permission), 76 when the folder does
// not exist, 7 when the bitmap cannot be made in memory, other numbers with
// a Chinese description naming the cause (a full disk, say) for the rest.
// The old file is left whole in every case.
//
// A file replaced keeps its owner, permission bits, user extended
// attributes and access list. What the file system refused of them is
// returned as a Chinese sentence (empty when all was kept); the file is
// saved all the same.
[[nodiscard]] QString saveBitmapFile(const QImage &image, const QString &fileName);

// Writes bytes encoded elsewhere (an exported picture) the same way, with
// the same checks, errors and kept marks.
[[nodiscard]] QString saveEncodedFile(const QByteArray &bytes, const QString &fileName);

} // namespace quor
