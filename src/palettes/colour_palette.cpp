#include "palettes/colour_palette.h"

#include "app/module_quor_main.h"
#include "document/picture_box.h"

#include <QLineEdit>

namespace quor {

namespace {

// A line edit placed in twips.
QLineEdit *readout(QWidget *parent, const char *name, const char *tip, double left, double top)
{
    auto *t = new QLineEdit(parent);
    t->setObjectName(QLatin1String(name));
    t->setToolTip(QString::fromUtf8(tip));
    t->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(2325),
                   twipsToPixels(465));
    return t;
}

} // namespace

frmquorcolortool::frmquorcolortool(ModuleQuorMain &state, QWidget *parent)
    : QWidget(parent), m_state(state)
{
    setObjectName(QStringLiteral("frmquorcolortool"));
    setFixedHeight(twipsToPixels(990));
    // Designed 12015 twips wide; stretched (or clipped) to the main window.
    setMinimumWidth(0);

    auto *frame = new QWidget(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(0, twipsToPixels(150), twipsToPixels(7125), twipsToPixels(495));

    m_back = new PictureBox(QStringLiteral("Picture1backcolor"), frame);
    m_back->Move(0, 30, 555, 465);
    m_back->setBackColor(0xffffff);
    m_back->setToolTip(QStringLiteral("背景色"));
    m_drawing = new PictureBox(QStringLiteral("PictureForeAndFillColor"), m_back);
    m_drawing->Move(30, 60, 345, 315);
    m_drawing->setBackColor(fromQColor(palette().color(QPalette::Base)));
    m_drawing->setToolTip(QStringLiteral("绘图色、填充色"));
    m_fore = new PictureBox(QStringLiteral("Picture1Forecolor"), m_back);
    m_fore->Move(360, 330, 105, 105);
    m_fore->setBackColor(0);
    m_fore->setToolTip(QStringLiteral("前景色"));

    m_text1 = readout(this, "Text1", "像点坐标(X Y)", 7170, 180);
    m_text2 = readout(this, "Text2", "相片尺寸(宽 高)", 9510, 180);
}

void frmquorcolortool::placeReadouts()
{
    const double w = pixelsToTwips(width());
    const double t2 = w - pixelsToTwips(m_text2->width()) - 200;
    const double t1 = w - pixelsToTwips(m_text1->width()) - pixelsToTwips(m_text2->width()) - 400;
    m_text2->move(twipsToPixels(t2), m_text2->y());
    m_text1->move(twipsToPixels(t1), m_text1->y());
}

void frmquorcolortool::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    placeReadouts();
}

} // namespace quor
