#include "dialogs/custom_filter_dialog.h"

#include "document/document_window.h"
#include "document/window_keys.h"
#include "effects/custom_kernel.h"
#include "dialogs/effect_dialog_host.h"
#include "dialogs/effect_window.h"

#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <optional>

namespace quor {

namespace {

// Design places, twips.
constexpr int BoxLeft[5] = {120, 510, 900, 1290, 1680};
constexpr int BoxTop[5] = {90, 420, 750, 1080, 1410};
constexpr int BoxWidth = 375, BoxHeight = 315;
constexpr QRect WholeBars[4] = {{90, 60, 1980, 15}, {90, 1740, 1980, 15}, {90, 60, 15, 1695},
                                {2070, 60, 15, 1695}};
constexpr QRect InnerBars[4] = {{480, 390, 1190, 30}, {480, 1400, 1190, 30},
                                {480, 390, 30, 1030}, {1660, 390, 30, 1030}};
// Where the dialog lies on the screen, pixels, frame included.
constexpr QRect ScreenPlace(560, 0, 230, 185);

QRect twips(const QRect &r) { return twipsRect(r.x(), r.y(), r.width(), r.height()); }

// The sixteen boxes around the inner nine (indices 0..24).
bool isOuter(int index)
{
    const int row = index / 5, column = index % 5;
    return row == 0 || row == 4 || column == 0 || column == 4;
}

// A text of digits after at most one leading minus: its value (huge ones
// included). Anything else is no number.
std::optional<double> integerValue(const QString &text)
{
    const qsizetype first = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (first == text.size())
        return std::nullopt;
    for (qsizetype i = first; i < text.size(); ++i)
        if (text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9'))
            return std::nullopt;
    return text.toDouble();
}

template <typename W>
W *named(W *w, const char *name, const QRect &place)
{
    w->setObjectName(QLatin1String(name));
    w->setGeometry(place);
    return w;
}

} // namespace

effects::Kernel CustomFilterValues::kernel(int radius) const
{
    effects::Kernel k;
    k.radius = radius;
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            k.weight(dx, dy) = effects::weightFromText(weights[std::size_t((dy + 2) * 5 + dx + 2)]);
    k.divisor = effects::divisorFromText(divisor);
    k.addend = effects::addendFromText(addend);
    return k;
}

CustomFilterDialog::CustomFilterDialog(CustomFilterValues &values, EffectDialogHost &host,
                                         QWidget *parent)
    : QWidget(parent), m_values(values), m_host(host)
{
    setObjectName(QStringLiteral("FrmQuorCustomFilter"));
    setAttribute(Qt::WA_DeleteOnClose);
    QFont f = font();
    f.setPixelSize(12);
    setFont(f);
    buildControls();

    // The boxes show what the last use left.
    for (int i = 0; i < 25; ++i)
        m_weights[std::size_t(i)]->setText(m_values.weights[std::size_t(i)]);
    m_divide->setText(m_values.divisor);
    m_bias->setText(m_values.addend);

    m_filterSize = 2;
    placeOnTop(this, ScreenPlace);
    answerWindowKeys(this, [this] { cancel(); });
    m_weights[0]->setFocus();
}

QWidget *CustomFilterDialog::button(int n) const
{
    switch (n) {
    case 1:
        return m_run;
    case 2:
        return m_cancel;
    case 3:
        return m_up;
    default:
        return m_down;
    }
}

void CustomFilterDialog::buildControls()
{
    for (int i = 0; i < 25; ++i) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("Text%1").arg(i + 1));
        box->setGeometry(twipsRect(BoxLeft[i % 5], BoxTop[i / 5], BoxWidth, BoxHeight));
        makeNumberBox(box, true, [this, box] { enterIn(box); });
        box->setAccessibleName(QStringLiteral("权重（第%1行，第%2列）").arg(i / 5 + 1).arg(i % 5 + 1));
        connect(box, &QLineEdit::textChanged, this, [this, i] { weightChanged(i); });
        m_weights[std::size_t(i)] = box;
    }
    for (int i = 0; i < 4; ++i) {
        auto *bar = new QFrame(this);
        bar->setObjectName(QStringLiteral("Picture%1").arg(i + 1));
        bar->setAutoFillBackground(true);
        bar->setBackgroundRole(QPalette::Dark);
        m_bars[std::size_t(i)] = bar;
    }
    placeBars(false);

