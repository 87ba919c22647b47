// A document window: one document, shown by its canvas view, with the
// caption naming its file, the close protocol with its save question, the
// keys that act on a floating selection, and the canvas's mouse events
// handed to the tools with the window's gesture.
#pragma once

#include "document/canvas_view.h"
#include "document/model/document.h"
#include "document/model/gesture.h"
#include "document/model/tool_handler.h"
#include "formats/picture_file_form.h"

#include <QMargins>
#include <QWidget>

#include <functional>
#include <optional>

class QMdiSubWindow;

namespace quor {

class Workspace;

class DocumentWindow : public QWidget, private ToolOverlays
{
    Q_OBJECT
public:
    explicit DocumentWindow(Workspace &workspace, QWidget *parent = nullptr);
    ~DocumentWindow() override;

    Workspace &workspace() { return m_workspace; }
    // The picture being edited, without its widgets.
    Document &document() { return m_doc; }
    CanvasView *view() const { return m_view; }
    // What the gesture under way has seen; paste goes to its start point.
    Gesture &gesture() { return m_gesture; }

    // The document's file name, or "New Quor" and a number for a document
    // never saved: the window's title.
    QString caption() const { return windowTitle(); }
    // The name of a document never saved; its file's name replaces it.
    void setUntitledName(const QString &name) { setWindowTitle(name); }

    // Runs an effect on the floating selection: the unchanged picture goes
    // to the scratch picture, the run frame and the progress line show over
    // the selection while run(source, target, rowDone) rewrites it, and
    // everything is back in twips with the overlays hidden at the end,
    // whatever happens. Repaints follow the rows at screen rate. Nothing
    // happens without a floating selection. The run writes the target's
    // rows from the top, reporting each, and every pixel but the frame
    // `unwritten` gives; the frame keeps the source's pixels.
    using SelectionRun =
        std::function<void(const QImage &source, QImage &target, const std::function<void(int)> &rowDone)>;
    void runOnSelection(const SelectionRun &run, const QMargins &unwritten);

    // Window placement in twips inside the document area.
    void placeWindowTwips(double left, double top, double width, double height);
    double windowLeftTwips() const;
    double windowTopTwips() const;
    double innerWidthTwips() const;
    double innerHeightTwips() const;

    // Shows the window in the main window's document area.
    void showInArea();
    // Makes this the active document window.
    void activate();
    // The window became the active one: the canvas takes the drawing
    // settings of the palettes and menus.
    void takeDrawingSettings();
    // Runs the close protocol; true when the window closed.
    bool closeDocument();
    // Writes the canvas to a bitmap file; throws QuorError.
    void writeCanvas(const QString &fileName);
    // Around writing the picture: the floating selection's marks and the
    // arc guide leave the screen and come back.
    void hideWriteMarks();
    void showWriteMarks();
    // The arc guide of the gesture under way goes for good.
    void cancelArcGuide();

    // Mouse events on the canvas, in twips.
    void canvasPressed(const CanvasEvent &e);
    void canvasMoved(const CanvasEvent &e);
    void canvasReleased(const CanvasEvent &e);
    void canvasDoubleClicked();
    // Arrow keys nudge, Enter puts down, Escape drops a floating selection.
    void selectionKeyPressed(int key);

    // Floats a picture at (left, top), framed; one that floats already is
    // replaced where it lies and its frame keeps blinking as it did.
    void floatPicture(const QImage &picture, double left, double top);
    // The frame put around the floating picture where it lies now, blinking
    // when it newly floats.
    void frameFloatingPicture(bool blink);

    // Dragging the floating picture and resizing it with its handles.
    void selectionPressed(const CanvasEvent &e);
    void selectionDragged(const CanvasEvent &e);
    void selectionHandleDragged(SelectionHandle handle, const CanvasEvent &e);

protected:
    void resizeEvent(QResizeEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    // What the tools lay over the canvas.
    void showSelectionBand(const TwipBox &band) override;
    void moveSelectionBand(const TwipBox &band) override;
    void showSelectionFrame() override;
    void showTextBox() override;
    void placeTextBox(double x, double y) override;
    void showGuide(double x1, double y1, double x2, double y2) override;
    void moveGuide(double x1, double y1, double x2, double y2) override;
    void hideGuide() override;
    void runGoing(bool going, const std::function<void()> &stop) override;
    void tellUser(const QString &text) override;
    ToolContext toolContext();

    void canvasResized();
    void showRestoredSelection();
    void popupEditMenu(double x, double y);
    bool closeProtocol();
    void windowGone();

    Workspace &m_workspace;
    Document m_doc;
    Gesture m_gesture;
    CanvasView *m_view;
    QMdiSubWindow *m_sub = nullptr;
    // The point inside the floating picture where the drag took it.
    double m_grabX = 0, m_grabY = 0;
    bool m_gone = false;
    // A size handle's drag under way is one step.
    std::optional<Document::Step> m_handleStep;
};

} // namespace quor
