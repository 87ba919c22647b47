// Pictures handed to the program from outside: the file names on its
// command line and files dropped on its windows.
#pragma once

#include <QStringList>

class QMimeData;

namespace quor {

// The files named on a command line (program name first): names relative
// to workingDir made absolute, local URLs as paths, other URLs left out.
// Options (a leading "-") are skipped up to a "--", after which every word
// is a name.
QStringList filesFromArguments(const QStringList &arguments, const QString &workingDir);

// The local files among a drop's URLs, folders left out; empty for text,
// remote addresses and anything else, which the program ignores.
QStringList droppedFiles(const QMimeData *data);

} // namespace quor
