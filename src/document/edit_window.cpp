#include "document/edit_window.h"

#include "document/document_host.h"
#include "document/module_quor_main.h"
#include "document/selection_geometry.h"
#include "document/window_layout.h"

#include <QCloseEvent>
#include <QDockWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMdiSubWindow>
#include <QPointer>
#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>
#include <QStyle>
#include <QTextEdit>
#include <QTimer>

#include <cmath>

namespace quor {

namespace {

constexpr double ScrollBarThickness = 255;
constexpr double SizeHandleThickness = 25;
constexpr double SelectionHandleSize = 80;

const char *const handleNames[8] = {
    "hselsizePictLeftUp",   "hselsizePictUp",   "hselsizePictRightUp", "hselsizePictLeft",
    "hselsizePictRight",    "hselsizePictLeftDown", "hselsizePictDown", "hselsizePictRightDown",
};
const Qt::CursorShape handleCursors[8] = {
    Qt::SizeFDiagCursor, Qt::SizeVerCursor, Qt::SizeBDiagCursor, Qt::SizeHorCursor,
    Qt::SizeHorCursor,   Qt::SizeBDiagCursor, Qt::SizeVerCursor, Qt::SizeFDiagCursor,
};

PictureBox *sizeHandle(const char *name, Qt::CursorShape cursor, QWidget *parent)
{
    auto *p = new PictureBox(QLatin1String(name), parent);
    p->setBackColor(0x808080);
    p->setCursor(cursor);
    p->setMinimumPixelSize({4, 4}); // something a pointer can hit
    return p;
}

// A 100 ms timer that swaps the visibility of two overlays, so a frame or
// guide alternates between its black and its white form.
QTimer *blinkTimer(const char *name, OverlayShape *a, OverlayShape *b, QObject *parent)
{
    auto *t = new QTimer(parent);
    t->setObjectName(QLatin1String(name));
    t->setInterval(100);
    QObject::connect(t, &QTimer::timeout, parent, [a, b] {
        a->setVisible(!a->isVisible());
        b->setVisible(!b->isVisible());
    });
    return t;
}

// Twips from a widget's pixel extent.
double tw(int px) { return pixelsToTwips(px); }

} // namespace

frmquoredit::frmquoredit(ModuleQuorMain &state, QWidget *parent)
    : QWidget(parent), m_state(state)
{
    setObjectName(QStringLiteral("frmquoredit"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(64, 64, 64));
    setPalette(pal);
    setFocusPolicy(Qt::StrongFocus);

    m_canvas = new PictureBox(QStringLiteral("Picture1"), m_doc.canvas(), this);
    m_canvas->setFocusPolicy(Qt::ClickFocus);
    m_canvas->setMouseTracking(true); // the pointer read-out follows a hovering pointer
    CanvasSurface &c = m_canvas->surface();
    c.setBackColor(fromQColor(palette().color(QPalette::Base)));
    c.setForeColor(fromQColor(palette().color(QPalette::Text)));

    for (int i = 0; i < 8; ++i) {
        m_handles[i] = new PictureBox(QLatin1String(handleNames[i]), m_canvas);
        m_handles[i]->Move(0, 0, SelectionHandleSize, SelectionHandleSize);
        m_handles[i]->setBackColor(rgbColour(255, 255, 0));
        m_handles[i]->setCursor(handleCursors[i]);
        m_handles[i]->hide();
    }
    m_rtf = new QTextEdit(m_canvas);
    m_rtf->setObjectName(QStringLiteral("rtftext"));
    m_rtf->hide();
    m_picture4 = new PictureBox(QStringLiteral("Picture4"), m_canvas);
    m_picture4->Move(0, 0, 15, 15);
    m_picture4->hide();
    m_unload = new PictureBox(QStringLiteral("PictureUnloadAssist"), m_doc.scratch(), m_canvas);
    m_unload->hide();
    m_copy = new PictureBox(QStringLiteral("PictureCopy"), m_doc.selection(), m_canvas);
    m_copy->setCursor(Qt::SizeAllCursor);
    m_copy->hide();
    m_runShape = new OverlayShape(OverlayShape::Rectangle, QStringLiteral("hrunShape"), m_copy);
    m_runShape->setBorderColor(rgbColour(255, 0, 0));
    m_runLine = new OverlayShape(OverlayShape::Line, QStringLiteral("hrunLine"), m_copy);
    m_runLine->setBorderColor(rgbColour(255, 0, 0));

    m_wordLabel = new QLabel(QStringLiteral("H"), m_canvas);
    m_wordLabel->setObjectName(QStringLiteral("hwordLabel"));
    m_wordLabel->hide();
    m_word = new TextEntryBox(m_wordLabel, m_canvas);
    m_word->setObjectName(QStringLiteral("hword"));
    m_word->setFont(c.font());
    m_wordLabel->setFont(c.font());
    m_word->hide();
    connect(m_word, &TextEntryBox::RightButtonDown, this, [this](double x, double y) {
        popupMenu(m_state.main ? m_state.main->mnuquick1() : nullptr, m_word->Left() + x,
                  m_word->Top() + y);
    });

    m_radius1 = new OverlayShape(OverlayShape::Line, QStringLiteral("huradiusLine1"), m_canvas);
    m_radius1->setBorderColor(0);
    m_radius2 = new OverlayShape(OverlayShape::Line, QStringLiteral("huradiusLine2"), m_canvas);
    m_radius2->setBorderColor(0xffffff);
    m_shape1 = new OverlayShape(OverlayShape::Rectangle, QStringLiteral("hselectShape1"), m_canvas);
    m_shape1->setDotted(true);
    m_shape1->setBorderColor(0);
    m_shape2 = new OverlayShape(OverlayShape::Rectangle, QStringLiteral("hselectShape2"), m_canvas);
    m_shape2->setDotted(true);
    m_shape2->setBorderColor(fromQColor(palette().color(QPalette::Base)));

    m_vscroll = new QScrollBar(Qt::Vertical, this);
    m_vscroll->setObjectName(QStringLiteral("VScroll1"));
    m_vscroll->resize(twipsToPixels(ScrollBarThickness), 100);
    m_hscroll = new QScrollBar(Qt::Horizontal, this);
    m_hscroll->setObjectName(QStringLiteral("HScroll1"));
    m_hscroll->resize(100, twipsToPixels(ScrollBarThickness));
    for (QScrollBar *bar : {m_vscroll, m_hscroll}) {
        bar->setRange(0, 0);
        bar->setFocusPolicy(Qt::NoFocus);
    }

    m_widthSize = sizeHandle("widthsizePicture", Qt::SizeHorCursor, this);
    m_widthSize->Move(0, 0, SizeHandleThickness, 15);
    m_heightSize = sizeHandle("heightasizePicture", Qt::SizeVerCursor, this);
    m_heightSize->Move(0, 0, 15, SizeHandleThickness);
    m_bothSize = sizeHandle("bothsizePicture", Qt::SizeFDiagCursor, this);
    m_bothSize->Move(0, 0, SizeHandleThickness, SizeHandleThickness);

    m_shapesTimer = blinkTimer("hselectshapesTimer", m_shape1, m_shape2, this);
    m_radiusTimer = blinkTimer("huradiusTimer", m_radius1, m_radius2, this);

    m_pasteStyle = new QLineEdit(this);
    m_pasteStyle->setObjectName(QStringLiteral("HpastestyleText"));
    m_pasteStyle->hide();

    connect(&m_doc, &Document::canvasDamaged, m_canvas, qOverload<const QRect &>(&QWidget::update));
    connect(&m_doc, &Document::selectionDamaged, m_copy, qOverload<const QRect &>(&QWidget::update));
    connect(&m_doc, &Document::canvasResized, m_canvas, &PictureBox::followSurface);
    connect(&m_doc, &Document::selectionPlaced, this, &frmquoredit::followSelection);
    connect(m_canvas, &PictureBox::MouseDown, this, &frmquoredit::Picture1_MouseDown);
    connect(m_canvas, &PictureBox::MouseMove, this, &frmquoredit::Picture1_MouseMove);
    connect(m_canvas, &PictureBox::MouseUp, this, &frmquoredit::Picture1_MouseUp);
    connect(m_canvas, &PictureBox::DblClick, this, &frmquoredit::Picture1_DblClick);
    connect(m_canvas, &PictureBox::Resize, this, &frmquoredit::Picture1_Resize);
    connectScrollAndSelection();

    resize(twipsToPixels(5040), twipsToPixels(4650));
    if (m_state.main) {
        QMdiArea *area = m_state.main->mdiArea();
        m_sub = area->addSubWindow(this);
        m_sub->setAttribute(Qt::WA_DeleteOnClose);
        // The frame's own keys (Ctrl+W close among them) would make the
        // menus' shortcuts ambiguous; F7 closes a document here.
        if (QMenu *frameMenu = m_sub->systemMenu())
            for (QAction *a : frameMenu->actions())
                a->setShortcuts({});
        // A new window starts one title bar further down the cascade, not
        // where the area finds free space, so Form_Load sizes it from there.
        const int titleBar = m_sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, m_sub);
        const int slot = cascadeSlot(m_state.nextWindowSlot, m_state.main->documentAreaSize(), titleBar);
        m_state.nextWindowSlot = slot + 1;
        m_sub->move(slot * titleBar, slot * titleBar);
        connect(m_state.main->mdiArea(), &QMdiArea::subWindowActivated, this,
                [this](QMdiSubWindow *w) {
                    if (w && w == m_sub && !m_gone)
                        Form_Activate();
                });
    }
    Form_Load();
    connect(&m_doc, &Document::restored, this, &frmquoredit::showRestoredSelection);
    for (PictureBox *handle : {m_widthSize, m_heightSize, m_bothSize}) {
        // A drag of a size handle is one step however many moves it takes.
        connect(handle, &PictureBox::MouseDown, this, [this](int b) {
            if (b == 1)
                m_doc.beginStep();
        });
        connect(handle, &PictureBox::MouseUp, this, [this](int b) {
            if (b == 1)
                m_doc.endStep();
        });
    }
    m_doc.rebase(); // a new document's history starts here
}

frmquoredit::~frmquoredit() = default;

void frmquoredit::setCaption(const QString &c)
{
    setWindowTitle(c);
}

double frmquoredit::ScaleWidth() const { return tw(width()); }
double frmquoredit::ScaleHeight() const { return tw(height()); }

double frmquoredit::windowLeft() const
{
    return tw(m_sub ? m_sub->x() : x());
}

double frmquoredit::windowTop() const
{
    return tw(m_sub ? m_sub->y() : y());
}

void frmquoredit::moveWindow(double left, double top, double width, double height)
{
    QWidget *w = m_sub ? static_cast<QWidget *>(m_sub) : this;
    if (m_sub && (m_sub->isMaximized() || m_sub->isMinimized()))
        m_sub->showNormal();
    w->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                   twipsToPixels(height));
    if (m_sub && m_sub->layout())
        m_sub->layout()->activate(); // lay the content out now, even while hidden
}

