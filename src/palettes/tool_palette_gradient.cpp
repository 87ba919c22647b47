// The gradient panel (Frame2) of the tool palette: the start and end colour
// boxes, the band width and direction boxes, the four gradient-kind options
// and the gradient line styles, shown per tool.
#include "palettes/tool_palette.h"

#include "document/workspace.h"
#include "document/document_window.h"
#include "document/picture_box.h"
#include "palettes/accessible_button.h"
#include "palettes/colour_names.h"
#include "palettes/digit_box.h"
#include "palettes/palette_rules.h"
#include "palettes/pick_colour.h"

#include <QLineEdit>
#include <QRadioButton>

namespace quor {

namespace {

const char *const optionNames[4] = {"hjianbianbanOptiondan", "hjianbianbanOptionshuang",
                                    "hjianbianbanOptionzong", "hjianbianbanOptionzong2"};
const double optionTops[4] = {1200, 1640, 1420, 1860};

QLineEdit *numberBox(QWidget *frame, const char *name, const QString &text)
{
    auto *t = new QLineEdit(text, frame);
    t->setObjectName(QLatin1String(name));
    t->setGeometry(twipsToPixels(60), twipsToPixels(870), twipsToPixels(720), twipsToPixels(300));
    return t;
}

} // namespace

void ToolPalette::buildGradientControls()
{
    QWidget *frame = m_frames[1];
    m_startColour = new PictureBox(QStringLiteral("hstartcolorPicture"), frame);
    m_startColour->moveTwips(60, 240, 720, 255);
    m_startColour->setBackColor(rgbColour(224, 224, 224));
    m_endColour = new PictureBox(QStringLiteral("hendcolorPicture"), frame);
    m_endColour->moveTwips(60, 555, 720, 255);
    m_endColour->setBackColor(rgbColour(128, 128, 128));
    connect(m_startColour, &PictureBox::doubleClicked, this, &ToolPalette::pickStartColour);
    connect(m_endColour, &PictureBox::doubleClicked, this, &ToolPalette::pickEndColour);
    makeAccessibleButton(m_startColour, {[this] { pickStartColour(); }, {}});
    makeAccessibleButton(m_endColour, {[this] { pickEndColour(); }, {}});
    for (PictureBox *box : {m_startColour, m_endColour}) {
        box->setAccessibleDescription(QStringLiteral("双击或按空格键选择颜色"));
        nameColourBox(box);
    }

    m_bandWidth = numberBox(frame, "hlinewidthText", QStringLiteral("0"));
    m_bandWidth->setToolTip(QStringLiteral("圆框宽度(Twips)"));
    m_bandWidth->setAccessibleName(m_bandWidth->toolTip());
    // Band widths are digit boxes too, but typing into them needs no
    // document: they only hold a number for the next figure.
    makeDigitBox(m_bandWidth, [] { return true; });
    connect(m_bandWidth, &QLineEdit::textChanged, this, &ToolPalette::bandWidthEdited);
    m_angle = numberBox(frame, "hlinecornerText", QStringLiteral("0"));
    m_angle->setToolTip(QStringLiteral("渐变方向(范围：0-180、单位：角度、0水平、90垂直)"));
    m_angle->setAccessibleName(QStringLiteral("渐变方向（度）"));
    makeDigitBox(m_angle, [] { return true; });
    connect(m_angle, &QLineEdit::textChanged, this, &ToolPalette::angleEdited);

    for (int i = 0; i < 4; ++i) {
        m_options[i] = new QRadioButton(frame);
        m_options[i]->setObjectName(QLatin1String(optionNames[i]));
        m_options[i]->setGeometry(twipsToPixels(60), twipsToPixels(optionTops[i]),
                                  twipsToPixels(735), twipsToPixels(220));
        m_options[i]->setFocusPolicy(Qt::ClickFocus);
        connect(m_options[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                m_workspace.settings.gradientKind = i;
        });
    }
}

void ToolPalette::showGradientLineStyles()
{
    for (PictureBox *box : m_boxes[int(StyleFamily::GradientLine)])
        box->show();
}

void ToolPalette::hideGradientLineStyles()
{
    for (PictureBox *box : m_boxes[int(StyleFamily::GradientLine)])
        box->hide();
}

void ToolPalette::showGradientPanel(GradientPanel s, const QString &widthTip)
{
    DocumentWindow *doc = activeDocument();
    const bool hidden = s == GradientPanel::Hidden;
    m_startColour->setVisible(!hidden);
    m_endColour->setVisible(!hidden);
    m_angle->setVisible(s == GradientPanel::Angle || s == GradientPanel::Text);
    m_bandWidth->setVisible(s == GradientPanel::BandWidth || s == GradientPanel::ArcBand);
    if (!widthTip.isEmpty()) {
        m_bandWidth->setToolTip(widthTip);
        m_bandWidth->setAccessibleName(widthTip);
    }

    struct Option { const char *caption, *tip; };
    const Option oneWay{"单向", "单向渐变"}, twoWay{"双向", "双向渐变"};
    Option options[4] = {oneWay, twoWay, {}, {}};
    bool shown[4] = {!hidden, !hidden, false, false};
    if (s == GradientPanel::ArcBand) {
        options[0] = {"单径", "单向径向渐变"};
        options[1] = {"双径", "双向径向渐变"};
        options[2] = {"单纵", "单向纵向渐变"};
        options[3] = {"双纵", "双向纵向渐变"};
        shown[2] = shown[3] = true;
    } else if (s == GradientPanel::Text) {
        options[2] = {"不变", "不渐变"};
        shown[2] = true;
    }
    for (int i = 0; i < 4; ++i) {
        if (options[i].caption) {
            m_options[i]->setText(QString::fromUtf8(options[i].caption));
            m_options[i]->setToolTip(QString::fromUtf8(options[i].tip));
        }
        m_options[i]->setVisible(shown[i]);
    }
    if (!hidden)
        m_options[s == GradientPanel::Text ? 2 : 0]->setChecked(true);

    if (s == GradientPanel::Text || hidden) {
        hideGradientLineStyles();
    } else {
        showGradientLineStyles();
        // The outlines of a gradient are never filled.
        m_workspace.settings.fillStyle = FillStyle::Transparent;
        if (doc)
            doc->document().setFillStyle(FillStyle::Transparent, Document::PenScope::CanvasAndFloating);
    }
}

void ToolPalette::pickGradientColour(bool start)
{
    if (!activeDocument())
        return;
    const auto c =
        pickColour(m_workspace.host, start ? QStringLiteral("起始色") : QStringLiteral("终止色"));
    if (!c)
        return;
    (start ? m_startColour : m_endColour)->setBackColor(*c);
    nameColourBox(start ? m_startColour : m_endColour);
    const int red = *c & 255, green = (*c & 65535) / 256, blue = *c / 65536;
    if (start) {
        m_workspace.settings.startRed = red;
        m_workspace.settings.startGreen = green;
        m_workspace.settings.startBlue = blue;
    } else {
        m_workspace.settings.endRed = red;
        m_workspace.settings.endGreen = green;
        m_workspace.settings.endBlue = blue;
    }
}

void ToolPalette::nameColourBox(PictureBox *box)
{
    const QString what = box == m_startColour ? QStringLiteral("起始色") : QStringLiteral("终止色");
    box->setAccessibleName(what + QStringLiteral("：") + colourName(box->backColor()));
}

void ToolPalette::pickStartColour()
{
    pickGradientColour(true);
}

void ToolPalette::pickEndColour()
{
    pickGradientColour(false);
}

void ToolPalette::bandWidthEdited()
{
    const QString fixed = bandWidthText(m_bandWidth->text());
    if (fixed != m_bandWidth->text()) {
        m_bandWidth->setText(fixed);
        return;
    }
    m_workspace.settings.bandWidthText = fixed;
}

void ToolPalette::angleEdited()
{
    const QString fixed = gradientAngleText(m_angle->text());
    if (fixed != m_angle->text()) {
        m_angle->setText(fixed); // changes again, and that change keeps the angle
        return;
    }
    m_workspace.settings.gradientAngle = fixed.toDouble();
}

} // namespace quor
