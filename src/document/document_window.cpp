#include "document/document_window.h"

#include "core/tool_id.h"
#include "document/dialog_seam.h"
#include "document/document_host.h"
#include "document/model/picture_commands.h"
#include "document/selection_geometry.h"
#include "document/window_layout.h"
#include "document/workspace.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QStyle>
#include <QTimer>

namespace quor {

namespace {

// Twips from a widget's pixel extent.
double tw(int px) { return pixelsToTwips(px); }

} // namespace

DocumentWindow::DocumentWindow(Workspace &workspace, QWidget *parent)
    : QWidget(parent), m_workspace(workspace)
{
    setObjectName(QStringLiteral("frmquoredit"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(64, 64, 64));
    setPalette(pal);
    setFocusPolicy(Qt::StrongFocus);

    m_view = new CanvasView(m_doc, this);
    PictureBox *canvas = m_view->canvasBox();
    connect(canvas, &PictureBox::pressed, this, &DocumentWindow::canvasPressed);
    connect(canvas, &PictureBox::moved, this, &DocumentWindow::canvasMoved);
    connect(canvas, &PictureBox::released, this, &DocumentWindow::canvasReleased);
    connect(canvas, &PictureBox::doubleClicked, this, &DocumentWindow::canvasDoubleClicked);
    connect(canvas, &PictureBox::resized, this, &DocumentWindow::canvasResized);
    SelectionFrame *frame = m_view->selectionFrame();
    connect(frame, &SelectionFrame::picturePressed, this, &DocumentWindow::selectionPressed);
    connect(frame, &SelectionFrame::pictureDragged, this, &DocumentWindow::selectionDragged);
    connect(frame, &SelectionFrame::handleDragged, this, &DocumentWindow::selectionHandleDragged);
    connect(m_view->textBox(), &TextEntryBox::rightButtonPressed, this, [this](double x, double y) {
        const TextEntryBox *box = m_view->textBox();
        m_view->popUp(m_workspace.host ? m_workspace.host->textBoxMenu() : nullptr,
                      box->leftTwips() + x, box->topTwips() + y);
    });
    for (PictureBox *handle : {m_view->widthHandle(), m_view->heightHandle(), m_view->cornerHandle()}) {
        // A drag of a size handle is one step however many moves it takes.
        connect(handle, &PictureBox::pressed, this, [this](const CanvasEvent &e) {
            if (e.isLeft())
                m_handleStep.emplace(m_doc);
        });
        connect(handle, &PictureBox::released, this, [this](const CanvasEvent &e) {
            if (e.isLeft())
                m_handleStep.reset();
        });
    }
    connect(&m_doc, &Document::restored, this, &DocumentWindow::showRestoredSelection);
    connect(&m_doc, &Document::fileChanged, this, [this] { setWindowTitle(m_doc.fileName()); });
    connect(m_view, &CanvasView::viewScaleChanged, this, [this](int percent) {
        if (m_workspace.activeDocument() == this)
            m_workspace.showViewScale(percent);
    });

    resize(twipsToPixels(5040), twipsToPixels(4650));
    if (DocumentHost *host = m_workspace.host) {
        m_sub = host->mdiArea()->addSubWindow(this);
        m_sub->setAttribute(Qt::WA_DeleteOnClose);
        // The frame's own keys (Ctrl+W close among them) would make the
        // menus' shortcuts ambiguous; F7 closes a document here.
        if (QMenu *frameMenu = m_sub->systemMenu())
            for (QAction *a : frameMenu->actions())
                a->setShortcuts({});
        // A new window starts one title bar further down the cascade, not
        // where the area finds free space, so the sizing below starts there.
        const int titleBar = m_sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, m_sub);
        const int slot = cascadeSlot(m_workspace.nextWindowSlot, host->documentAreaSize(), titleBar);
        m_workspace.nextWindowSlot = slot + 1;
        m_sub->move(slot * titleBar, slot * titleBar);
        connect(host->mdiArea(), &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *w) {
            if (w && w == m_sub && !m_gone)
                takeDrawingSettings();
        });
        if (m_workspace.arrangeMode == ArrangeMode::Free) {
            // Between the palettes: the document area already excludes them.
            const QSize area = host->documentAreaSize();
            placeWindowTwips(0, 0, tw(area.width()) - windowLeftTwips() - 300, tw(area.height()));
        }
    }
    m_view->setGeometry(rect());
    m_view->fitCanvas();
    m_view->layOut();
    m_doc.rebase(); // a new document's history starts here
}

DocumentWindow::~DocumentWindow() = default;

double DocumentWindow::innerWidthTwips() const { return tw(width()); }
double DocumentWindow::innerHeightTwips() const { return tw(height()); }

double DocumentWindow::windowLeftTwips() const
{
    return tw(m_sub ? m_sub->x() : x());
}

