// Reading a text or rich-text file for the text tool: the open dialog's
// filter entry decides how the bytes are read, never the file's name.
#pragma once

#include <QString>

namespace quor {

// Files larger than this are refused as too long: far more text than a
// text box shows, and a rich-text file's pictures still fit beneath it.
constexpr qint64 MaxTextFileBytes = 16 * 1024 * 1024;

enum class TextFileKind { Plain, Rich, ByContent };

// The filter entries of the text open dialog, and the reader each picks:
// 1 plain text, 2 rich text, any other by the file's first bytes.
QString textFileFilter();
TextFileKind textKindForFilter(int filterIndex);

// The file's plain text, read through readWholeFile (with its errors) and
// decoded; throws QuorError InvalidFileFormat when rich text was asked for
// and the file is none.
QString readTextFile(const QString &fileName, TextFileKind kind);

} // namespace quor
