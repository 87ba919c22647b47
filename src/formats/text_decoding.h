// Bytes of a text file into text: the Unicode forms a byte-order mark names,
// UTF-8, and the legacy code pages Chinese files come in (through iconv).
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <map>

namespace quor {

// Decodes bytes of one Windows code page (936, 1252, 950, 65001, ...).
// Converters are opened once per code page and kept for the decoder's
// life, since a rich-text file can switch code pages thousands of times.
// Bytes the code page does not map become U+FFFD; an unknown code page
// reads as 1252.
class CodePageDecoder
{
public:
    CodePageDecoder() = default;
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder &) = delete;
    CodePageDecoder &operator=(const CodePageDecoder &) = delete;

    QString decode(QByteArrayView bytes, int codePage);

private:
    void *converter(int codePage);

    std::map<int, void *> m_converters; // iconv_t by code page; null: none opened
};

// The iconv name of a Windows code page, or empty when there is none.
QByteArray codePageName(int codePage);

// The text of a plain text file: UTF-8 with or without a byte-order mark,
// UTF-16 with one (either byte order), and anything that is not valid
// UTF-8 as GB18030, which covers GB2312 and GBK. Line breaks of every
// convention come out as "\n".
QString decodeTextFile(QByteArrayView bytes);

// CR LF and lone CR into LF.
QString unifyLineBreaks(QString text);

} // namespace quor
