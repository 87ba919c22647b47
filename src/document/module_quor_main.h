// The program's shared state: the document list, the drawing settings the
// palettes and menus set, the tool handler every canvas hands its mouse
// events to, and the read-outs. One instance per main window, so a test
// builds a fresh program state by building a fresh main window.
#pragma once

#include "core/drawing_settings.h"
#include "document/model/tool_handler.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace quor {

class DocumentHost;
class frmquoredit;

struct ModuleQuorMain
{
    DocumentHost *main = nullptr;
    DrawingSettings settings;
    std::unique_ptr<ToolHandler> toolHandler;

    // Documents.
    QPointer<frmquoredit> hActiveEdit;
    QList<QPointer<frmquoredit>> editForms; // hEditForms(1) is editForms[0]
    std::int16_t hEditCount = 0;
    std::int32_t hNewCount = 0;
    std::int16_t hArrangeMode = 4;
    // The cascade slot the next new document window starts in.
    int nextWindowSlot = 0;

    frmquoredit *hEditForms(int i) const;

    // Enables or disables every command that needs an open document.
    void hEnableDocCommands(bool enabled);

    // The colour palette's read-outs: the pointer position and the canvas
    // size.
    std::function<void(const QString &)> pointerReadout;
    std::function<void(const QString &)> canvasSizeReadout;
    void showPointer(double x, double y);
    void clearPointer();
    void showCanvasSize(double w, double h);
};

// "X  Y" with each number in its shortest single-precision form.
QString pointerText(double x, double y);

} // namespace quor
