#include "formats/picture_file_form.h"

#include <QBuffer>
#include <QImageReader>

#include <array>
#include <utility>

namespace quor {

namespace {

constexpr std::array<std::pair<PictureKind, const char *>, 11> KindNames = {{
    {PictureKind::Bmp, "bmp"},   {PictureKind::Dib, "dib"},   {PictureKind::Gif, "gif"},
    {PictureKind::Jpeg, "jpeg"}, {PictureKind::Png, "png"},   {PictureKind::Ico, "ico"},
    {PictureKind::Wmf, "wmf"},   {PictureKind::Emf, "emf"},   {PictureKind::WebP, "webp"},
    {PictureKind::Tiff, "tiff"}, {PictureKind::Pnm, "pnm"},
}};

// The largest sample value of a PNM header (1 for the bitmaps), or 0 when
// the header can not be read.
long pnmMaxValue(ByteSpan d, char type)
{
    if (type == '1' || type == '4')
        return 1;
    std::size_t at = 2;
    long numbers[3] = {};
    for (long &n : numbers) {
        // White space and comments up to the next number.
        while (d.has(at, 1)) {
            const char c = char(d.u8(at));
            if (c == '#') {
                while (d.has(at, 1) && d.u8(at) != '\n' && d.u8(at) != '\r')
                    ++at;
            } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                ++at;
            } else {
                break;
            }
        }
        if (!d.has(at, 1) || d.u8(at) < '0' || d.u8(at) > '9')
            return 0;
        while (d.has(at, 1) && d.u8(at) >= '0' && d.u8(at) <= '9' && n < 1'000'000)
            n = n * 10 + (d.u8(at++) - '0');
    }
    return numbers[2];
}

} // namespace

PictureFileForm describePictureFile(ByteSpan data)
{
    PictureFileForm form;
    form.kind = sniffPicture(data);
    switch (form.kind) {
    case PictureKind::Pnm: {
        const char type = char(data.u8(1));
        if (type == '1' || type == '4')
            form.colour = ColourKind::BlackAndWhite;
        else if (type == '2' || type == '5')
            form.colour = ColourKind::Grey;
        form.deep = pnmMaxValue(data, type) > 255;
        break;
    }
    case PictureKind::Png:
    case PictureKind::WebP:
    case PictureKind::Tiff: {
        // Headers only: neither call decodes a picture.
        const QByteArray bytes =
            QByteArray::fromRawData(reinterpret_cast<const char *>(data.data()), qsizetype(data.size()));
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, form.kind == PictureKind::Png    ? "png"
                                     : form.kind == PictureKind::WebP ? "webp"
                                                                      : "tiff");
        switch (reader.imageFormat()) {
        case QImage::Format_RGBX64:
        case QImage::Format_RGBA64:
        case QImage::Format_RGBA64_Premultiplied:
        case QImage::Format_Grayscale16:
        case QImage::Format_RGBX16FPx4:
        case QImage::Format_RGBA16FPx4:
        case QImage::Format_RGBA16FPx4_Premultiplied:
        case QImage::Format_RGBX32FPx4:
        case QImage::Format_RGBA32FPx4:
        case QImage::Format_RGBA32FPx4_Premultiplied:
            form.deep = true;
            break;
        default:
            break;
        }
        if (form.kind != PictureKind::Png) {
            // A reader of its own: asking the format first leaves the TIFF
            // reader unable to count its pages.
            QBuffer again;
            again.setData(bytes);
            again.open(QIODevice::ReadOnly);
            QImageReader counter(&again, form.kind == PictureKind::WebP ? "webp" : "tiff");
            form.frames = std::max(1, counter.imageCount());
        }
        break;
    }
    default:
        break;
    }
    return form;
}

PictureFileForm savedForm(PictureKind kind)
{
    PictureFileForm form;
    form.kind = kind;
    return form;
}

QStringList whatSaveDrops(const PictureFileForm &form)
{
    QStringList lost;
    if (form.frames > 1 && form.kind == PictureKind::WebP)
        lost << QStringLiteral("原文件是 %1 帧的动画，保存后只留下第一帧。").arg(form.frames);
    else if (form.frames > 1)
        lost << QStringLiteral("原文件有 %1 页，保存后只留下第一页。").arg(form.frames);
    if (form.deep)
        lost << QStringLiteral("原文件每个颜色分量有 16 位，保存后只有 8 位。");
    if (form.alpha)
        lost << QStringLiteral("原文件有透明的部分，保存后成为白色。");
    if (form.kind == PictureKind::Pnm && form.colour == ColourKind::BlackAndWhite)
        lost << QStringLiteral("原文件是黑白图片（PBM），保存后成为彩色图片（PPM）。");
    else if (form.kind == PictureKind::Pnm && form.colour == ColourKind::Grey)
        lost << QStringLiteral("原文件是灰度图片（PGM），保存后成为彩色图片（PPM）。");
    return lost;
}

QByteArray pictureKindName(PictureKind kind)
{
    for (const auto &[k, name] : KindNames)
        if (k == kind)
            return name;
    return {};
}

PictureKind pictureKindNamed(const QByteArray &name)
{
    for (const auto &[k, n] : KindNames)
        if (name == n)
            return k;
    return PictureKind::Unknown;
}

} // namespace quor
