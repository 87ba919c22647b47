#include "dialogs/gradient_fill_dialog.h"

#include "core/drawing_settings.h"
#include "core/screen_rate.h"
#include "document/dialog_seam.h"
#include "document/document_window.h"
#include "dialogs/effect_dialog_host.h"
#include "dialogs/effect_window.h"
#include "document/window_keys.h"
#include "effects/gradient_fill.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <cmath>
#include <optional>

namespace quor {

namespace {

// Where the dialog lies on the screen, pixels, frame included.
constexpr QRect ScreenPlace(500, 0, 270, 160);
// The swatches' design colours; the stored components differ until a pick.
constexpr Colour StartSwatch = rgbColour(224, 224, 224), EndSwatch = rgbColour(128, 128, 128);
constexpr ColourOptions ColourDialogOptions =
    ColourOption::StartFromColour | ColourOption::FullyOpen;

struct OptionRow
{
    const char *name, *caption;
    int left, top, width;
};
constexpr OptionRow OptionRows[6] = {
    {"hdancircleOption", "单向圆形", 90, 270, 1035},
    {"hshuangcircleOption", "双向圆形", 90, 600, 1035},
    {"hdaninoutboxOption", "单向内外方形", 90, 930, 1395},
    {"hshuanginoutboxOption", "双向内外方形", 1500, 270, 1455},
    {"hdancornerboxOption", "单向倾角方形", 1500, 600, 1455},
    {"hshuangcornerboxOption", "双向倾角方形", 1500, 930, 1455},
};

// A digits-only text's value; one too long for a double is as good as
// infinite.
double digitsValue(const QString &text)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok ? v : (text.isEmpty() ? 0 : INFINITY);
}

template <typename W>
W *named(W *w, const char *name, const QRect &place)
{
    w->setObjectName(QLatin1String(name));
    w->setGeometry(place);
    return w;
}

} // namespace

GradientFillDialog::GradientFillDialog(EffectDialogHost &host, QWidget *parent)
    : QWidget(parent), m_host(host)
{
    setObjectName(QStringLiteral("FrmQuorJianbian"));
    setAttribute(Qt::WA_DeleteOnClose);
    QFont f = font();
    f.setPixelSize(12);
    setFont(f);
    buildControls();
    placeOnTop(this, ScreenPlace);
    answerWindowKeys(this, [this] { cancel(); });
}

QPushButton *GradientFillDialog::button(int n) const
{
    return n == 1 ? m_run : n == 2 ? m_cancel : m_stop;
}

void GradientFillDialog::buildControls()
{
    m_frame = named(new QGroupBox(this), "Frame1", twipsRect(60, 0, 2985, 1275));
    for (int i = 0; i < 6; ++i) {
        const OptionRow &row = OptionRows[i];
        auto *option = named(new QRadioButton(QString::fromUtf8(row.caption), m_frame), row.name,
                             twipsRect(row.left, row.top, row.width, 225));
        option->setChecked(i == 0);
        connect(option, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                chooseStyle(i + 1);
        });
        m_options[std::size_t(i)] = option;
    }

    const auto label = [this](const char *name, const char *caption, int left) {
        return named(new QLabel(QString::fromUtf8(caption), this), name,
                     twipsRect(left, 1410, 900, 240));
    };
    m_labels = {label("Label1", "起始色", 210), label("Label2", "终止色", 1170),
                label("Label3", "渐变方向", 2070), label("Label4", "框形宽度", 3000)};

    const auto swatch = [this](const char *name, int left, Colour colour) {
        auto *box = new PictureBox(QLatin1String(name), this);
        box->moveTwips(left, 1650, 915, 345);
        box->setBackColor(colour);
        return box;
    };
    m_startSwatch = swatch("hstartPicture", 30, StartSwatch);
    m_endSwatch = swatch("hendPicture", 990, EndSwatch);
    connect(m_startSwatch, &PictureBox::doubleClicked, this, &GradientFillDialog::pickStartColour);
    connect(m_endSwatch, &PictureBox::doubleClicked, this, &GradientFillDialog::pickEndColour);

    m_angle = named(new QLineEdit(QStringLiteral("0"), this), "hcornerText",
                    twipsRect(1950, 1650, 915, 345));
    m_angle->setToolTip(QStringLiteral("颜色渐变方向(角度)"));
    makeNumberBox(m_angle, false);
    connect(m_angle, &QLineEdit::textChanged, this, &GradientFillDialog::angleEdited);
    m_angle->setEnabled(false);
    m_labels[2]->setEnabled(false);
    m_width = named(new QLineEdit(QStringLiteral("0"), this), "hwidthText",
                    twipsRect(2910, 1650, 915, 345));
    m_width->setAccessibleName(QStringLiteral("框形宽度"));
    makeNumberBox(m_width, false);
    connect(m_width, &QLineEdit::textChanged, this, &GradientFillDialog::widthEdited);

    m_run = named(new QPushButton(QStringLiteral("运 行"), this), "Command1",
                  twipsRect(3090, 120, 765, 375));
    connect(m_run, &QPushButton::clicked, this, &GradientFillDialog::run);
    m_cancel = named(new QPushButton(QStringLiteral("取 消"), this), "Command2",
                     twipsRect(3090, 540, 765, 375));
    connect(m_cancel, &QPushButton::clicked, this, &GradientFillDialog::cancel);
    m_stop = named(new QPushButton(QStringLiteral("中 断"), this), "Command3",
                   twipsRect(3090, 960, 765, 345));
    connect(m_stop, &QPushButton::clicked, this, &GradientFillDialog::interrupt);
}

