#include "files/file_properties_layout.h"

namespace quor {

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
