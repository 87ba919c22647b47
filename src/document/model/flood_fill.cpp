#include "document/model/flood_fill.h"

#include <algorithm>
#include <vector>

namespace quor::raster {

namespace {

// A run of a row still to be looked at: its pixels may start new spans.
struct Run
{
    int left, right, y;
};

} // namespace

QRect floodFill(QImage &image, QPoint seed, QRgb colour)
{
    if (image.format() != QImage::Format_RGB32 || !image.rect().contains(seed))
        return {};
    const int w = image.width(), h = image.height();
    const qsizetype stride = image.bytesPerLine() / qsizetype(sizeof(QRgb));
    QRgb *const bits = reinterpret_cast<QRgb *>(image.bits());
    const QRgb target = bits[seed.y() * stride + seed.x()];
    colour |= 0xff000000u;
    if (target == colour)
        return {};

    int minX = seed.x(), maxX = seed.x(), minY = seed.y(), maxY = seed.y();
    // A span is filled as soon as it is found, so no pixel is found twice;
    // each filled span leaves the runs above and below it to look at.
    std::vector<Run> todo;
    auto fillSpan = [&](int x, int y) {
        QRgb *row = bits + y * stride;
        int left = x, right = x;
        while (left > 0 && row[left - 1] == target)
            --left;
        while (right < w - 1 && row[right + 1] == target)
            ++right;
        std::fill(row + left, row + right + 1, colour);
        minX = std::min(minX, left);
        maxX = std::max(maxX, right);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
        if (y > 0)
            todo.push_back({left, right, y - 1});
        if (y < h - 1)
            todo.push_back({left, right, y + 1});
    };
    fillSpan(seed.x(), seed.y());
    while (!todo.empty()) {
        const Run run = todo.back();
        todo.pop_back();
        const QRgb *row = bits + run.y * stride;
        for (int x = run.left; x <= run.right; ++x) {
            if (row[x] != target)
                continue;
            fillSpan(x, run.y);
            // The span just filled reaches at least to x; go on after it.
            while (x <= run.right && row[x] == colour)
                ++x;
        }
    }
    return QRect(QPoint(minX, minY), QPoint(maxX, maxY));
}

} // namespace quor::raster
