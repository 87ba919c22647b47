#include "formats/recovery_file.h"

#include "formats/picture_errors.h"
#include "formats/picture_formats.h"
#include "formats/whole_file.h"

#include <QBuffer>
#include <QImageWriter>
#include <QIODevice>
#include <QUrl>

#include <cmath>
#include <new>

namespace quor {

namespace {

const QByteArray MagicStem = QByteArrayLiteral("QUOR-RECOVERY ");
constexpr int Version = 2;
constexpr int CountDigits = 13;
constexpr qint64 MaxHeaderBytes = 16384; // a long path, percent-encoded
// A 96 x 96 preview takes some 40 KB at worst; anything far beyond that is
// no preview of ours.
constexpr qint64 MaxPreviewBytes = 256 * 1024;
// The logical size never runs far from the pixels (15 twips each).
constexpr double MaxTwips = 32767.0 * 15 * 4;

QByteArray number(double v)
{
    return QByteArray::number(v, 'g', 17);
}

const char *colourName(ColourKind c)
{
    switch (c) {
    case ColourKind::Grey: return "grey";
    case ColourKind::BlackAndWhite: return "mono";
    case ColourKind::Colour: break;
    }
    return "colour";
}

bool writePng(QIODevice &out, const QImage &image)
{
    // Fast compression: the picture is written often and read once.
    QImageWriter writer(&out, "png");
    writer.setQuality(80);
    return writer.write(image);
}

} // namespace

QImage recoveryPreview(const QImage &picture)
{
    constexpr int Side = RecoveryPreviewSide;
    if (picture.isNull())
        return {};
    // A large picture is first thinned out, so the preview takes no time.
    const QImage thinned = picture.width() > 4 * Side || picture.height() > 4 * Side
                               ? picture.scaled(4 * Side, 4 * Side, Qt::KeepAspectRatio)
                               : picture;
    if (thinned.width() <= Side && thinned.height() <= Side)
        return thinned;
    return thinned.scaled(Side, Side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

bool writeRecoveryRecord(QIODevice &out, const RecoveryRecord &r)
{
    const PictureFileForm &f = r.form;
    const QByteArray kind = pictureKindName(f.kind);
    const QByteArray head = MagicStem + QByteArray::number(Version) + "\ncaption "
                            + QUrl::toPercentEncoding(r.caption, "/") + "\ntime "
                            + r.time.toUTC().toString(Qt::ISODateWithMs).toLatin1() + "\npixels "
                            + QByteArray::number(r.picture.width()) + ' '
                            + QByteArray::number(r.picture.height()) + "\ntwips "
                            + number(r.twipsWidth) + ' ' + number(r.twipsHeight) + "\nfile "
                            + (kind.isEmpty() ? QByteArray("-") : kind) + ' '
                            + QByteArray::number(f.frames) + ' ' + (f.deep ? "16 " : "8 ")
                            + colourName(f.colour) + (f.alpha ? " alpha" : "") + "\npreview ";
    const QByteArray zeros(CountDigits, '0');
    if (out.write(head) != head.size())
        return false;
    const qint64 previewCountAt = out.pos();
    if (out.write(zeros + "\npng ") != CountDigits + 5)
        return false;
    const qint64 pngCountAt = out.pos();
    if (out.write(zeros + "\n\n") != CountDigits + 2)
        return false;
    const qint64 previewStart = out.pos();
    if (!writePng(out, r.preview.isNull() ? recoveryPreview(r.picture) : r.preview))
        return false;
    const qint64 pictureStart = out.pos();
    if (!writePng(out, r.picture))
        return false;
    const qint64 end = out.pos();
    const auto fill = [&](qint64 at, qint64 count) {
        const QByteArray digits = QByteArray::number(count).rightJustified(CountDigits, '0');
        return digits.size() == CountDigits && out.seek(at) && out.write(digits) == CountDigits;
    };
    return fill(previewCountAt, pictureStart - previewStart) && fill(pngCountAt, end - pictureStart)
           && out.seek(end);
}

RecoveryRead readRecoveryRecord(QIODevice &in, qint64 size, RecoveryPart part)
{
    RecoveryRead result;
    RecoveryRecord &r = result.record;
    const auto fail = [&](const char *why) {
        result.record = {};
        result.problem = QString::fromUtf8(why);
        return result;
    };
    const auto line = [&](const char *key) -> QList<QByteArray> {
        if (in.pos() >= MaxHeaderBytes)
            return {};
        QByteArray l = in.readLine(MaxHeaderBytes);
        if (!l.endsWith('\n'))
            return {};
        l.chop(1);
        QList<QByteArray> words = l.split(' ');
        if (words.value(0) != key)
            return {};
        words.removeFirst();
        return words;
    };
    const auto twoNumbers = [](const QList<QByteArray> &w, auto convert, auto &a, auto &b) {
        bool okA = false, okB = false;
        if (w.size() != 2)
            return false;
        a = convert(w[0], &okA);
        b = convert(w[1], &okB);
        return okA && okB;
    };
    const auto count = [](const QList<QByteArray> &w) {
        bool ok = false;
        const qint64 n = w.size() == 1 && w[0].size() == CountDigits ? w[0].toLongLong(&ok) : -1;
        return ok ? n : -1;
    };

    const QByteArray first = in.readLine(MagicStem.size() + 3);
    int version = 0;
    if (first == MagicStem + "1\n")
        version = 1;
    else if (first == MagicStem + "2\n")
        version = 2;
    else if (first.startsWith(MagicStem))
        return fail("恢复文件的版本不认识");
    else
        return fail("不是 Quor 的恢复文件");

    const QList<QByteArray> caption = line("caption");
    const QList<QByteArray> time = line("time");
    int w = 0, h = 0;
    double tw = 0, th = 0;
    const auto toInt = [](const QByteArray &b, bool *ok) { return b.toInt(ok); };
    const auto toDouble = [](const QByteArray &b, bool *ok) { return b.toDouble(ok); };
    const bool sizes = twoNumbers(line("pixels"), toInt, w, h) && twoNumbers(line("twips"), toDouble, tw, th);
    bool formOk = true;
    qint64 previewCount = 0;
    if (version >= 2) {
        const QList<QByteArray> file = line("file");
        bool framesOk = false;
        const int frames = file.value(1).toInt(&framesOk);
        const QByteArray bits = file.value(2), colour = file.value(3);
        r.form.kind = pictureKindNamed(file.value(0));
        r.form.frames = frames;
        r.form.deep = bits == "16";
        r.form.colour = colour == "grey" ? ColourKind::Grey
                        : colour == "mono" ? ColourKind::BlackAndWhite
                                           : ColourKind::Colour;
        r.form.alpha = file.value(4) == "alpha";
        // A fifth word says the file had a transparency channel.
        formOk = (file.size() == 4 || (file.size() == 5 && r.form.alpha)) && (r.form.kind != PictureKind::Unknown || file[0] == "-")
                 && framesOk && frames >= 1 && (bits == "8" || bits == "16")
                 && (colour == "colour" || colour == "grey" || colour == "mono");
        previewCount = count(line("preview"));
    }
    const qint64 pngCount = count(line("png"));
    if (caption.size() != 1 || time.size() != 1 || !sizes || !formOk || previewCount < 0
        || previewCount > MaxPreviewBytes || pngCount < 0 || in.readLine(2) != "\n")
        return fail("恢复文件的文件头已损坏");
    r.caption = QUrl::fromPercentEncoding(caption[0]);
    r.time = QDateTime::fromString(QString::fromLatin1(time[0]), Qt::ISODateWithMs);
    if (r.caption.isEmpty() || !r.time.isValid() || !std::isfinite(tw) || !std::isfinite(th)
        || tw <= 0 || th <= 0 || tw > MaxTwips || th > MaxTwips)
        return fail("恢复文件的文件头已损坏");
    r.twipsWidth = tw;
    r.twipsHeight = th;
    r.pixels = QSize(w, h);

    try {
        checkPictureSize(w, h, PictureLimits{});
    } catch (const QuorError &) {
        return fail(w > 0 && h > 0 ? "图片太大" : "恢复文件的文件头已损坏");
    }
    const qint64 rest = size - in.pos();
    if (previewCount + pngCount > rest)
        return fail("文件不完整");
    if (previewCount + pngCount < rest)
        return fail("文件末尾有多余的数据");

    // Both pictures go through the checked decoder Open uses: every chunk
    // whole before a byte is decoded, the size within the limits.
    const auto decode = [&in](qint64 count, const PictureLimits &limits) {
        const QByteArray bytes = in.read(count);
        try {
            return decodePng(ByteSpan(bytes.constData(), std::size_t(bytes.size())), limits)
                .convertToFormat(QImage::Format_RGB32);
        } catch (const QuorError &) {
            return QImage();
        } catch (const std::bad_alloc &) {
            return QImage();
        }
    };
    if (previewCount > 0) {
        PictureLimits small;
        small.maxSide = RecoveryPreviewSide;
        small.maxPixels = RecoveryPreviewSide * RecoveryPreviewSide;
        r.preview = decode(previewCount, small);
        if (r.preview.isNull())
            return fail("恢复文件的预览图已损坏");
    }
    if (part == RecoveryPart::Header)
        return result;

    QImage picture = decode(pngCount, PictureLimits{});
    if (picture.size() != QSize(w, h))
        return fail("图片已损坏");
    r.picture = std::move(picture);
    return result;
}

RecoveryRead readRecoveryFile(const QString &path, RecoveryPart part)
{
    constexpr qint64 MaxRecoveryFileBytes = 1LL << 31;
    RecoveryRead result;
    try {
        OpenedFile file(path, MaxRecoveryFileBytes);
        const qint64 size = file.reportedSize();
        QByteArray bytes;
        if (part == RecoveryPart::Header) {
            bytes.resize(qsizetype(std::min(size, MaxHeaderBytes + MaxPreviewBytes + 64)));
            bytes.resize(qsizetype(file.read(bytes.data(), bytes.size())));
        } else {
            bytes = file.readRest();
        }
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        return readRecoveryRecord(buffer, part == RecoveryPart::Header ? size : bytes.size(), part);
    } catch (const QuorError &e) {
        result.problem = e.description;
    } catch (const std::bad_alloc &) {
        result.problem = QStringLiteral("内存不足");
    }
    return result;
}

} // namespace quor
