#include "files/print_layout.h"

#include <algorithm>

namespace quor {

QRectF printPlacement(QSize picturePx, const QRectF &printable, double dpiX, double dpiY)
{
    // Written so that NaN fails every test too.
    if (picturePx.isEmpty() || !(printable.width() > 0) || !(printable.height() > 0)
        || !(dpiX > 0) || !(dpiY > 0))
        return {};
    const double width = picturePx.width() * dpiX / PicturePixelsPerInch;
    const double height = picturePx.height() * dpiY / PicturePixelsPerInch;
    // Never enlarged; one factor for both sides keeps the aspect.
    const double scale =
        std::min({1.0, printable.width() / width, printable.height() / height});
    return QRectF(printable.topLeft(), QSizeF(width * scale, height * scale));
}

} // namespace quor
