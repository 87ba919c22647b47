#include "files/file_texts.h"

#include <cstdlib>

namespace quor {

namespace {

int blanksFor(const QString &caption, int base)
{
    return std::abs(int(caption.length()) - base) / 2 + 2;
}

} // namespace

QString openFilter()
{
    return QStringLiteral("BMP (*.BMP)|*.bmp|GIF (*.GIF)|*.gif|JPG (*.JPG;*.JPE;*.JPEG)|*.jpg;*.jpe;*.jpeg|"
                          "ICO (*.ICO)|*.ico|DIB (*.DIB)|*.dib|WMF (*.WMF)|*.wmf|EMF (*.EMF)|*.emf|"
                          "PNG (*.PNG)|*.png|WebP (*.WEBP)|*.webp|TIFF (*.TIF;*.TIFF)|*.tif;*.tiff|"
                          "PNM (*.PNM;*.PBM;*.PGM;*.PPM)|*.pnm;*.pbm;*.pgm;*.ppm|"
                          "所有文件(*.*)|*.*");
}

QString bitmapFilter()
{
    return QStringLiteral("BMP (*.BMP)|*.bmp");
}

bool isUnsavedCaption(const QString &caption)
{
    return caption.left(8) == QLatin1String("New Quor");
}

QString notFoundMessage(const QString &caption)
{
    return paddedMessage(QStringLiteral("找不到指定文件！"), blanksFor(caption, 16));
}

QString readOnlyMessage(const QString &caption)
{
    return paddedMessage(QStringLiteral("文件只读！"), blanksFor(caption, 10));
}

QString saveAllReadOnlyMessage(const QString &caption)
{
    return paddedMessage(QStringLiteral("    文件只读！"), blanksFor(caption, 10));
}

QString otherErrorMessage(const QString &description)
{
    return QLatin1Char('\r') + description;
}

} // namespace quor
