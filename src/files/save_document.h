// The one way a document is written to its file, for Save, Save as, Save
// all and the close question: the name asked for when needed, the floating
// selection's marks and the arc guide out of the way meanwhile, a read-only
// file asked about again, and the caption and changed flag following a
// write that worked.
#pragma once

#include "document/document_host.h"

namespace quor {

class CommonDialog;
class DocumentWindow;

SaveResult saveDocument(DocumentWindow *doc, SaveRequest request, CommonDialog &dialog);

// Shows the save dialog; the name chosen (cancel throws 32755).
QString askSaveName(CommonDialog &dialog, const QString &title, const QString &initialName);

} // namespace quor
