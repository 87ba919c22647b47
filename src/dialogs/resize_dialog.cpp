#include "dialogs/resize_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace quor {

namespace {

// Pixel entries go as far as a side may; the program refuses what it cannot
// hold when the size is applied, with a message.
constexpr int MaxEntry = 1000000;

int roundedAtLeastOne(double v) { return std::max(1, int(std::lround(std::min(v, 1e9)))); }

} // namespace

ResizeDialog::ResizeDialog(QSize present, QWidget *parent)
    : QDialog(parent), m_present(present.expandedTo(QSize(1, 1)))
{
    setObjectName(QStringLiteral("frmResize"));
    setWindowTitle(QStringLiteral("调整大小"));

    m_width = new QSpinBox(this);
    m_width->setObjectName(QStringLiteral("txtWidth"));
    m_height = new QSpinBox(this);
    m_height->setObjectName(QStringLiteral("txtHeight"));
    for (QSpinBox *box : {m_width, m_height})
        box->setRange(1, MaxEntry);
    m_width->setAccessibleName(QStringLiteral("宽度"));
    m_height->setAccessibleName(QStringLiteral("高度"));
    m_width->setValue(m_present.width());
    m_height->setValue(m_present.height());
    m_unit = new QComboBox(this);
    m_unit->setObjectName(QStringLiteral("cboUnit"));
    m_unit->addItems({QStringLiteral("像素"), QStringLiteral("百分比")});
    m_unit->setAccessibleName(QStringLiteral("单位"));
    m_keepAspect = new QCheckBox(QStringLiteral("保持纵横比"), this);
    m_keepAspect->setObjectName(QStringLiteral("chkKeepAspect"));
    m_keepAspect->setChecked(true);
    m_smooth = new QRadioButton(QStringLiteral("平滑"), this);
    m_smooth->setObjectName(QStringLiteral("optSmooth"));
    m_smooth->setChecked(true);
    m_sharp = new QRadioButton(QStringLiteral("锐利像素"), this);
    m_sharp->setObjectName(QStringLiteral("optSharp"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("单位:"), m_unit);
    form->addRow(QStringLiteral("宽度:"), m_width);
    form->addRow(QStringLiteral("高度:"), m_height);
    auto *quality = new QHBoxLayout;
    quality->addWidget(m_smooth);
    quality->addWidget(m_sharp);
    quality->addStretch();
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_keepAspect);
    layout->addLayout(quality);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_unit, &QComboBox::currentIndexChanged, this, &ResizeDialog::unitChanged);
    connect(m_width, &QSpinBox::valueChanged, this, &ResizeDialog::widthChanged);
    connect(m_height, &QSpinBox::valueChanged, this, &ResizeDialog::heightChanged);
    connect(m_keepAspect, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            widthChanged();
    });
}

bool ResizeDialog::inPercent() const { return m_unit->currentIndex() == 1; }

QSize ResizeDialog::chosenSize() const
{
    if (!inPercent())
        return {m_width->value(), m_height->value()};
    return {roundedAtLeastOne(m_present.width() * m_width->value() / 100.0),
            roundedAtLeastOne(m_present.height() * m_height->value() / 100.0)};
}

bool ResizeDialog::smooth() const { return m_smooth->isChecked(); }

void ResizeDialog::unitChanged()
{
    // The same size in the other unit.
    const QSize pixels = inPercent()
        ? QSize(m_width->value(), m_height->value())
        : QSize(roundedAtLeastOne(m_present.width() * m_width->value() / 100.0),
                roundedAtLeastOne(m_present.height() * m_height->value() / 100.0));
    m_syncing = true;
    if (inPercent()) {
        m_width->setValue(roundedAtLeastOne(100.0 * pixels.width() / m_present.width()));
        m_height->setValue(roundedAtLeastOne(100.0 * pixels.height() / m_present.height()));
    } else {
        m_width->setValue(pixels.width());
        m_height->setValue(pixels.height());
    }
    m_syncing = false;
}

void ResizeDialog::widthChanged()
{
    if (m_syncing || !m_keepAspect->isChecked())
        return;
    m_syncing = true;
    m_height->setValue(inPercent() ? m_width->value()
                                   : roundedAtLeastOne(double(m_width->value()) * m_present.height()
                                                       / m_present.width()));
    m_syncing = false;
}

void ResizeDialog::heightChanged()
{
    if (m_syncing || !m_keepAspect->isChecked())
        return;
    m_syncing = true;
    m_width->setValue(inPercent() ? m_height->value()
                                  : roundedAtLeastOne(double(m_height->value()) * m_present.width()
                                                      / m_present.height()));
    m_syncing = false;
}

} // namespace quor
