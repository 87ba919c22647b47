// The one way the program reads a file the user named (pictures, text,
// browser samples): only regular files, never more than a limit. A named
// pipe would block the user-interface thread for good, and a device or a
// kernel file can report size 0 and then never end.
#pragma once

#include "core/errors.h"

#include <QByteArray>
#include <QString>

namespace quor {

// The whole content of `fileName` (a regular file or a link to one), at
// most `maxBytes` bytes. Throws QuorError:
// - 53 when the file does not exist,
// - 75 when it may not be read,
// - err::NotARegularFile for a folder, pipe, socket or device, which is never
//   opened (opening a pipe waits for a writer),
// - 7 (out of memory) when it is larger than `maxBytes`, whatever size it
//   reports,
// - 57 for an input/output error while reading.
QByteArray readWholeFile(const QString &fileName, qint64 maxBytes);

// The same file opened with the same checks and errors, to be read piece
// by piece: a decoder that can work as the bytes come needs no room for the
// whole file.
class OpenedFile
{
public:
    OpenedFile(const QString &fileName, qint64 maxBytes);
    ~OpenedFile();
    OpenedFile(const OpenedFile &) = delete;
    OpenedFile &operator=(const OpenedFile &) = delete;

    // The size the open file reported: a first guess only.
    qint64 reportedSize() const { return m_reportedSize; }
    // Up to n bytes from where the last read stopped; fewer only at the end.
    qint64 read(char *to, qint64 n);
    // Everything from there to the end, after the bytes already read.
    QByteArray readRest(QByteArray readBefore = {});

private:
    QString m_fileName;
    qint64 m_maxBytes;
    int m_fd = -1;
    qint64 m_reportedSize = 0;
    qint64 m_position = 0;
};

} // namespace quor
