#include "palettes/colour_palette.h"

#include "document/dialog_seam.h"
#include "document/document_host.h"
#include "document/workspace.h"
#include "document/document_window.h"
#include "document/picture_box.h"
#include "palettes/accessible_button.h"
#include "palettes/box_click.h"
#include "palettes/colour_names.h"
#include "palettes/colour_swatches.h"
#include "palettes/digit_box.h"
#include "palettes/keyboard_ring.h"
#include "palettes/palette_rules.h"
#include "palettes/pick_colour.h"
#include "palettes/tool_palette.h"

#include <QEvent>
#include <QLineEdit>

namespace quor {

namespace {

// A line edit placed in twips.
QLineEdit *readout(QWidget *parent, const char *name, const char *title, const char *tip,
                   double left, double top)
{
    auto *t = new QLineEdit(parent);
    t->setObjectName(QLatin1String(name));
    t->setToolTip(QString::fromUtf8(tip));
    t->setAccessibleName(QString::fromUtf8(title));
    t->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(2325),
                   twipsToPixels(465));
    return t;
}

// A thin grey edge, as the boxes would have on a classic desktop, so a
// white box still shows on the white back plate.
void edge(PictureBox *box)
{
    auto *e = new OverlayShape(OverlayShape::Rectangle, QStringLiteral("hEdge"), box);
    e->setBorderColor(rgbColour(128, 128, 128));
    e->moveTwips(0, 0, box->widthTwips(), box->heightTwips());
    e->setVisible(true);
}

} // namespace

ColourPalette::ColourPalette(Workspace &workspace, QWidget *parent)
    : QWidget(parent), m_workspace(workspace)
{
    setObjectName(QStringLiteral("frmquorcolortool"));
    setAccessibleName(QStringLiteral("调色板"));
    m_ring = new KeyboardRing(this);
    setFixedHeight(twipsToPixels(990));
    // Designed 12015 twips wide; stretched (or clipped) to the main window.
    setMinimumWidth(0);

    auto *frame = new QWidget(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(0, twipsToPixels(150), twipsToPixels(7125), twipsToPixels(495));

    m_back = new PictureBox(QStringLiteral("Picture1backcolor"), frame);
    m_back->moveTwips(0, 30, 555, 465);
    setBackColour(0xffffff);
    m_back->setToolTip(QStringLiteral("背景色"));
    m_drawing = new PictureBox(QStringLiteral("PictureForeAndFillColor"), m_back);
    m_drawing->moveTwips(30, 60, 345, 315);
    setDrawingColour(fromQColor(palette().color(QPalette::Base)));
    m_drawing->setToolTip(QStringLiteral("绘图色、填充色"));
    m_fore = new PictureBox(QStringLiteral("Picture1Forecolor"), m_back);
    m_fore->moveTwips(360, 330, 105, 105);
    setForeColour(0);
    m_fore->setToolTip(QStringLiteral("前景色"));
    for (PictureBox *box : {m_back, m_drawing, m_fore}) {
        edge(box);
        box->setAccessibleDescription(QStringLiteral("双击或按空格键选择颜色"));
    }
    connect(m_drawing, &PictureBox::doubleClicked, this,
            &ColourPalette::pickDrawingColour);
    connect(m_fore, &PictureBox::doubleClicked, this, &ColourPalette::pickForeColour);
    connect(m_back, &PictureBox::doubleClicked, this, &ColourPalette::pickBackColour);

    for (int n = FirstSwatch; n <= LastSwatch; ++n) {
        auto *swatch = new PictureBox(QStringLiteral("Picture%1").arg(n), frame);
        swatch->moveTwips(600 + 270.0 * (swatchColumn(n) - 1), swatchRow(n) == 0 ? 30 : 270, 255, 225);
        swatch->setBackColor(swatchColour(n));
        edge(swatch);
        onBoxClick(swatch, this, [this, n] { swatchClicked(n); });
        swatch->setAccessibleName(colourName(swatchColour(n)));
        swatch->setAccessibleDescription(QStringLiteral("设为绘图色、填充色"));
        const auto click = [swatch] { KeyboardRing::click(swatch, Qt::LeftButton); };
        makeAccessibleButton(swatch, {click, {}});
        m_ring->add(swatch, {click, [swatch] { KeyboardRing::click(swatch, Qt::RightButton); }});
        m_swatches.append(swatch);
    }
    const std::pair<PictureBox *, void (ColourPalette::*)()> boxes[] = {
        {m_drawing, &ColourPalette::pickDrawingColour},
        {m_fore, &ColourPalette::pickForeColour},
        {m_back, &ColourPalette::pickBackColour}};
    for (const auto &[box, pick] : boxes) {
        const auto press = [this, pick = pick] { (this->*pick)(); };
        makeAccessibleButton(box, {press, {}});
        m_ring->add(box, {press, {}});
    }

    m_pointerBox = readout(this, "Text1", "指针位置", "像点坐标(X Y)", 7170, 180);
    m_sizeBox = readout(this, "Text2", "图片尺寸", "相片尺寸(宽 高)", 9510, 180);
    makeDigitBox(m_sizeBox, [this] { return m_workspace.activeDocument() != nullptr; }, true);
    m_sizeBox->installEventFilter(this);
    m_workspace.pointerReadout = [this](const QString &t) { m_pointerBox->setText(t); };
    connect(&m_workspace.settings, &DrawingSettings::colourTaken, this, &ColourPalette::colourTaken);
    m_workspace.canvasSizeReadout = [this](const QString &t) { m_sizeBox->setText(t); };
}

PictureBox *ColourPalette::swatch(int n) const
{
    return m_swatches.value(n - FirstSwatch);
}

void ColourPalette::takeKeyboardFocus()
{
    m_ring->enter();
}

void ColourPalette::placeReadouts()
{
    const double w = pixelsToTwips(width());
    const double t2 = w - pixelsToTwips(m_sizeBox->width()) - 200;
    const double t1 = w - pixelsToTwips(m_pointerBox->width()) - pixelsToTwips(m_sizeBox->width()) - 400;
    m_sizeBox->move(twipsToPixels(t2), m_sizeBox->y());
    m_pointerBox->move(twipsToPixels(t1), m_pointerBox->y());
}

void ColourPalette::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    placeReadouts();
}