void frmquoredit::Form_Load()
{
    if (m_state.hArrangeMode == 4 && m_state.main) {
        // Between the palettes: the document area already excludes them.
        const QSize area = m_state.main->documentAreaSize();
        const double oldLeft = windowLeft();
        moveWindow(0, 0, tw(area.width()) - oldLeft - 300, tw(area.height()));
    }
    m_canvas->Move(0, 0,
                   ScaleWidth() - ScrollBarThickness - SizeHandleThickness,
                   ScaleHeight() - ScrollBarThickness - SizeHandleThickness);
    Form_Resize();
}

void frmquoredit::showInArea()
{
    if (m_sub)
        m_sub->show();
    else
        show();
    activate();
}

void frmquoredit::activate()
{
    if (m_sub && m_state.main) {
        m_state.main->mdiArea()->setActiveSubWindow(m_sub);
        // Activation of an already active window still takes the palettes on.
        if (m_state.main->mdiArea()->activeSubWindow() == m_sub && m_state.hActiveEdit != this)
            Form_Activate();
    } else {
        Form_Activate();
    }
    setFocus();
}

void frmquoredit::Form_Activate()
{
    ModuleQuorMain &s = m_state;
    s.hActiveEdit = this;
    CanvasSurface &c = m_canvas->surface();
    s.showCanvasSize(c.scaleWidth(), c.scaleHeight());
    s.clearPointer();
    c.setForeColor(s.settings.foreColour);
    QPalette pal = m_word->palette();
    pal.setColor(QPalette::Text, toQColor(s.settings.foreColour));
    m_word->setPalette(pal);
    c.setFillColor(s.settings.drawingColour);
    c.setFillStyle(s.settings.hFillStyle.value_or(0));
    c.setDrawStyle(s.settings.hDrawStyle.value_or(0));
    c.setDrawWidth(s.settings.lineWidth);
    c.setDrawMode(s.settings.drawMode);
    m_doc.pasteRasterOp = s.settings.pasteRasterOp;
    m_pasteStyle->setText(QString::number(s.settings.pasteRasterOp));
}

