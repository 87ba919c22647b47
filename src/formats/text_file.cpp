#include "formats/text_file.h"

#include "formats/rtf_reader.h"
#include "formats/text_decoding.h"
#include "formats/whole_file.h"

namespace quor {

QString textFileFilter()
{
    return QStringLiteral("TXT(*.TXT)|*.TXT|RTF(*.RTF)|*.RTF|所有文件(*.*)|*.*");
}

TextFileKind textKindForFilter(int filterIndex)
{
    switch (filterIndex) {
    case 1: return TextFileKind::Plain;
    case 2: return TextFileKind::Rich;
    default: return TextFileKind::ByContent;
    }
}

QString readTextFile(const QString &fileName, TextFileKind kind)
{
    const QByteArray bytes = readWholeFile(fileName, MaxTextFileBytes);
    if (kind == TextFileKind::Rich || (kind == TextFileKind::ByContent && startsAsRtf(bytes)))
        return rtfPlainText(bytes);
    return decodeTextFile(bytes);
}

} // namespace quor
