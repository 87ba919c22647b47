#include "palettes/tool_palette.h"

#include "document/workspace.h"
#include "document/document_window.h"
#include "document/fixed_layout.h"
#include "document/picture_box.h"
#include "palettes/accessible_button.h"
#include "palettes/digit_box.h"
#include "palettes/keyboard_ring.h"
#include "palettes/palette_rules.h"
#include "palettes/tool_buttons.h"

#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>

#include <functional>
#include <utility>

namespace quor {

namespace {

// A tool button acts when it receives the focus, by click or keyboard; a
// window merely becoming active again does not choose the tool anew.
class ToolButton : public QToolButton
{
public:
    using QToolButton::QToolButton;
    std::function<void()> gotFocus;

protected:
    void mousePressEvent(QMouseEvent *e) override
    {
        // A click into an inactive window hands the focus over only once
        // the window is active, under the activation's reason.
        m_clicked = !hasFocus();
        QToolButton::mousePressEvent(e);
    }
    void focusInEvent(QFocusEvent *e) override
    {
        QToolButton::focusInEvent(e);
        const bool clicked = std::exchange(m_clicked, false);
        switch (e->reason()) {
        case Qt::ActiveWindowFocusReason:
            if (!clicked)
                return;
            break;
        case Qt::PopupFocusReason:
        case Qt::MenuBarFocusReason:
            return;
        default:
            break;
        }
        if (gotFocus)
            gotFocus();
    }

private:
    bool m_clicked = false;
};

// A panel: an etched frame with a light green outline around its content.
class PanelFrame : public QFrame
{
public:
    explicit PanelFrame(QWidget *parent) : QFrame(parent)
    {
        setFrameStyle(QFrame::Box | QFrame::Sunken);
    }
    bool outlined = true;

protected:
    void paintEvent(QPaintEvent *e) override
    {
        QFrame::paintEvent(e);
        if (!outlined)
            return;
        QPainter p(this);
        p.setPen(QColor(192, 255, 192));
        p.drawRect(QRect(twipsToPixels(30), twipsToPixels(105), width() - 2 * twipsToPixels(30),
                         height() - twipsToPixels(105) - twipsToPixels(45))
                       .adjusted(0, 0, -1, -1));
    }
};

} // namespace

ToolPalette::ToolPalette(Workspace &workspace, QWidget *parent)
    : QWidget(parent), m_workspace(workspace)
{
    setObjectName(QStringLiteral("frmquortools"));
    setAccessibleName(QStringLiteral("工具箱"));
    m_ring = new KeyboardRing(this);

    // A fixed panel; when the main window is too short for it, it scrolls.
    m_body = new QWidget;
    m_body->setObjectName(QStringLiteral("frmquortoolsInner"));
    m_body->setFixedSize(twipsToPixels(InnerWidth), twipsToPixels(InnerHeight));
    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_scroll->setWidget(m_body);
    m_scroll->setAccessibleName(QStringLiteral("工具箱"));
    m_scroll->verticalScrollBar()->setAccessibleName(QStringLiteral("工具箱滚动条"));
    setFixedWidth(m_body->width());
    setMinimumHeight(1); // a dock takes one off for its missing title

    buildFrames();
    buildStyleBoxes();
    buildGradientControls();
    buildWidthBox();
    buildButtons();
    buildKeyboardRing();
    // Until a document takes a tool, the palette shows the select tool's
    // empty panel: the tool at start-up.
    showGradientPanel(GradientPanel::Hidden);
    setUp();
}

QSize ToolPalette::sizeHint() const
{
    return {minimumWidth(), m_body->height()};
}

QSize ToolPalette::minimumSizeHint() const
{
    return {minimumWidth(), 1};
}

void ToolPalette::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    const bool scrolls = height() < m_body->height();
    const int bar = m_scroll->verticalScrollBar()->sizeHint().width();
    const int w = m_body->width() + (scrolls ? bar : 0);
    if (w != minimumWidth())
        setFixedWidth(w);
    m_scroll->setGeometry(0, 0, w, height());
}

