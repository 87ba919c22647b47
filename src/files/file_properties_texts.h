// The texts of the file-properties dialog: what it shows of a file and the
// messages it gives.
#pragma once

#include "formats/file_attributes.h"

#include <QDateTime>
#include <QString>

namespace quor {

// "N 字节".
QString fileSizeText(qint64 bytes);
// The path's last four characters and " 文件": ".bmp 文件".
QString fileTypeText(const QString &path);
// The path up to and with its last "/" (empty without one).
QString fileFolderText(const QString &path);
// The short date and time of the Chinese locale: "2024/5/6 13:45".
QString fileTimeText(const QDateTime &time);

// A document that was never saved has no file to show.
QString notSavedMessage();
// What an attribute change could not keep, naming the attributes; empty
// when it kept everything.
QString notKeptMessage(const AttributesNotKept &notKept);

} // namespace quor