    m_divideLabel = named(new QLabel(QStringLiteral("除数："), this), "Label1",
                          twipsRect(120, 1800, 765, 240));
    m_divide = named(new QLineEdit(this), "hdivideText", twipsRect(120, 2040, 765, 300));
    makeNumberBox(m_divide, false, [this] { enterIn(m_divide); });
    m_divide->setAccessibleName(QStringLiteral("除数"));
    connect(m_divide, &QLineEdit::textChanged, this, &CustomFilterDialog::divideChanged);
    m_biasLabel = named(new QLabel(QStringLiteral("加数："), this), "Label2",
                        twipsRect(1290, 1800, 735, 240));
    m_bias = named(new QLineEdit(this), "hbiasText", twipsRect(1290, 2040, 735, 315));
    makeNumberBox(m_bias, true, [this] { enterIn(m_bias); });
    m_bias->setAccessibleName(QStringLiteral("加数"));
    connect(m_bias, &QLineEdit::textChanged, this, &CustomFilterDialog::biasChanged);

    m_up = named(new QToolButton(this), "Command3", twipsRect(960, 1920, 285, 225));
    m_up->setArrowType(Qt::UpArrow);
    m_up->setAccessibleName(QStringLiteral("加一"));
    m_up->setAccessibleDescription(QStringLiteral("当前方框的数加一"));
    connect(m_up, &QToolButton::clicked, this, &CustomFilterDialog::stepUp);
    m_down = named(new QToolButton(this), "Command4", twipsRect(960, 2160, 285, 225));
    m_down->setArrowType(Qt::DownArrow);
    m_down->setAccessibleName(QStringLiteral("减一"));
    m_down->setAccessibleDescription(QStringLiteral("当前方框的数减一"));
    connect(m_down, &QToolButton::clicked, this, &CustomFilterDialog::stepDown);

    m_frame = named(new QGroupBox(QStringLiteral("滤块尺寸"), this), "Frame1",
                    twipsRect(2190, 60, 1140, 1110));
    m_threeByThree = named(new QRadioButton(QStringLiteral("3*3"), m_frame), "Option1",
                      twipsRect(150, 330, 900, 300));
    m_fiveByFive = named(new QRadioButton(QStringLiteral("5*5"), m_frame), "Option2",
                      twipsRect(150, 690, 900, 300));
    m_fiveByFive->setChecked(true);
    connect(m_threeByThree, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            chooseThreeByThree();
    });
    connect(m_fiveByFive, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            chooseFiveByFive();
    });

    m_run = named(new QPushButton(QStringLiteral("运 行"), this), "Command1",
                  twipsRect(2280, 1380, 960, 375));
    connect(m_run, &QPushButton::clicked, this, &CustomFilterDialog::run);
    m_cancel = named(new QPushButton(QStringLiteral("取 消"), this), "Command2",
                     twipsRect(2280, 1920, 960, 375));
    connect(m_cancel, &QPushButton::clicked, this, &CustomFilterDialog::cancel);

    QList<QWidget *> order(m_weights.begin(), m_weights.end());
    order << m_divide << m_bias << m_up << m_down << m_run << m_cancel << m_threeByThree << m_fiveByFive;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    for (QWidget *w : order)
        w->installEventFilter(this);
}

bool CustomFilterDialog::eventFilter(QObject *o, QEvent *e)
{
    if (e->type() == QEvent::FocusIn) {
        if (auto *box = qobject_cast<QLineEdit *>(o)) {
            boxGotFocus(box);
        } else if (o == m_run || o == m_cancel || o == m_threeByThree || o == m_fiveByFive) {
            m_up->setEnabled(false);
            m_down->setEnabled(false);
        }
    }
    return QWidget::eventFilter(o, e);
}

