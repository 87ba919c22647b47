// The one way a document is written to its file, for Save, Save as, Save
// all and the close question: the name asked for when needed, the floating
// selection's marks and the arc guide out of the way meanwhile, a read-only
// file asked about again, and the caption and changed flag following a
// write that worked.
#pragma once

#include "document/document_host.h"

#include <QString>

#include <optional>

class QObject;

namespace quor {

class DocumentWindow;

// The save dialog stands over dialogOwner, the main window.
SaveResult saveDocument(DocumentWindow *doc, SaveRequest request, QObject *dialogOwner);

// Shows the save dialog; the name chosen, or nothing when cancelled.
std::optional<QString> askSaveName(QObject *dialogOwner, const QString &title,
                                   const QString &initialName);

} // namespace quor
