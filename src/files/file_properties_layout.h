// Where the file-properties dialog's controls go, in twips. The name and
// folder boxes show 31 characters to a line, 190 twips a line; each grows a
// line per further 31 characters and pushes everything below it down.
#pragma once

#include <QString>

namespace quor {

struct PropertiesLayout
{
    int nameHeight;      // the name box
    int folderHeight;    // the folder box
    int nameRuleTop[2];  // the etched pair below the name
    int folderTop, folderLabelTop;
    int sizeTop, sizeLabelTop;
    int typeTop, typeLabelTop;
    int timeRuleTop[2];  // the etched pair above the time
    int timeTop, timeLabelTop;
    int checkRow1Top, attributesLabelTop, checkRow2Top;
    int buttonsTop;
    int formHeight;      // client area, the buttons and a margin below them
};

constexpr int CharactersPerLine = 31;
constexpr int TwipsPerLine = 190;

// For a path and a folder text of these widths (in columns).
PropertiesLayout propertiesLayout(qsizetype pathColumns, qsizetype folderColumns);

// Columns a text takes in a box: two for each full-width character, one
// for any other.
qsizetype textColumns(const QString &text);

} // namespace quor
