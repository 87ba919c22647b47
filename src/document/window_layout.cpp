#include "document/window_layout.h"

#include <algorithm>

namespace quor {

int cascadeSlot(int k, QSize area, int titleBarHeight)
{
    const int step = std::max(1, titleBarHeight);
    const long long offset = static_cast<long long>(k) * step;
    return k < 0 || offset >= area.width() || offset >= area.height() ? 0 : k;
}

QList<QRect> cascadeLayout(int n, QSize area, int titleBarHeight)
{
    const int w = std::max(1, area.width() * 2 / 3), h = std::max(1, area.height() * 2 / 3);
    // The last window's corner must leave its whole size inside the area.
    const QSize room(area.width() - w + 1, area.height() - h + 1);
    QList<QRect> rects;
    int slot = 0;
    for (int i = 0; i < n; ++i) {
        slot = i == 0 ? 0 : cascadeSlot(slot + 1, room, titleBarHeight);
        const int d = slot * std::max(1, titleBarHeight);
        rects << QRect(d, d, w, h);
    }
    return rects;
}

} // namespace quor