void frmquoredit::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    Form_Resize();
}

void frmquoredit::Form_Resize()
{
    const double sw = ScaleWidth(), sh = ScaleHeight();
    const double vh = sh - tw(m_hscroll->height());
    m_vscroll->setGeometry(twipsToPixels(sw - tw(m_vscroll->width())), 0, m_vscroll->width(),
                           twipsToPixels(vh > 30 ? vh : 30));
    const double hw = sw - tw(m_vscroll->width());
    m_hscroll->setGeometry(0, twipsToPixels(sh - tw(m_hscroll->height())),
                           twipsToPixels(hw > 30 ? hw : 30), m_hscroll->height());
    m_vscroll->raise();
    m_hscroll->raise();
    updateScrollRanges();
}

void frmquoredit::updateScrollRanges()
{
    // One scroll unit is 20 twips.
    auto maxFor = [](double hidden, double offset) {
        return roundHalfEven(float(offset < hidden ? hidden / 20 : offset / 20));
    };
    // Room for the whole size handle as the screen shows it past the edge.
    const double hiddenV = m_canvas->Height()
        - (ScaleHeight() - tw(m_hscroll->height()) - tw(m_heightSize->height()));
    m_vscroll->setMaximum(std::max(0, maxFor(hiddenV, std::fabs(m_canvas->Top()))));
    const double hiddenH = m_canvas->Width()
        - (ScaleWidth() - tw(m_vscroll->width()) - tw(m_widthSize->width()));
    m_hscroll->setMaximum(std::max(0, maxFor(hiddenH, std::fabs(m_canvas->Left()))));
    // A click in the trough moves by what the window shows; an arrow by one
    // unit.
    m_vscroll->setPageStep(std::max(1, int((ScaleHeight() - tw(m_hscroll->height())) / 20)));
    m_hscroll->setPageStep(std::max(1, int((ScaleWidth() - tw(m_vscroll->width())) / 20)));
    m_vscroll->setSingleStep(1);
    m_hscroll->setSingleStep(1);
}

