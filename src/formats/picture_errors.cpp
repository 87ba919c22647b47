#include "formats/picture_errors.h"

namespace quor {

QuorError notAPicture()
{
    return QuorError(InvalidPicture, QStringLiteral("此文件不是可识别的图片（支持 BMP、GIF、JPEG、ICO、DIB、WMF、EMF、PNG、WebP、TIFF 和 PNM）。"));
}

QuorError damagedPicture()
{
    return QuorError(InvalidPicture, QStringLiteral("图片文件已损坏或不完整，无法打开。"));
}

QuorError unsupportedPicture()
{
    return QuorError(InvalidPicture, QStringLiteral("不支持此图片的编码方式，无法打开。"));
}

QuorError emptyPictureFile()
{
    return QuorError(InvalidPicture, QStringLiteral("文件是空的，不含图片。"));
}

QuorError pictureTooLarge(qint64 width, qint64 height)
{
    return QuorError(err::OutOfMemory, QStringLiteral("图片太大（%1 x %2 像素），内存放不下，无法打开。")
                                           .arg(width)
                                           .arg(height));
}

bool fitsPictureLimits(double width, double height, const PictureLimits &limits)
{
    return width >= 1 && height >= 1 && width <= limits.maxSide && height <= limits.maxSide
           && width * height <= double(limits.maxPixels);
}

void checkPictureSize(qint64 width, qint64 height, const PictureLimits &limits)
{
    if (width <= 0 || height <= 0)
        throw damagedPicture();
    if (width > limits.maxSide || height > limits.maxSide || width * height > limits.maxPixels)
        throw pictureTooLarge(width, height);
}

} // namespace quor
