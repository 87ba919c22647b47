// What the custom filter and gradient fill dialogs need from the program
// above them; the main window provides it.
#pragma once

#include <functional>

class QWidget;

namespace quor {

class CommonDialog;
class DrawingSettings;
class frmquoredit;

class EffectDialogHost
{
public:
    virtual ~EffectDialogHost() = default;
    // The document window the commands act on, or nullptr.
    virtual frmquoredit *activeDocument() = 0;
    virtual DrawingSettings &settings() = 0;
    virtual CommonDialog &commonDialog() = 0;
    // A run that lets events through begins (going, with stop ending it
    // before its next step) or has ended. Meanwhile nothing but the running
    // dialog may take input, and a request to close a document or the
    // program calls stop and goes ahead only once the run has ended.
    virtual void runGoing(QWidget *dialog, bool going, const std::function<void()> &stop) = 0;
};

} // namespace quor