void frmquoredit::wheelEvent(QWheelEvent *e)
{
    // Qt's lines per notch times a 20-pixel line, as desktop programs
    // scroll; Shift (or a sideways wheel) scrolls across.
    const QPoint delta = e->angleDelta();
    const bool across = (e->modifiers() & Qt::ShiftModifier) || delta.x() != 0;
    const int eighths = across ? (delta.x() != 0 ? delta.x() : delta.y()) : delta.y();
    const double pixels = -eighths / 120.0 * QApplication::wheelScrollLines() * 20;
    QScrollBar *bar = across ? m_hscroll : m_vscroll;
    bar->setValue(bar->value() + int(std::lround(pixelsToTwips(1) * pixels / 20)));
    e->accept();
}

void frmquoredit::Picture1_Resize()
{
    const CanvasSurface &c = m_canvas->surface();
    if (m_state.hActiveEdit == this)
        m_state.showCanvasSize(c.scaleWidth(), c.scaleHeight());
    placeSizeHandles();
    updateScrollRanges();
    m_doc.markChanged();
}

void frmquoredit::hShowSelectionFrame()
{
    // The handles are moved, not hidden first: hiding the handle being
    // dragged would end its mouse grab.
    const TwipBox p = m_doc.selectionPlace();
    const TwipRect frame = selectionFrame({p.left, p.top, p.width, p.height});
    m_shape1->Move(frame.left, frame.top, frame.width, frame.height);
    m_shape2->Move(frame.left, frame.top, frame.width, frame.height);
    const auto places = handlePositions(frame, SelectionHandleSize);
    for (int i = 0; i < 8; ++i) {
        m_handles[i]->Move(places[i].x, places[i].y);
        m_handles[i]->show();
        m_handles[i]->raise();
    }
}

// The floating picture's box follows the document's floating selection.
void frmquoredit::followSelection()
{
    const TwipBox p = m_doc.selectionPlace();
    m_copy->Move(p.left, p.top, p.width, p.height);
    m_copy->followSurface();
    if (m_doc.selectionVisible()) {
        m_copy->show();
        m_copy->raise();
    } else {
        m_copy->hide();
        hHideSelectionFrame();
    }
}

ToolContext frmquoredit::toolContext()
{
    return {m_doc, m_state.settings, *this};
}

void frmquoredit::showSelectionBand(double left, double top, double width, double height)
{
    moveSelectionBand(left, top, width, height);
    blinkSelectionFrame();
}

void frmquoredit::moveSelectionBand(double left, double top, double width, double height)
{
    m_shape1->Move(left, top, width, height);
    m_shape2->Move(left, top, width, height);
}

// The floating selection's frame and handles, the frame blinking: lifting
// the picture hid the band the press had shown.
void frmquoredit::showSelectionFrame()
{
    hShowSelectionFrame();
    blinkSelectionFrame();
}

