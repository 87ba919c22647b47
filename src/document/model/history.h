// A document's undo history: the steps of its picture, each keeping only
// the changed rectangle's pixels before and after, and one memory budget
// shared by every document's history, oldest steps dropped first.
#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QSizeF>

#include <cstdint>
#include <memory>

namespace quor {

// The floating selection as a step saw it.
struct SelectionState
{
    QImage image; // shared with the picture it was taken from until either changes
    double left = 0, top = 0, width = 0, height = 0;
    bool visible = false;
    bool floating = false; // a picture floats over the canvas
};

struct HistoryStep
{
    QRect rect;             // canvas pixels changed, empty for a selection edit
    bool whole = false;     // the canvas changed size: before and after are whole bitmaps
    QImage before, after;   // those pixels (whole bitmaps when the size changed)
    QSizeF sizeBefore, sizeAfter; // logical size in twips
    SelectionState selectionBefore, selectionAfter;
    std::uint64_t serial = 0; // creation order across every history
    std::size_t bytes() const;
};

class History
{
public:
    History();
    ~History();
    History(const History &) = delete;
    History &operator=(const History &) = delete;

    bool canUndo() const { return m_cursor > 0; }
    bool canRedo() const { return m_cursor < m_steps.size(); }
    // Adds a step after the cursor (dropping what could be redone) and
    // keeps every history within the budget.
    void push(HistoryStep step);
    // The step to undo or redo; the cursor moves past it.
    const HistoryStep &undo();
    const HistoryStep &redo();

    // The saved state is the one at the cursor now; isSaved() says whether
    // the cursor is there again.
    void markSaved() { m_saved = m_cursor; }
    bool isSaved() const { return m_saved == m_cursor; }
    // No state in the history is the saved one.
    void forgetSaved() { m_saved = -1; }

    qsizetype size() const { return m_steps.size(); }
    std::size_t bytes() const;

    // One budget for all histories together (256 MiB unless set).
    static void setBudget(std::size_t bytes);
    static std::size_t budget();
    static std::size_t totalBytes();

private:
    friend struct HistoryRegistry;
    void dropOldest();

    QList<HistoryStep> m_steps;
    qsizetype m_cursor = 0;
    qsizetype m_saved = 0; // -1 once the saved state's step was dropped
};

} // namespace quor
