// Titles, filters, dialog options and message layouts of the File
// commands.
#pragma once

#include "document/dialog_seam.h"

#include <QString>

namespace quor {

inline constexpr FileOptions OpenDialogOptions = FileOption::HideReadOnly;
inline constexpr FileOptions SaveDialogOptions =
    FileOption::HideReadOnly | FileOption::ConfirmOverwrite | FileOption::PathMustExist;

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