void CustomFilterDialog::weightChanged(int index)
{
    m_values.weights[std::size_t(index)] = m_weights[std::size_t(index)]->text();
}

// Setting the text again comes back here; the rules reach a fixed point.
void CustomFilterDialog::divideChanged()
{
    const QString text = m_divide->text();
    if (text.isEmpty()) {
        m_divide->setText(QStringLiteral("0"));
        return;
    }
    if (const auto v = integerValue(text); v && *v < 1) {
        m_divide->setText(QStringLiteral("1"));
        return;
    }
    m_values.divisor = text;
}

void CustomFilterDialog::biasChanged()
{
    const QString text = m_bias->text();
    if (text.isEmpty() || text == QLatin1String("-")) {
        m_bias->setText(QStringLiteral("0"));
        return;
    }
    if (const auto v = integerValue(text)) {
        if (*v > 255) {
            m_bias->setText(QStringLiteral("255"));
            return;
        }
        if (*v < -255) {
            m_bias->setText(QStringLiteral("-255"));
            return;
        }
    }
    m_values.addend = text;
}

void CustomFilterDialog::boxGotFocus(QLineEdit *box)
{
    m_current = box;
    m_up->setEnabled(true);
    m_down->setEnabled(true);
}

void CustomFilterDialog::enterIn(QLineEdit *box)
{
    QLineEdit *next = nullptr;
    if (box == m_divide) {
        next = m_bias;
    } else if (box == m_bias) {
        next = m_weights[m_filterSize == 1 ? 6 : 0];
    } else {
        const int n = int(std::find(m_weights.begin(), m_weights.end(), box) - m_weights.begin())
                    + 1;
        if (n == 25 || (m_filterSize == 1 && n == 19))
            next = m_divide;
        else if (m_filterSize == 1 && (n == 9 || n == 14))
            next = m_weights[std::size_t(n + 2)]; // over the row's ends
        else
            next = m_weights[std::size_t(n)];
    }
    // Like Tab: the whole text is selected, so typing replaces it.
    next->setFocus(Qt::TabFocusReason);
}

void CustomFilterDialog::step(int by)
{
    if (!m_current)
        return;
    const QString text = m_current->text();
    double v = 0;
    if (const auto n = integerValue(text); n && std::abs(*n) < 1e15)
        v = *n;
    m_current->setText(QString::number(qint64(v) + by));
}

void CustomFilterDialog::stepUp() { step(1); }
void CustomFilterDialog::stepDown() { step(-1); }

void CustomFilterDialog::placeBars(bool inner)
{
    for (int i = 0; i < 4; ++i)
        m_bars[std::size_t(i)]->setGeometry(twips(inner ? InnerBars[i] : WholeBars[i]));
}

void CustomFilterDialog::chooseThreeByThree()
{
    m_filterSize = 1;
    for (int i = 0; i < 25; ++i)
        if (isOuter(i)) {
            m_weights[std::size_t(i)]->setEnabled(false);
            m_weights[std::size_t(i)]->clear();
        }
    placeBars(true);
    m_weights[6]->setFocus();
}

void CustomFilterDialog::chooseFiveByFive()
{
    m_filterSize = 2;
    for (int i = 0; i < 25; ++i)
        if (isOuter(i))
            m_weights[std::size_t(i)]->setEnabled(true);
    placeBars(false);
    m_weights[0]->setFocus();
}

void CustomFilterDialog::run()
{
    DocumentWindow *doc = m_host.activeDocument();
    if (!doc || !doc->document().hasFloatingSelection())
        return;
    const effects::Kernel kernel = m_values.kernel(m_filterSize);
    const int edge = effects::keptEdge(kernel);
    doc->runOnSelection([&kernel](const QImage &source, QImage &target,
                                  const std::function<void(int)> &rowDone) {
        effects::applyKernel(source, target, kernel, rowDone);
    }, QMargins(edge, edge, edge, edge));
    doc->document().clearScratch();
}

void CustomFilterDialog::cancel() { close(); }

} // namespace quor