double DocumentWindow::windowTopTwips() const
{
    return tw(m_sub ? m_sub->y() : y());
}

void DocumentWindow::placeWindowTwips(double left, double top, double width, double height)
{
    QWidget *w = m_sub ? static_cast<QWidget *>(m_sub) : this;
    if (m_sub && (m_sub->isMaximized() || m_sub->isMinimized()))
        m_sub->showNormal();
    w->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                   twipsToPixels(height));
    if (m_sub && m_sub->layout())
        m_sub->layout()->activate(); // lay the content out now, even while hidden
}

void DocumentWindow::showInArea()
{
    if (m_sub)
        m_sub->show();
    else
        show();
    activate();
}

void DocumentWindow::activate()
{
    if (m_sub && m_workspace.host) {
        QMdiArea *area = m_workspace.host->mdiArea();
        area->setActiveSubWindow(m_sub);
        // Activation of an already active window still takes the palettes on.
        if (area->activeSubWindow() == m_sub && m_workspace.activeDocument() != this)
            takeDrawingSettings();
    } else {
        takeDrawingSettings();
    }
    setFocus();
}

void DocumentWindow::takeDrawingSettings()
{
    Workspace &s = m_workspace;
    s.setActiveDocument(this);
    CanvasSurface &c = m_doc.canvas();
    s.showCanvasSize(c.scaleWidth(), c.scaleHeight());
    s.showViewScale(m_view->viewScale());
    s.clearPointer();
    const DrawingSettings &d = s.settings;
    TextEntryBox *text = m_view->textBox();
    QPalette pal = text->palette();
    pal.setColor(QPalette::Text, toQColor(d.foreColour));
    text->setPalette(pal);
    m_doc.takePen(d);
    m_doc.setDrawMode(d.drawMode);
    m_doc.pasteRasterOp = d.pasteRasterOp;
}

void DocumentWindow::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    m_view->setGeometry(rect());
}

void DocumentWindow::canvasResized()
{
    const CanvasSurface &c = m_doc.canvas();
    if (m_workspace.activeDocument() == this)
        m_workspace.showCanvasSize(c.scaleWidth(), c.scaleHeight());
    m_view->placeSizeHandles();
    m_view->updateScrollRanges();
    m_doc.markChanged();
}

ToolContext DocumentWindow::toolContext()
{
    return {m_doc, m_workspace.settings, *this, m_gesture};
}

void DocumentWindow::showSelectionBand(const TwipBox &band)
{
    m_view->selectionFrame()->moveBand(band);
    m_view->selectionFrame()->blink();
}

void DocumentWindow::moveSelectionBand(const TwipBox &band)
{
    m_view->selectionFrame()->moveBand(band);
}

// The floating selection's frame and handles, the frame blinking: lifting
// the picture hid the band the press had shown.
void DocumentWindow::showSelectionFrame()
{
    m_view->selectionFrame()->placeAround(m_doc.selectionPlace());
    m_view->selectionFrame()->blink();
}

void DocumentWindow::showTextBox()
{
    m_view->textBox()->show();
    m_view->textBox()->raise();
}

void DocumentWindow::placeTextBox(double x, double y)
{
    m_view->textBox()->placeAt(x, y);
    m_view->textBox()->setFocus();
}

void DocumentWindow::showGuide(double x1, double y1, double x2, double y2)
{
    m_view->showGuide(x1, y1, x2, y2);
}

void DocumentWindow::moveGuide(double x1, double y1, double x2, double y2)
{
    m_view->moveGuide(x1, y1, x2, y2);
}

void DocumentWindow::hideGuide()
{
    m_view->hideGuide();
}

void DocumentWindow::runGoing(bool going, const std::function<void()> &stop)
{
    if (m_workspace.host)
        m_workspace.host->runGoing(this, going, stop);
}

void DocumentWindow::tellUser(const QString &text)
{
    tell(this, text, QCoreApplication::applicationName(), Icon::Exclamation);
}

void DocumentWindow::hideWriteMarks()
{
    if (m_doc.hasFloatingSelection())
        m_view->selectionFrame()->hideMarks();
    if (m_gesture.arc.guidePlaced)
        m_view->setGuideShown(false);
}

void DocumentWindow::showWriteMarks()
{
    if (m_doc.hasFloatingSelection())
        m_view->selectionFrame()->showMarks();
    if (m_gesture.arc.guidePlaced)
        m_view->setGuideShown(true);
}

void DocumentWindow::cancelArcGuide()
{
    m_view->hideGuide();
    m_gesture.arc.guidePlaced = false;
}

void DocumentWindow::keyPressEvent(QKeyEvent *e)
{
    selectionKeyPressed(e->key());
    e->accept();
}

