// Writing pictures: always a 24-bit Windows bitmap, whatever the name's
// extension, replaced atomically so a failed write keeps the old file whole.
#pragma once

#include <QImage>
#include <QString>

namespace quor {

// Throws QuorError: 75 when the file or its folder cannot be written
// (read-only file, no permission), 76 when the folder does not exist,
// other numbers with the system's description for the rest.
void saveBitmapFile(const QImage &image, const QString &fileName);

} // namespace quor
