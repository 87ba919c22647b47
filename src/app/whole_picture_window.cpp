#include "app/whole_picture_window.h"

#include "app/whole_picture_layout.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

namespace quor {

WholePictureWindow::WholePictureWindow(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmQuorSeeAll"));
    setWindowTitle(wholePictureTitle({}, {}));
    setModal(true);
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("Picture1"));
    m_picture->setFocusPolicy(Qt::NoFocus);
}

void WholePictureWindow::showPicture(const QImage &picture, const QWidget *over)
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
    const WholePictureOpening open = wholePictureOpening(picture.size(), available, mainFrame, frame);
    m_scaled = open.shown != picture.size();
    const QImage shown = m_scaled ? picture.scaled(open.shown, Qt::IgnoreAspectRatio,
                                                   Qt::SmoothTransformation)
                                  : picture;
    m_picture->setPixmap(QPixmap::fromImage(shown));
    m_picture->resize(open.shown);
    setWindowTitle(wholePictureTitle(picture.size(), open.shown));
    setGeometry(open.inner);
    layOut();
}

void WholePictureWindow::resizeEvent(QResizeEvent *e)
{
    QDialog::resizeEvent(e);
    layOut();
}

void WholePictureWindow::layOut()
{
    m_picture->move(wholePicturePlace(size(), m_picture->size()));
}

} // namespace quor
