// Titles, filters, dialog options and message layouts of the File
// commands.
#pragma once

#include <QString>

namespace quor {

// Long names, hide the read-only box.
constexpr int OpenDialogFlags = 0x200004;
// Long names, path must exist, hide the read-only box, confirm overwrite.
constexpr int SaveDialogFlags = 2099206;

QString openFilter();
QString bitmapFilter();

// A caption beginning with "New Quor" marks a document never saved.
bool isUnsavedCaption(const QString &caption);

// "找不到指定文件！" padded for the caption of the window just created.
QString notFoundMessage(const QString &caption);
// "文件只读！" padded for a document's caption (Save, Save as).
QString readOnlyMessage(const QString &caption);
// The Save all variant, with four more blanks before the text.
QString saveAllReadOnlyMessage(const QString &caption);
// Any other error: a carriage return and the error's description.
QString otherErrorMessage(const QString &description);

} // namespace quor
