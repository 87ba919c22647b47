// The real dialogs behind the dialog seam: Qt's own message box, file,
// colour, font, printer and page-setup dialogs.
#pragma once

#include "core/dialog_seam.h"

class QPrinter;

namespace quor {

class QtDialogBackend : public DialogBackend
{
public:
    int message(QObject *parent, const QString &text, int style, const QString &title) override;
    void fileDialog(CommonDialog &d, bool save) override;
    bool colourDialog(CommonDialog &d) override;
    bool fontDialog(CommonDialog &d) override;
    bool printDialog(CommonDialog &d, bool pageSetup) override;
};

// The printer the print and page-setup dialogs of this component set up.
QPrinter &printerOf(CommonDialog &d);

} // namespace quor