void DocumentWindow::selectionKeyPressed(int key)
{
    if (!m_doc.hasFloatingSelection())
        return;
    double dx = 0, dy = 0;
    switch (key) {
    case Qt::Key_Left: dx = -15; break;
    case Qt::Key_Up: dy = -15; break;
    case Qt::Key_Right: dx = 15; break;
    case Qt::Key_Down: dy = 15; break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        commands::putDownSelection(m_doc);
        return;
    case Qt::Key_Escape:
        m_doc.dropSelection();
        return;
    default:
        return;
    }
    const TwipBox p = m_doc.selectionPlace();
    m_doc.placeSelection(p.left + dx, p.top + dy);
    m_view->selectionFrame()->placeAround(m_doc.selectionPlace());
    update();
}

void DocumentWindow::canvasPressed(const CanvasEvent &e)
{
    const ToolId tool = m_workspace.settings.tool;
    if (e.isRight() && takesRightButton(tool)) {
        // The tool makes its own step: a right release ends no gesture.
        if (m_workspace.toolHandler) {
            ToolContext t = toolContext();
            m_workspace.toolHandler->press(t, e);
        }
        return;
    }
    if (e.isRight()) {
        m_gesture.startX = e.x;
        m_gesture.startY = e.y;
        popupEditMenu(e.x, e.y);
        return;
    }
    if (e.isLeft() && m_workspace.toolHandler) {
        ToolContext t = toolContext();
        m_workspace.toolHandler->press(t, e);
    }
}

void DocumentWindow::canvasMoved(const CanvasEvent &e)
{
    if (e.isLeft()) {
        if (m_workspace.toolHandler) {
            ToolContext t = toolContext();
            m_workspace.toolHandler->move(t, e);
        }
        m_gesture.lastX = e.x;
        m_gesture.lastY = e.y;
    }
    if (ToolId(m_workspace.settings.tool) == ToolId::Picker)
        m_workspace.showPointer(e.x, e.y, m_doc.canvas().point(e.x, e.y));
    else
        m_workspace.showPointer(e.x, e.y);
}

void DocumentWindow::canvasReleased(const CanvasEvent &e)
{
    if (!e.isLeft() || !m_workspace.toolHandler)
        return;
    m_doc.setDrawMode(m_workspace.settings.drawMode);
    ToolContext t = toolContext();
    m_workspace.toolHandler->release(t, e);
}

void DocumentWindow::canvasDoubleClicked()
{
    if (!m_workspace.toolHandler)
        return;
    ToolContext t = toolContext();
    m_workspace.toolHandler->doubleClick(t);
}


void DocumentWindow::showRestoredSelection()
{
    SelectionFrame *frame = m_view->selectionFrame();
    if (m_doc.selectionVisible() && m_doc.hasFloatingSelection()) {
        frame->placeAround(m_doc.selectionPlace());
        frame->blink();
    } else {
        frame->hide();
    }
}

void DocumentWindow::popupEditMenu(double x, double y)
{
    m_view->popUp(m_workspace.host ? m_workspace.host->editMenu() : nullptr, x, y);
}

void DocumentWindow::floatPicture(const QImage &picture, double left, double top)
{
    const bool floating = m_doc.hasFloatingSelection();
    m_doc.floatPicture(picture, left, top);
    frameFloatingPicture(!floating);
}

void DocumentWindow::frameFloatingPicture(bool blink)
{
    m_view->selectionFrame()->placeAround(m_doc.selectionPlace());
    if (blink)
        m_view->selectionFrame()->blink();
}

void DocumentWindow::selectionPressed(const CanvasEvent &e)
{
    if (e.isLeft()) {
        m_grabX = e.x;
        m_grabY = e.y;
    } else if (e.isRight()) {
        const TwipBox p = m_doc.selectionPlace();
        popupEditMenu(p.left + e.x, p.top + e.y);
    }
}

void DocumentWindow::selectionDragged(const CanvasEvent &e)
{
    if (!e.isLeft())
        return;
    // Moved in place: hiding it would end the drag's mouse grab.
    const TwipBox p = m_doc.selectionPlace();
    m_doc.placeSelection(p.left + e.x - m_grabX, p.top + e.y - m_grabY);
    m_view->selectionFrame()->placeAround(m_doc.selectionPlace());
    m_gesture.startX = p.left + e.x - m_grabX;
    m_gesture.startY = p.top + e.y - m_grabY;
    update();
}

void DocumentWindow::selectionHandleDragged(SelectionHandle handle, const CanvasEvent &e)
{
    if (!e.isLeft())
        return;
    const TwipBox n = resizeWithHandle(handle, m_doc.selectionPlace(), e.x, e.y);
    // Resizing selects another part of the canvas; it never stretches.
    m_doc.copyCanvasToSelection(n);
    m_view->selectionFrame()->placeAround(n);
    m_gesture.startX = n.left;
    m_gesture.startY = n.top;
}

} // namespace quor
