// A small reader for rich-text (RTF) files that keeps only their plain
// text, for the text tool. Groups, control words and symbols are read;
// formatting is dropped; the font, colour and style tables, the document
// information, pictures and every "\*" destination are skipped. Bytes in
// \'hh escapes or raw in the text are decoded in the document's \ansicpg
// code page (1252 when it names none) or the code page of the current
// font's \fcharset; \uN characters are taken with their \ucN fallback
// skipped.
//
// Any bytes give text or a QuorError, in time linear in their length.
#pragma once

#include "core/errors.h"

#include <QByteArrayView>
#include <QString>

namespace quor {

namespace err {
// The bytes are not what the reader was asked to read.
constexpr int InvalidFileFormat = 321;
} // namespace err

// True when the bytes begin as a rich-text document does.
bool startsAsRtf(QByteArrayView bytes);

// The document's text, paragraphs and line breaks as "\n", tabs as "\t";
// the break that closes the last paragraph is not part of it. Throws
// QuorError InvalidFileFormat when the bytes are not a rich-text document.
QString rtfPlainText(QByteArrayView bytes);

} // namespace quor
