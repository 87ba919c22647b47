// A recovery file: what autosave keeps of a changed document so that a
// crash or a lost session loses nothing. A short text header says what the
// file is, which document it was and what kind of file that document came
// from; a small preview and the picture follow as PNG:
//
//   QUOR-RECOVERY 2
//   caption <the caption, percent-encoded UTF-8>
//   time <when it was written, ISO 8601 UTC>
//   pixels <width> <height>
//   twips <width> <height>
//   file <kind or -> <frames> <bits a sample> <colour|grey|mono> [alpha]
//   preview <byte count, 13 digits>
//   png <byte count, 13 digits>
//   <empty line>
//   <the preview's PNG bytes><the picture's PNG bytes, up to the end>
//
// Files of version 1 (no file and preview lines) still read.
#pragma once

#include "formats/picture_file_form.h"

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
    QSize pixels;           // the picture's size, known without decoding it
    PictureFileForm form;   // what Save writes the document as
    QImage preview;         // at most PreviewSide a side; none in version 1
    QImage picture;         // Format_RGB32
};

constexpr int RecoveryPreviewSide = 96;

// The small picture stored beside a large one, so that offering it takes
// no decoding of the whole.
QImage recoveryPreview(const QImage &picture);

// Writes the record (its preview made from the picture when it has none)
// to the device (a QSaveFile, which can seek back to fill in the counts).
// False, with the device's error, when a write fails.
bool writeRecoveryRecord(QIODevice &out, const RecoveryRecord &record);

// Reads a recovery file of `size` bytes from the device. Anything but a
// whole, sound file gives no picture and a short Chinese reason. With
// Header, the picture is not decoded: the header, the preview and the
// counts against the size are checked.
enum class RecoveryPart { Header, Whole };
struct RecoveryRead
{
    RecoveryRecord record;
    QString problem; // empty when the record is whole
};
RecoveryRead readRecoveryRecord(QIODevice &in, qint64 size, RecoveryPart part = RecoveryPart::Whole);

// The same from a file, opened as the picture loader opens files: only a
// regular file, never waiting on a pipe; for Header, only the first few
// hundred kilobytes are read.
RecoveryRead readRecoveryFile(const QString &path, RecoveryPart part);

} // namespace quor
