// The program's shared state: the open documents and the active one, the
// drawing settings the palettes and menus set, the tool handler every
// canvas hands its mouse events to, and the read-outs. One instance per
// main window, so a test builds a fresh program state by building a fresh
// main window.
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
class DocumentWindow;

// How new document windows are placed: arranged by one of the Window
// menu's commands, or between the palettes where they were made.
enum class ArrangeMode { Cascade = 0, OneAboveAnother = 1, SideBySide = 2, Icons = 3, Free = 4 };

class Workspace
{
public:
    DocumentHost *host = nullptr;
    DrawingSettings settings;
    std::unique_ptr<ToolHandler> toolHandler;

    // The open documents in the order they were made; a document's number
    // is its place in this list, from 1.
    const QList<QPointer<DocumentWindow>> &documents() const { return m_documents; }
    int documentCount() const { return int(m_documents.size()); }
    DocumentWindow *document(int number) const;
    int numberOf(const DocumentWindow *doc) const;
    // At most as many documents as a 16-bit count holds.
    static constexpr int MaxDocuments = 32767;
    void add(DocumentWindow *doc);
    // The window has gone: the later documents move up a number, and with
    // none left the document commands go off.
    void remove(DocumentWindow *doc);

    DocumentWindow *activeDocument() const;
    void setActiveDocument(DocumentWindow *doc);

    // Documents made since start-up, numbering the "New Quor" captions.
    std::int32_t newDocumentCount = 0;
    ArrangeMode arrangeMode = ArrangeMode::Free;
    // The cascade slot the next new document window starts in.
    int nextWindowSlot = 0;

    // Enables or disables every command that needs an open document.
    void enableDocumentCommands(bool enabled);

    // The colour palette's read-outs: the pointer position and the canvas
    // size.
    std::function<void(const QString &)> pointerReadout;
    std::function<void(const QString &)> canvasSizeReadout;
    void showPointer(double x, double y);
    // The position and, for the colour picker, the colour there ("#RRGGBB";
    // none outside the picture).
    void showPointer(double x, double y, Colour under);
    void clearPointer();
    void showCanvasSize(double w, double h);
    // The status bar's view scale of the active document; empty with none.
    std::function<void(const QString &)> viewScaleReadout;
    void showViewScale(int percent);

private:
    QList<QPointer<DocumentWindow>> m_documents;
    QPointer<DocumentWindow> m_active;
};

// "X  Y" with each number in its shortest single-precision form.
QString pointerText(double x, double y);

} // namespace quor