void GradientFillDialog::chooseStyle(int style)
{
    m_style = style;
    const bool angled = style >= 5;
    m_labels[3]->setEnabled(!angled);
    m_width->setEnabled(!angled);
    m_labels[2]->setEnabled(angled);
    m_angle->setEnabled(angled);
}

void GradientFillDialog::widthEdited()
{
    if (m_width->text().isEmpty())
        m_width->setText(QStringLiteral("0"));
}

void GradientFillDialog::angleEdited()
{
    const QString text = m_angle->text();
    if (text.isEmpty()) {
        m_angle->setText(QStringLiteral("0"));
        return;
    }
    const double v = digitsValue(text);
    if (!(v >= 0 && v < 180))
        m_angle->setText(QStringLiteral("0"));
}

void GradientFillDialog::chooseColour(bool start)
{
    // Out of the top layer, so the colour dialog can lie above.
    setStaysOnTop(this, false);
    PictureBox *swatch = start ? m_startSwatch : m_endSwatch;
    // Over the main window, where every common dialog stands.
    if (const std::optional<QColor> chosen =
            askColour(parentWidget(), start ? QStringLiteral("起始色") : QStringLiteral("终止色"),
                      ColourDialogOptions)) {
        swatch->setBackColor(fromQColor(*chosen));
        // The components are what the swatch shows.
        const Colour c = swatch->surface().point(1, 1);
        (start ? m_start : m_end) = {redOf(c), greenOf(c), blueOf(c)};
    }
    setStaysOnTop(this, true);
}

void GradientFillDialog::interrupt() { m_interrupt = true; }

void GradientFillDialog::cancel()
{
    if (m_running)
        return;
    if (DocumentWindow *doc = m_host.activeDocument()) {
        doc->document().selection().setCurrentX(0);
        doc->document().selection().setCurrentY(0);
    }
    close();
}

void GradientFillDialog::closeEvent(QCloseEvent *e)
{
    if (m_running) {
        m_interrupt = true;
        m_closeAfterRun = true;
        e->ignore();
        return;
    }
    QWidget::closeEvent(e);
}

void GradientFillDialog::holdControls(bool hold)
{
    if (hold) {
        for (QWidget *w : findChildren<QWidget *>())
            if (w != m_stop && w->isEnabled() && !w->isAncestorOf(m_stop)) {
                w->setEnabled(false);
                m_held.append(w);
            }
    } else {
        for (QWidget *w : std::as_const(m_held))
            w->setEnabled(true);
        m_held.clear();
    }
}

void GradientFillDialog::run()
{
    if (m_running)
        return;
    QPointer<DocumentWindow> doc = m_host.activeDocument();
    if (!doc || !doc->document().hasFloatingSelection())
        return;
    m_interrupt = false;
    Document &d = doc->document();
    CanvasSurface &selection = d.selection();

    effects::GradientFill fill;
    fill.style = effects::GradientStyle(m_style);
    fill.width = selection.scaleWidth();
    fill.height = selection.scaleHeight();
    fill.frameWidth = digitsValue(m_width->text());
    const double angle = digitsValue(m_angle->text());
    fill.angle = angle < 180 ? int(angle) : 0;
    fill.start = startColour();
    fill.end = endColour();
    const effects::GradientOutlines outlines(fill);
    if (outlines.size() == 0)
        return; // an empty selection: nothing to fill

    // The outlines are never filled, and the tools' next figures are not
    // either; the pen takes the canvas's line style and the palette's width.
    DrawingSettings &settings = m_host.settings();
    d.setFillStyle(FillStyle::Transparent);
    selection.setFillStyle(FillStyle::Transparent);
    settings.fillStyle = FillStyle::Transparent;
    selection.setLineStyle(d.canvas().lineStyle());
    selection.setDrawWidth(effects::gradientPenWidth(fill.style, settings.lineWidth));

    // Draw at screen rate: after ~15 ms of outlines the program repaints
    // and takes its events, among them "中 断" and requests to close.
    QPointer<GradientFillDialog> self(this);
    // The run, interrupted or not, is one step of the history.
    std::optional<Document::Run> step(std::in_place, d);
    d.markSelectionEdit();
    m_running = true;
    holdControls(true);
    m_host.runGoing(this, true, [self] {
        if (self)
            self->interrupt();
    });
    ScreenRate rate;
    GradientPace pace;
    pace.due = [&rate] { return rate.due(); };
    pace.show = [&] {
        QCoreApplication::processEvents();
        // The dialog or the document may have gone with the program.
        return self && doc && !m_interrupt;
    };
    const std::size_t drawn = effects::drawOutlines(selection, outlines, 0, pace);
    step.reset(); // closed here, before what follows is shown
    if (!self)
        return;
    m_running = false;
    holdControls(false);
    m_host.runGoing(this, false, {});

    if (doc) {
        if (drawn < outlines.size()) {
            m_interrupt = false; // ends here, fill style and pen width as they are
        } else {
            selection.setFillStyle(FillStyle::Solid);
            selection.setDrawWidth(1);
        }
    }
    if (m_closeAfterRun) {
        m_closeAfterRun = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

} // namespace quor
