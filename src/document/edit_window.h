// A document window: one picture on its canvas, the controls lying on it,
// its gesture state, and the close protocol with the save question.
#pragma once

#include "document/model/document.h"
#include "document/model/tool_handler.h"
#include "document/picture_box.h"
#include "document/text_entry_box.h"

#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QMenu;
class QMdiSubWindow;
class QScrollBar;
class QTextEdit;
class QTimer;

namespace quor {

struct ModuleQuorMain;

class frmquoredit : public QWidget, private ToolOverlays
{
    Q_OBJECT
public:
    explicit frmquoredit(ModuleQuorMain &state, QWidget *parent = nullptr);
    ~frmquoredit() override;

    ModuleQuorMain &state() { return m_state; }
    // The picture being edited, without its widgets.
    Document &document() { return m_doc; }

    // Document number (index in the document list) and caption.
    QString Tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }
    int number() const { return m_tag.toInt(); } // empty counts as 0
    QString caption() const { return windowTitle(); }
    void setCaption(const QString &c);

    // Controls.
    PictureBox *canvas() const { return m_canvas; } // Picture1
    PictureBox *PictureCopy() const { return m_copy; }
    PictureBox *PictureUnloadAssist() const { return m_unload; }
    PictureBox *Picture4() const { return m_picture4; }
    QLineEdit *HpastestyleText() const { return m_pasteStyle; }
    TextEntryBox *hword() const { return m_word; }
    QLabel *hwordLabel() const { return m_wordLabel; }
    QScrollBar *VScroll1() const { return m_vscroll; }
    QScrollBar *HScroll1() const { return m_hscroll; }
    PictureBox *widthsizePicture() const { return m_widthSize; }
    PictureBox *heightasizePicture() const { return m_heightSize; }
    PictureBox *bothsizePicture() const { return m_bothSize; }
    OverlayShape *hselectShape1() const { return m_shape1; }
    OverlayShape *hselectShape2() const { return m_shape2; }
    OverlayShape *huradiusLine1() const { return m_radius1; }
    OverlayShape *huradiusLine2() const { return m_radius2; }
    OverlayShape *hrunShape() const { return m_runShape; }
    OverlayShape *hrunLine() const { return m_runLine; }
    QTimer *hselectshapesTimer() const { return m_shapesTimer; }
    QTimer *huradiusTimer() const { return m_radiusTimer; }
    PictureBox *selectionHandle(int i) const { return m_handles[i]; } // 0..7

    void BeginRubberBand(double x, double y) { m_doc.beginRubberBand(x, y); }
    void hShowSelectionFrame();
    void hHideSelectionFrame();
    // Lays the floating selection down on the canvas with the paste raster
    // operation and clears it away (hSelect is left to the caller).
    void layDownSelection() { m_doc.layDownSelection(); }

    // Runs an effect on the floating selection: the unchanged picture goes
    // to the scratch picture, the run frame and the progress line show over
    // the selection while run(source, target, rowDone) rewrites it, and
    // everything is back in twips with the overlays hidden at the end,
    // whatever happens. Repaints follow the rows at screen rate. Nothing
    // happens without a floating selection.
    using SelectionRun =
        std::function<void(const QImage &source, QImage &target, const std::function<void(int)> &rowDone)>;
    void runOnSelection(const SelectionRun &run);

    // Window placement in twips inside the document area.
    void moveWindow(double left, double top, double width, double height);
    double windowLeft() const;
    double windowTop() const;
    double ScaleWidth() const;
    double ScaleHeight() const;

    // Shows the window in the main window's document area.
    void showInArea();
    // Makes this the active document window.
    void activate();
    // Runs the close protocol; true when the window closed.
    bool closeDocument();
    // Writes the canvas to a bitmap file; throws QuorError.
    void writeCanvas(const QString &fileName);

    // Handlers.
    void Form_Activate();
    void Form_Resize();
    void Picture1_Resize();
    void Picture1_MouseDown(int button, int shift, double x, double y);
    void Picture1_MouseMove(int button, int shift, double x, double y);
    void Picture1_MouseUp(int button, int shift, double x, double y);
    void Picture1_DblClick();
    // Arrow keys nudge, Enter commits, Escape drops a floating selection.
    void Form_KeyDown(int key);
    void updateScrollRanges();

    // Scrolling and the canvas-size handles.
    void VScroll1_Change();
    void HScroll1_Change();
    void widthsizePicture_MouseMove(int button, int shift, double x, double y);
    void heightasizePicture_MouseMove(int button, int shift, double x, double y);
    void bothsizePicture_MouseMove(int button, int shift, double x, double y);

    // Dragging the floating selection and resizing it with its handles.
    void PictureCopy_MouseDown(int button, int shift, double x, double y);
    void PictureCopy_MouseMove(int button, int shift, double x, double y);
    void selectionHandle_MouseMove(int handle, int button, int shift, double x, double y);

    static constexpr double MaxCanvasWidth = 36035;
    static constexpr double MaxCanvasHeight = 30035;

protected:
    void resizeEvent(QResizeEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    // What the tools lay over the canvas.
    void showSelectionBand(double left, double top, double width, double height) override;
    void moveSelectionBand(double left, double top, double width, double height) override;
    void showSelectionFrame() override;
    void showTextBox() override;
    void placeTextBox(double x, double y) override;
    void showGuide(double x1, double y1, double x2, double y2) override;
    void moveGuide(double x1, double y1, double x2, double y2) override;
    void hideGuide() override;
    void runGoing(bool going, const std::function<void()> &stop) override;
    QObject *messageParent() override { return this; }
    ToolContext toolContext();
    void followSelection();
    void beginGestureStep();
    void endGestureStep();
    void showRestoredSelection();
    void blinkSelectionFrame();

    bool closeProtocol();
    void windowGone();
    void Form_Load();
    void placeSizeHandles();
    void connectScrollAndSelection();
    void popupEditMenu(double x, double y);
    void popupMenu(QMenu *menu, double x, double y);

    ModuleQuorMain &m_state;
    Document m_doc;
    QMdiSubWindow *m_sub = nullptr;
    QString m_tag;
    bool m_gone = false;
    bool m_gestureStep = false;

    PictureBox *m_canvas;
    PictureBox *m_copy;
    PictureBox *m_unload;
    PictureBox *m_picture4;
    PictureBox *m_handles[8];
    QLineEdit *m_pasteStyle;
    TextEntryBox *m_word;
    QLabel *m_wordLabel;
    QTextEdit *m_rtf;
    QScrollBar *m_vscroll;
    QScrollBar *m_hscroll;
    PictureBox *m_widthSize;
    PictureBox *m_heightSize;
    PictureBox *m_bothSize;
    OverlayShape *m_shape1;
    OverlayShape *m_shape2;
    OverlayShape *m_radius1;
    OverlayShape *m_radius2;
    OverlayShape *m_runShape;
    OverlayShape *m_runLine;
    QTimer *m_shapesTimer;
    QTimer *m_radiusTimer;
};

} // namespace quor
