#include "document/model/raster_zoom.h"

#include <algorithm>
#include <cstring>

namespace quor::raster {

QImage zoomEnlarge(const QImage &source, int width, int height)
{
    QImage out(width, height, QImage::Format_RGB32);
    if (out.isNull() || source.isNull())
        return {};
    const int sw = source.width(), sh = source.height();
    const int blocks = std::min(sw, width / 3); // whole 3-pixel blocks in a row
    for (int y = 0; y < height; ++y) {
        auto *dst = reinterpret_cast<QRgb *>(out.scanLine(y));
        if (y % 3 != 0 && y / 3 < sh) {
            // The block's second and third rows repeat its first.
            std::memcpy(dst, out.constScanLine(y - y % 3), size_t(width) * sizeof(QRgb));
            continue;
        }
        const auto *src = reinterpret_cast<const QRgb *>(source.constScanLine(std::min(y / 3, sh - 1)));
        if (y / 3 >= sh) {
            std::memcpy(dst, out.constScanLine(y - 1), size_t(width) * sizeof(QRgb));
            continue;
        }
        int x = 0;
        for (int i = 0; i < blocks; ++i, x += 3)
            dst[x] = dst[x + 1] = dst[x + 2] = src[i];
        for (; x < width; ++x)
            dst[x] = src[std::min(x / 3, sw - 1)];
    }
    return out;
}

QImage zoomShrink(const QImage &source, int width, int height)
{
    QImage out(width, height, QImage::Format_RGB32);
    if (out.isNull() || source.isNull())
        return {};
    const int sw = source.width(), sh = source.height();
    for (int y = 0; y < height; ++y) {
        const auto *src = reinterpret_cast<const QRgb *>(source.constScanLine(std::min(3 * y + 1, sh - 1)));
        auto *dst = reinterpret_cast<QRgb *>(out.scanLine(y));
        const int inside = std::min(width, (sw + 1) / 3); // blocks whose centre is inside
        for (int x = 0; x < inside; ++x)
            dst[x] = src[3 * x + 1];
        for (int x = inside; x < width; ++x)
            dst[x] = src[sw - 1];
    }
    return out;
}

} // namespace quor::raster
