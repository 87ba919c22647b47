// The real dialogs behind the dialog seam: Qt's own message box, file,
// colour, font, printer and page-setup dialogs.
#pragma once

#include "document/dialog_seam.h"

namespace quor {

class QtDialogBackend : public DialogBackend
{
public:
    Answer message(QObject *parent, const QString &text, const QString &title,
                   const MessageStyle &style) override;
    std::optional<FileChoice> fileDialog(QObject *parent, const FileDialogRequest &request,
                                         FileDialogKind kind) override;
    std::optional<QColor> colourDialog(QObject *parent, const QString &title,
                                       const QColor &start) override;
    std::optional<QFont> fontDialog(QObject *parent, const QString &title,
                                    const QFont &font) override;
    bool printDialog(QObject *parent, const QString &title, PrintOptions options,
                     QPrinter &printer) override;
    bool pageSetupDialog(QObject *parent, const QString &title, QPrinter &printer) override;
};

} // namespace quor