void frmquoredit::blinkSelectionFrame()
{
    m_shape1->setVisible(true);
    m_shape2->setVisible(false);
    m_shapesTimer->start();
}

void frmquoredit::showTextBox()
{
    m_word->show();
    m_word->raise();
}

void frmquoredit::placeTextBox(double x, double y)
{
    m_word->placeAt(x, y);
    m_word->setFocus();
}

void frmquoredit::showGuide(double x1, double y1, double x2, double y2)
{
    moveGuide(x1, y1, x2, y2);
    m_radius1->setVisible(true);
    m_radius2->setVisible(false);
    m_radiusTimer->start();
}

void frmquoredit::moveGuide(double x1, double y1, double x2, double y2)
{
    m_radius1->Move(x1, y1, x2, y2);
    m_radius2->Move(x1, y1, x2, y2);
}

void frmquoredit::hideGuide()
{
    m_radiusTimer->stop();
    m_radius1->setVisible(false);
    m_radius2->setVisible(false);
}

void frmquoredit::runGoing(bool going, const std::function<void()> &stop)
{
    if (m_state.main)
        m_state.main->runGoing(this, going, stop);
}

void frmquoredit::hHideSelectionFrame()
{
    m_shapesTimer->stop();
    m_shape1->setVisible(false);
    m_shape2->setVisible(false);
    for (PictureBox *h : m_handles)
        h->hide();
}

void frmquoredit::keyPressEvent(QKeyEvent *e)
{
    Form_KeyDown(e->key());
    e->accept();
}

void frmquoredit::Form_KeyDown(int key)
{
    if (!m_doc.hSelect)
        return;
    double dx = 0, dy = 0;
    switch (key) {
    case Qt::Key_Left: dx = -15; break;
    case Qt::Key_Up: dy = -15; break;
    case Qt::Key_Right: dx = 15; break;
    case Qt::Key_Down: dy = 15; break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_doc.beginStep();
        m_doc.layDownSelection();
        m_doc.hSelect = false;
        m_doc.endStep();
        return;
    case Qt::Key_Escape:
        m_doc.dropSelection();
        m_doc.hSelect = false;
        return;
    default:
        return;
    }
    const TwipBox p = m_doc.selectionPlace();
    m_doc.placeSelection(p.left + dx, p.top + dy);
    hShowSelectionFrame();
    update();
}

void frmquoredit::Picture1_MouseDown(int button, int shift, double x, double y)
{
    if (button == 2) {
        m_doc.hStartx = x;
        m_doc.hStarty = y;
        popupEditMenu(x, y);
        return;
    }
    if (button == 1 && m_state.toolHandler) {
        beginGestureStep();
        ToolContext t = toolContext();
        m_state.toolHandler->mouseDown(t, shift, x, y);
    }
}

void frmquoredit::Picture1_MouseMove(int button, int shift, double x, double y)
{
    if (button == 1) {
        if (m_state.toolHandler) {
            ToolContext t = toolContext();
            m_state.toolHandler->mouseMove(t, shift, x, y);
        }
        m_doc.hEndx = x;
        m_doc.hEndy = y;
    }
    m_state.showPointer(x, y);
}

void frmquoredit::Picture1_MouseUp(int button, int shift, double x, double y)
{
    if (button != 1 || !m_state.toolHandler)
        return;
    m_canvas->surface().setDrawMode(m_state.settings.drawMode);
    ToolContext t = toolContext();
    // A long drawing takes events; the window may be gone after it.
    const QPointer<frmquoredit> self(this);
    m_state.toolHandler->mouseUp(t, shift, x, y);
    if (self)
        endGestureStep();
}

// A figure from press to release is one step of the history.
void frmquoredit::beginGestureStep()
{
    if (m_gestureStep)
        return;
    m_gestureStep = true;
    m_doc.beginStep();
}

void frmquoredit::endGestureStep()
{
    if (!m_gestureStep)
        return;
    m_gestureStep = false;
    m_doc.endStep();
}

void frmquoredit::showRestoredSelection()
{
    if (m_doc.selectionVisible() && m_doc.hSelect) {
        hShowSelectionFrame();
        blinkSelectionFrame();
    } else {
        hHideSelectionFrame();
    }
}

void frmquoredit::Picture1_DblClick()
{
    if (!m_state.toolHandler)
        return;
    beginGestureStep(); // the second press of a double click; its release ends the step
    ToolContext t = toolContext();
    m_state.toolHandler->dblClick(t);
}

} // namespace quor
