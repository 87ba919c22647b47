// A recovery file: what autosave keeps of a changed document so that a
// crash or a lost session loses nothing. A short text header says what the
// file is and which document it was; the picture follows as PNG:
//
//   QUOR-RECOVERY 1
//   caption <the caption, percent-encoded UTF-8>
//   time <when it was written, ISO 8601 UTC>
//   pixels <width> <height>
//   twips <width> <height>
//   png <byte count, 13 digits>
//   <empty line>
//   <the PNG bytes, exactly that many, up to the end>
#pragma once

#include <QDateTime>
#include <QImage>
#include <QString>

class QIODevice;

namespace quor {

struct RecoveryRecord
{
    QString caption;        // the file's full path, or "New Quor" and a number
    QDateTime time;         // when the picture was taken
    double twipsWidth = 0;  // the canvas's logical size
    double twipsHeight = 0;
    QImage picture;         // Format_RGB32
};

// Writes the record to the device (a QSaveFile, which can seek back to fill
// in the count). False, with the device's error, when a write fails.
bool writeRecoveryRecord(QIODevice &out, const RecoveryRecord &record);

// Reads a recovery file of `size` bytes from the device. Anything but a
// whole, sound file gives no picture and a short Chinese reason.
struct RecoveryRead
{
    RecoveryRecord record;
    QString problem; // empty when the record is whole
};
RecoveryRead readRecoveryRecord(QIODevice &in, qint64 size);

} // namespace quor
