#include "files/file_properties_layout.h"

#include <QList>

namespace quor {

namespace {

// The East Asian wide and full-width blocks.
bool isWide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115f) || (c >= 0x2e80 && c <= 0x303e)
        || (c >= 0x3041 && c <= 0x33ff) || (c >= 0x3400 && c <= 0x4dbf)
        || (c >= 0x4e00 && c <= 0x9fff) || (c >= 0xa000 && c <= 0xa4cf)
        || (c >= 0xac00 && c <= 0xd7a3) || (c >= 0xf900 && c <= 0xfaff)
        || (c >= 0xfe30 && c <= 0xfe4f) || (c >= 0xff00 && c <= 0xff60)
        || (c >= 0xffe0 && c <= 0xffe6) || (c >= 0x20000 && c <= 0x3fffd);
}

} // namespace

qsizetype textColumns(const QString &text)
{
    qsizetype columns = 0;
    for (const char32_t c : text.toUcs4())
        columns += isWide(c) ? 2 : 1;
    return columns;
}

PropertiesLayout propertiesLayout(qsizetype pathLength, qsizetype folderLength)
{
    // Lines beyond the first of each box; a path too long to count in an
    // int is far past any screen anyway.
    const int n = int(qMin<qsizetype>(pathLength / CharactersPerLine, 10000));
    const int m = int(qMin<qsizetype>(folderLength / CharactersPerLine, 10000));
    const int below = n * TwipsPerLine;       // below the name box
    const int both = (n + m) * TwipsPerLine;  // below the folder box as well

    PropertiesLayout l;
    l.nameHeight = (n + 2) * TwipsPerLine;
    l.folderHeight = (m + 2) * TwipsPerLine;
    l.nameRuleTop[0] = below + 630;
    l.nameRuleTop[1] = below + 645;
    l.folderTop = below + 840;
    l.folderLabelTop = below + 860;
    l.sizeTop = both + 1240;
    l.sizeLabelTop = both + 1245;
    l.typeTop = both + 1615;
    l.typeLabelTop = both + 1620;
    l.timeRuleTop[0] = both + 1980;
    l.timeRuleTop[1] = both + 1995;
    l.timeTop = both + 2215;
    l.timeLabelTop = both + 2220;
    l.checkRow1Top = both + 2620;
    l.attributesLabelTop = both + 2640;
    l.checkRow2Top = both + 2920;
    l.buttonsTop = both + 3450;
    l.formHeight = l.buttonsTop + 375 + 240;
    return l;
}

} // namespace quor
