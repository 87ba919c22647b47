#include "app/whole_picture_layout.h"

#include <algorithm>

namespace quor {

QPoint wholePicturePlace(QSize inner, QSize picture)
{
    const int left = inner.width() >= picture.width() ? (inner.width() - picture.width()) / 2 : 0;
    const int top = inner.height() >= picture.height() ? (inner.height() - picture.height()) / 2 : 0;
    return {left, top};
}

WholePictureOpening wholePictureOpening(QSize picture, const QRect &available, const QRect &mainFrame,
                            const QMargins &frame)
{
    const int frameW = frame.left() + frame.right(), frameH = frame.top() + frame.bottom();
    const QSize room(std::max(1, available.width() - frameW),
                     std::max(1, available.height() - frameH));
    QSize shown = picture.expandedTo({1, 1});
    if (shown.width() > room.width() || shown.height() > room.height())
        shown = shown.scaled(room, Qt::KeepAspectRatio).expandedTo({1, 1});

    QRect outer(QPoint(), shown + QSize(frameW, frameH));
    outer.moveCenter(mainFrame.center());
    // Fully on the screen, even when the main window is partly off it.
    outer.moveLeft(std::clamp(outer.left(), available.left(),
                              std::max(available.left(), available.right() + 1 - outer.width())));
    outer.moveTop(std::clamp(outer.top(), available.top(),
                             std::max(available.top(), available.bottom() + 1 - outer.height())));
    return {shown, outer.marginsRemoved(frame)};
}

QString wholePictureTitle(QSize picture, QSize shown)
{
    const QString title = QStringLiteral("查看全图");
    if (shown.width() >= picture.width() && shown.height() >= picture.height())
        return title;
    // Whole percents, down, so a picture shown at 99.6 % does not claim 100.
    const double ratio = std::min(double(shown.width()) / std::max(1, picture.width()),
                                  double(shown.height()) / std::max(1, picture.height()));
    const int percent = std::max(1, int(ratio * 100));
    return title + QStringLiteral("（缩小显示 %1%）").arg(percent);
}

} // namespace quor