void ToolPalette::buildButtons()
{
    const QSize iconSize(twipsToPixels(ToolButtonWidth) - 6, twipsToPixels(ToolButtonHeight) - 5);
    for (int i = 0; i < ToolButtonCount; ++i) {
        const ToolButtonSpec &b = toolButtonAt(i);
        auto *button = new ToolButton(m_body);
        button->setObjectName(QStringLiteral("Command%1").arg(b.command));
        button->setToolTip(QString::fromUtf8(b.tip));
        button->setFocusPolicy(Qt::StrongFocus);
        button->setIcon(toolIcon(b.command, iconSize));
        button->setIconSize(iconSize);
        button->setGeometry(twipsRect(toolButtonLeft(b), toolButtonTop(b), ToolButtonWidth,
                                      ToolButtonHeight));
        button->gotFocus = [this, n = b.command] { buttonFocused(n); };
        button->setAccessibleName(toolButtonName(b));
        button->setAccessibleDescription(toolButtonHint(b));
        const auto press = [this, n = b.command] { buttonFocused(n); };
        makeAccessibleButton(button, {press, [this, n = b.command] { return m_current == n; }});
        m_commands[b.command - 1] = button;
    }
    m_marker = new QLabel(m_body);
    m_marker->setObjectName(QStringLiteral("Picture1"));
    m_marker->setAttribute(Qt::WA_TransparentForMouseEvents);
    const QRect r = twipsRect(300, 250, 120, 105);
    m_marker->setGeometry(r);
    m_marker->setPixmap(toolMarkerPixmap(r.size()));
    m_marker->raise();
}

void ToolPalette::buildKeyboardRing()
{
    // The buttons first: the ring starts there when none had the focus.
    for (int i = 0; i < ToolButtonCount; ++i) {
        const int n = toolButtonAt(i).command;
        m_ring->add(button(n), {[this, n] { buttonFocused(n); }, {}});
    }
    m_ring->add(m_startColour, {[this] { pickStartColour(); }, {}});
    m_ring->add(m_endColour, {[this] { pickEndColour(); }, {}});
    for (QRadioButton *option : m_options)
        m_ring->add(option, {[option] { option->click(); }, {}});
    for (StyleFamily f : AllStyleFamilies)
        for (int i = 1; i <= styleBoxCount(f); ++i)
            m_ring->add(styleBox(f, i), {[box = styleBox(f, i)] { KeyboardRing::click(box, Qt::LeftButton); }, {}});
}

void ToolPalette::buildFrames()
{
    for (int i = 0; i < 6; ++i) {
        auto *f = new PanelFrame(m_body);
        f->setObjectName(QStringLiteral("Frame%1").arg(i + 1));
        if (i < 5) {
            f->setGeometry(twipsRect(60, 2610, 825, 3405));
            f->hide();
        } else {
            f->outlined = false;
            f->setGeometry(twipsRect(60, 6030, 825, 420));
        }
        m_frames[i] = f;
    }
    m_frames[1]->show();
}

void ToolPalette::buildWidthBox()
{
    m_width = new QLineEdit(QStringLiteral("1"), m_frames[5]);
    m_width->setObjectName(QStringLiteral("Text1"));
    m_width->setToolTip(QStringLiteral("绘图线宽度"));
    m_width->setAccessibleName(QStringLiteral("线宽（像素）"));
    m_width->setGeometry(twipsRect(60, 60, 705, 300));
    // Wider than any pen, and small enough to stay a whole number.
    m_width->setMaxLength(5);
    makeDigitBox(m_width, [this] { return activeDocument() != nullptr; });
    connect(m_width, &QLineEdit::textChanged, this, &ToolPalette::lineWidthEdited);
    connect(&m_workspace.settings, &DrawingSettings::lineWidthRequested, m_width,
            [this](int w) { m_width->setText(QString::number(w)); });
}

void ToolPalette::setUp()
{
    drawLineSamples();
    drawShapeLineSamples();
    drawFillSamples();
    m_workspace.settings.startRed = m_workspace.settings.startGreen = m_workspace.settings.startBlue = 239;
    m_workspace.settings.endRed = m_workspace.settings.endGreen = m_workspace.settings.endBlue = 127;
    m_workspace.settings.gradientAngle = 0;
    buttonFocused(1);
}

DocumentWindow *ToolPalette::activeDocument() const
{
    return m_workspace.activeDocument();
}

PictureBox *ToolPalette::styleBox(StyleFamily f, int i) const
{
    return m_boxes[int(f)].value(i - 1);
}

void ToolPalette::takeKeyboardFocus()
{
    m_ring->enter(m_current ? button(m_current) : nullptr);
}

void ToolPalette::lineWidthEdited()
{
    const QString fixed = lineWidthText(m_width->text());
    if (fixed != m_width->text()) {
        m_width->setText(fixed); // changes again, and that change sets the width
        return;
    }
    m_workspace.settings.lineWidth = roundHalfEven(fixed.toDouble());
    if (DocumentWindow *doc = activeDocument())
        doc->document().setLineWidth(m_workspace.settings.lineWidth);
}

} // namespace quor