bool ColourPalette::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == m_sizeBox && e->type() == QEvent::FocusOut)
        canvasSizeEdited();
    return QWidget::eventFilter(watched, e);
}

void ColourPalette::applyDrawingColour()
{
    if (m_tools)
        m_tools->applyDrawingColour();
}

void ColourPalette::swatchClicked(int n)
{
    if (swatch(n))
        chooseDrawingColour(swatch(n)->backColor());
}

void ColourPalette::chooseDrawingColour(Colour c)
{
    if (!m_workspace.activeDocument())
        return;
    setDrawingColour(c);
    applyDrawingColour();
}

void ColourPalette::colourTaken(Colour c, bool asBackground)
{
    // The background colour only goes into its box and the settings: the
    // canvas keeps its picture (the Edit menu's command clears it).
    if (asBackground)
        setBackColour(c);
    else
        chooseDrawingColour(c);
}

void ColourPalette::pickDrawingColour()
{
    if (!m_workspace.activeDocument())
        return;
    if (const auto c = pickColour(m_workspace.host, QStringLiteral("绘图色"))) {
        setDrawingColour(*c);
        applyDrawingColour();
    }
}

void ColourPalette::pickForeColour()
{
    DocumentWindow *doc = m_workspace.activeDocument();
    if (!doc)
        return;
    auto c = pickColour(m_workspace.host, QStringLiteral("前景色"));
    if (!c)
        return;
    doc->document().setForeColour(*c);
    applyForeColour(*c);
}

void ColourPalette::applyForeColour(Colour c)
{
    setForeColour(c);
    // Light grey samples would vanish on the samples' light grey face.
    constexpr Colour lightGrey = rgbColour(192, 192, 192), white = rgbColour(255, 255, 255);
    if (c == lightGrey) {
        setColourDialogStart(toQColor(white));
        c = white;
    }
    if (m_tools)
        m_tools->applySampleForeColour(c);
}

void ColourPalette::pickBackColour()
{
    DocumentWindow *doc = m_workspace.activeDocument();
    if (!doc)
        return;
    if (const auto c = pickColour(m_workspace.host, QStringLiteral("背景色"))) {
        // Clears the drawing to the new colour, over the loaded picture.
        doc->document().setBackColour(*c);
        setBackColour(*c);
    }
}

void ColourPalette::setDrawingColour(Colour c)
{
    m_drawing->setBackColor(c);
    m_drawing->setAccessibleName(QStringLiteral("绘图色、填充色：") + colourName(c));
    m_workspace.settings.drawingColour = c;
}

void ColourPalette::setForeColour(Colour c)
{
    m_fore->setBackColor(c);
    m_fore->setAccessibleName(QStringLiteral("前景色：") + colourName(c));
    m_workspace.settings.foreColour = c;
}

void ColourPalette::setBackColour(Colour c)
{
    m_back->setBackColor(c);
    m_back->setAccessibleName(QStringLiteral("背景色：") + colourName(c));
    m_workspace.settings.backColour = c;
}

void ColourPalette::canvasSizeEdited()
{
    DocumentWindow *doc = m_workspace.activeDocument();
    if (!doc)
        return;
    // Without a blank, or with a part that is no number, nothing changes.
    const auto size = parseSizeEntry(m_sizeBox->text());
    if (!size)
        return;
    m_sizeBox->setText(sizeEntryText(*size));
    // The canvas's resize writes its size back and marks the document.
    PictureBox *canvas = doc->view()->canvasBox();
    canvas->moveTwips(canvas->leftTwips(), canvas->topTwips(), size->width, size->height);
}

} // namespace quor
