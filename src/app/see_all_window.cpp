#include "app/see_all_window.h"

#include "app/see_all_layout.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

namespace quor {

FrmQuorSeeAll::FrmQuorSeeAll(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmQuorSeeAll"));
    setWindowTitle(seeAllTitle({}, {}));
    setModal(true);
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("Picture1"));
    m_picture->setFocusPolicy(Qt::NoFocus);
}

void FrmQuorSeeAll::showPicture(const QImage &picture, const QWidget *over)
{
    const QWidget *main = over ? over->window() : nullptr;
    const QScreen *screen = main ? main->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 640, 480);
    // This window's frame is not known before it is shown; the main
    // window's is the best guess of what the window manager adds.
    QMargins frame;
    QRect mainFrame = available;
    if (main) {
        mainFrame = main->frameGeometry();
        const QRect inner = main->geometry();
        frame = QMargins(inner.left() - mainFrame.left(), inner.top() - mainFrame.top(),
                         mainFrame.right() - inner.right(), mainFrame.bottom() - inner.bottom());
    }
    const SeeAllOpening open = seeAllOpening(picture.size(), available, mainFrame, frame);
    m_scaled = open.shown != picture.size();
    const QImage shown = m_scaled ? picture.scaled(open.shown, Qt::IgnoreAspectRatio,
                                                   Qt::SmoothTransformation)
                                  : picture;
    m_picture->setPixmap(QPixmap::fromImage(shown));
    m_picture->resize(open.shown);
    setWindowTitle(seeAllTitle(picture.size(), open.shown));
    setGeometry(open.inner);
    Form_Resize();
}

void FrmQuorSeeAll::resizeEvent(QResizeEvent *e)
{
    QDialog::resizeEvent(e);
    Form_Resize();
}

void FrmQuorSeeAll::Form_Resize()
{
    m_picture->move(seeAllPicturePlace(size(), m_picture->size()));
}

} // namespace quor
