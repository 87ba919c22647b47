// Prints a picture on one page of a printer.
#pragma once

#include <QString>

class QImage;
class QPrinter;

namespace quor {

// Prints `picture` at its natural size (or shrunk to fit) at the top-left
// of the printer's printable area, under the job name `jobName`. Throws
// QuorError when the printer cannot start or finish the job; nothing
// counts as printed then.
void printPicture(const QImage &picture, const QString &jobName, QPrinter &printer);

} // namespace quor
