// One picture being edited, without any widget: the canvas, the floating
// selection's picture and place, the scratch picture, the gesture state
// the tools share, and the changed flag. Every change of the canvas goes
// through here, so the changed rectangles can be watched in one place.
#pragma once

#include "core/drawing_settings.h"
#include "document/model/canvas_surface.h"
#include "document/model/history.h"
#include "document/model/twips.h"
#include "formats/picture_file_form.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>

#include <cstdint>
#include <functional>

namespace quor {

class Document : public QObject
{
    Q_OBJECT
public:
    Document();

    // The picture being edited; the floating picture (held while it floats);
    // the scratch picture effects and the whole-picture view work in.
    CanvasSurface &canvas() { return m_canvas; }
    CanvasSurface &selection() { return m_selection; }
    CanvasSurface &scratch() { return m_scratch; }
    const CanvasSurface &canvas() const { return m_canvas; }
    const CanvasSurface &selection() const { return m_selection; }

    // The picture differs from its file (or was never saved).
    bool isModified() const { return m_modified; }
    // Marks the document changed: the canvas pixels touched since the last
    // mark are reported as one committed change.
    void markChanged();
    // The user chose to lose the changes: nothing is left to ask about.
    void discardChanges()
    {
        m_modified = false;
        emit changesDiscarded();
    }
    // The picture differs from every state of its history that was saved
    // (a picture recovered after a crash): changed, and no undo makes it
    // saved again.
    void markUnsaved();

    // --- its file -------------------------------------------------------------
    // The file the picture was read from or last saved to, as a full path;
    // empty for a picture never saved.
    const QString &fileName() const { return m_fileName; }
    // What that file held: its kind (Save keeps a PNG, WebP, TIFF or PNM
    // file in its format) and what of it the canvas can not hold.
    const PictureFileForm &fileForm() const { return m_fileForm; }
    // The picture belongs to this file now: opened, saved or restored.
    void setFile(const QString &fileName, const PictureFileForm &form);

    // --- the pen ----------------------------------------------------------------
    // What the next figures on the canvas are drawn with; where the scope
    // says so, the floating picture's pen too (its text, its styles).
    enum class PenScope { Canvas, CanvasAndFloating };
    // The settings' fore and fill colours, fill and line styles and width.
    void takePen(const DrawingSettings &settings);
    void setDrawMode(DrawMode mode) { m_canvas.setDrawMode(mode); }
    void setLineWidth(int pixels) { m_canvas.setDrawWidth(pixels); }
    void setFillColour(Colour c) { m_canvas.setFillColor(c); }
    void setForeColour(Colour c, PenScope scope = PenScope::Canvas);
    void setFillStyle(FillStyle style, PenScope scope = PenScope::Canvas);
    void setLineStyle(LineStyle style, PenScope scope = PenScope::Canvas);
    // The text font of the canvas and the floating picture, each changed.
    void changeTextFont(const std::function<QFont(const QFont &)> &change);
    // The canvas's background colour, which repaints all but a loaded
    // picture; with the floating picture's, whose blank is no picture.
    void setBackColour(Colour c, PenScope scope = PenScope::Canvas);
    // The scratch picture let go of.
    void clearScratch() { m_scratch.setPicture(emptyPicture()); }

    // The paste raster operation this document took on activation.
    std::uint32_t pasteRasterOp = rop::SrcCopy;

    // --- canvas size ------------------------------------------------------
    // Loads a picture: the canvas takes its size and shows it over the back
    // colour.
    void loadPicture(const QImage &picture);
    // New logical size in twips; the content stays at the top-left.
    void resizeCanvas(double width, double height);
    // The threefold zoom: enlarges (each pixel 3 x 3) or shrinks back, in
    // one pass from the old bitmap into the new. False, with nothing
    // changed, when the new bitmap cannot be had.
    bool zoomCanvas(bool enlarge);
    // The canvas becomes picture (Format_RGB32) with the logical size given
    // in twips: a whole-picture command's result. A null or other picture
    // changes nothing.
    void replaceCanvas(QImage picture, double width, double height);
    // The last zoom enlarged the picture, so the next one shrinks it.
    bool isZoomedIn() const { return m_zoomedIn; }

