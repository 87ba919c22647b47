#include "formats/picture_loader.h"

#include "formats/dib_decoder.h"
#include "formats/metafile.h"
#include "formats/picture_file_form.h"
#include "formats/picture_formats.h"
#include "formats/whole_file.h"

#include <cstring>
#include <new>

namespace quor {

PictureKind sniffPicture(ByteSpan d)
{
    auto starts = [&](const char *magic, std::size_t n) {
        return d.has(0, n) && std::memcmp(d.data(), magic, n) == 0;
    };
    if (starts("BM", 2))
        return PictureKind::Bmp;
    if (starts("GIF87a", 6) || starts("GIF89a", 6))
        return PictureKind::Gif;
    if (starts("\xff\xd8\xff", 3))
        return PictureKind::Jpeg;
    if (starts("\x89PNG\r\n\x1a\n", 8))
        return PictureKind::Png;
    if (starts("RIFF", 4) && d.has(8, 4) && std::memcmp(d.data() + 8, "WEBP", 4) == 0)
        return PictureKind::WebP;
    if (starts("II*\0", 4) || starts("MM\0*", 4) || starts("II+\0", 4) || starts("MM\0+", 4))
        return PictureKind::Tiff; // classic or big
    // P1..P6 and white space: the plain and raw bitmaps, grey maps and pixmaps.
    if (d.has(0, 3) && d.u8(0) == 'P' && d.u8(1) >= '1' && d.u8(1) <= '6'
        && QByteArrayView(" \t\r\n").contains(char(d.u8(2))))
        return PictureKind::Pnm;
    if (d.has(0, 6) && d.u16(0) == 0 && (d.u16(2) == 1 || d.u16(2) == 2) && d.u16(4) > 0)
        return PictureKind::Ico;
    if (looksLikeEmf(d))
        return PictureKind::Emf;
    if (looksLikeWmf(d))
        return PictureKind::Wmf;
    if (looksLikeBareDib(d))
        return PictureKind::Dib;
    return PictureKind::Unknown;
}

namespace {

QuorError noMemoryForPicture()
{
    return QuorError(err::OutOfMemory, QStringLiteral("内存不足，无法打开这张图片。"));
}

// A bitmap file decoded as it is read, so that opening it needs no room for
// the whole file beside the picture.
std::optional<QImage> streamBitmap(const QByteArray &head, OpenedFile &file,
                                   const PictureLimits &limits)
{
    const ByteSpan span(head.constData(), std::size_t(head.size()));
    if (sniffPicture(span) != PictureKind::Bmp)
        return std::nullopt;
    try {
        return decodeBmpStream(span, std::uint64_t(file.reportedSize()),
                               [&file](char *to, qint64 n) { return file.read(to, n); }, limits);
    } catch (const std::bad_alloc &) {
        throw noMemoryForPicture();
    }
}

} // namespace

QImage decodePicture(ByteSpan d, const PictureLimits &limits, PictureNotes *notes)
{
    if (d.empty())
        throw emptyPictureFile();
    bool *const clear = notes ? &notes->clearPixels : nullptr;
    try {
        switch (sniffPicture(d)) {
        case PictureKind::Bmp: return decodeBmpFile(d, limits);
        case PictureKind::Dib: {
            DibOptions opt;
            opt.limits = limits;
            return decodeDib(d, opt);
        }
        case PictureKind::Gif: return decodeGif(d, limits);
        case PictureKind::Jpeg: return decodeJpeg(d, limits);
        case PictureKind::Png: return overWhite(decodePng(d, limits), clear);
        case PictureKind::WebP: return decodeWithQtReader(d, "webp", limits, clear);
        case PictureKind::Tiff: return decodeWithQtReader(d, "tiff", limits, clear);
        case PictureKind::Pnm: return decodeWithQtReader(d, "ppm", limits);
        case PictureKind::Ico: return decodeIco(d, limits);
        case PictureKind::Wmf: return renderWmf(d, limits, notes ? &notes->skippedRecords : nullptr);
        case PictureKind::Emf: return renderEmf(d, limits, notes ? &notes->skippedRecords : nullptr);
        case PictureKind::Unknown: break;
        }
    } catch (const std::bad_alloc &) {
        throw noMemoryForPicture();
    }
    throw notAPicture();
}

QImage loadPictureFile(const QString &fileName, const PictureLimits &limits, PictureNotes *notes,
                       PictureFileForm *form)
{
    OpenedFile file(fileName, limits.maxFileBytes);
    QByteArray head(1 << 20, Qt::Uninitialized);
    head.resize(qsizetype(file.read(head.data(), head.size())));
    if (form)
        *form = savedForm(sniffPicture(ByteSpan(head.constData(), std::size_t(head.size()))));
    if (std::optional<QImage> bitmap = streamBitmap(head, file, limits))
        return *std::move(bitmap);
    const QByteArray bytes = file.readRest(std::move(head));
    const ByteSpan whole(bytes.constData(), std::size_t(bytes.size()));
    PictureNotes own;
    PictureNotes &said = notes ? *notes : own;
    QImage picture = decodePicture(whole, limits, &said);
    if (form) {
        *form = describePictureFile(whole);
        form->alpha = said.clearPixels;
    }
    return picture;
}

} // namespace quor
