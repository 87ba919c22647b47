// What the custom filter and gradient fill dialogs need from the program
// above them; the main window provides it.
#pragma once

#include "document/document_host.h"

namespace quor {

class DrawingSettings;
class DocumentWindow;

// A gradient fill's run holds the program through RunHost.
class EffectDialogHost : public RunHost
{
public:
    // The document window the commands act on, or nullptr.
    virtual DocumentWindow *activeDocument() = 0;
    virtual DrawingSettings &settings() = 0;
};

} // namespace quor