    // --- floating selection -------------------------------------------------
    // A picture floats over the canvas, to be put down or dropped.
    bool hasFloatingSelection() const { return m_floating; }
    // Lifts a copy of the canvas under the box (twips), which floats there.
    void liftSelection(const TwipBox &box);
    // Floats a picture of its own at (left, top), replacing any that floats.
    void floatPicture(const QImage &picture, double left, double top);
    // Puts the floating picture down on the canvas with the paste raster
    // operation and marks the document changed.
    void putDownSelection();
    // Empties and hides the floating picture without putting it down.
    void dropSelection();

    bool selectionVisible() const { return m_selectionVisible; }
    TwipBox selectionPlace() const;
    // Moves (and with a new size resizes) the floating picture.
    void placeSelection(double left, double top);
    void placeSelection(double left, double top, double width, double height);
    void setSelectionVisible(bool visible);
    // The canvas under the box, copied into the floating picture placed
    // there; no stretching.
    void copyCanvasToSelection(const TwipBox &box);

    // --- undo history ---------------------------------------------------------
    // A step is everything changed while a Step of the document lives
    // (steps nest: the outermost one counts). A canvas change outside any
    // step is a step of its own, closed when the event loop next turns.
    // Moving or lifting a floating selection is never a step by itself; an
    // edit of its picture is when the step says so.
    // A document that goes while its step is open (closed during a long
    // run) takes the step with it.
    class Step
    {
    public:
        explicit Step(Document &doc) : m_doc(&doc) { doc.beginStep(); }
        ~Step()
        {
            if (m_doc)
                m_doc->endStep();
        }
        Step(const Step &) = delete;
        Step &operator=(const Step &) = delete;

    private:
        QPointer<Document> m_doc;
    };
    // A run (a filter, a gradient): one step, with no undo or redo while it
    // goes on.
    class Run
    {
    public:
        explicit Run(Document &doc) : m_step(doc), m_doc(&doc) { doc.setRunning(true); }
        ~Run()
        {
            if (m_doc)
                m_doc->setRunning(false);
        }
        Run(const Run &) = delete;
        Run &operator=(const Run &) = delete;

    private:
        Step m_step;
        QPointer<Document> m_doc;
    };
    void markSelectionEdit() { m_selectionEdited = true; }
    bool canUndo() const { return !m_running && m_history.canUndo(); }
    bool canRedo() const { return !m_running && m_history.canRedo(); }
    void undo();
    void redo();
    // This state was saved (or opened): undoing back to it clears the
    // changed flag.
    void markSaved();
    // Forgets what happened before: the picture as it is now is the start.
    void rebase();
    const History &history() const { return m_history; }

    // A 1 x 1 white picture: what clears the scratch pictures.
    static const QImage &emptyPicture();

signals:
    // Pixels of the canvas or the floating picture changed (also during a
    // rubber band): views repaint them.
    void canvasDamaged(const QRect &pixels);
    void selectionDamaged(const QRect &pixels);
    // The canvas's logical size changed.
    void canvasResized();
    // The floating picture moved, was resized, shown or hidden.
    void selectionPlaced();
    // A finished change of the canvas: the pixels it touched.
    void committed(const QRect &pixels);
    // What can be undone or redone changed.
    void historyChanged();
    // An undo or redo put the picture and the floating selection back.
    void restored();
    // discardChanges(): the changes are to be lost.
    void changesDiscarded();
    // setFile(): the document names another file.
    void fileChanged();

private:
    friend class Step;
    friend class Run;
    void beginStep();
    void endStep();
    void setRunning(bool running);

    QString m_fileName;
    PictureFileForm m_fileForm;
    CanvasSurface m_canvas;
    CanvasSurface m_selection;
    CanvasSurface m_scratch;
    double m_selLeft = 0, m_selTop = 0;
    bool m_selectionVisible = false;
    bool m_floating = false;
    bool m_modified = false;
    bool m_zoomedIn = false;
    QRect m_pending;

    SelectionState selectionState() const;
    void finishStep();
    void apply(const HistoryStep &step, bool before);
    void scheduleStep();

    History m_history;
    // The canvas as the last step left it. At rest it shares the canvas's
    // pixels; the first drawing after that leaves it a bitmap of its own,
    // which later steps keep up to date rectangle by rectangle.
    QImage m_base;
    QTimer m_restTimer;
    QSizeF m_baseSize;
    QRect m_stepRect; // canvas pixels changed in the step under way
    SelectionState m_selectionBase, m_stepSelection;
    int m_depth = 0;
    bool m_scheduled = false;
    bool m_selectionEdited = false;
    bool m_canvasReplaced = false; // the step keeps both whole pictures, shared
    bool m_applying = false;
    bool m_running = false;
};

} // namespace quor
