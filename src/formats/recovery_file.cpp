#include "formats/recovery_file.h"

#include "formats/picture_errors.h"

#include <QImageReader>
#include <QImageWriter>
#include <QIODevice>
#include <QUrl>

#include <cmath>

namespace quor {

namespace {

const QByteArray Magic = QByteArrayLiteral("QUOR-RECOVERY 1");
constexpr int CountDigits = 13;
constexpr qint64 MaxHeaderBytes = 16384; // a long path, percent-encoded
// The logical size never runs far from the pixels (15 twips each).
constexpr double MaxTwips = 32767.0 * 15 * 4;

QByteArray number(double v)
{
    return QByteArray::number(v, 'g', 17);
}

} // namespace

bool writeRecoveryRecord(QIODevice &out, const RecoveryRecord &r)
{
    const QByteArray head = Magic + "\ncaption " + QUrl::toPercentEncoding(r.caption, "/") + "\ntime "
                            + r.time.toUTC().toString(Qt::ISODateWithMs).toLatin1() + "\npixels "
                            + QByteArray::number(r.picture.width()) + ' '
                            + QByteArray::number(r.picture.height()) + "\ntwips "
                            + number(r.twipsWidth) + ' ' + number(r.twipsHeight) + "\npng ";
    if (out.write(head) != head.size())
        return false;
    const qint64 countAt = out.pos();
    if (out.write(QByteArray(CountDigits, '0') + "\n\n") != CountDigits + 2)
        return false;
    const qint64 start = out.pos();
    // Fast compression: the picture is written often and read once.
    QImageWriter writer(&out, "png");
    writer.setQuality(80);
    if (!writer.write(r.picture))
        return false;
    const qint64 end = out.pos();
    const QByteArray count = QByteArray::number(end - start).rightJustified(CountDigits, '0');
    return count.size() == CountDigits && out.seek(countAt) && out.write(count) == CountDigits
           && out.seek(end);
}

RecoveryRead readRecoveryRecord(QIODevice &in, qint64 size)
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

    QByteArray first = in.readLine(Magic.size() + 2);
    if (first.startsWith("QUOR-RECOVERY ") && first != Magic + '\n')
        return fail("恢复文件的版本不认识");
    if (first != Magic + '\n')
        return fail("不是 Quor 的恢复文件");

    const QList<QByteArray> caption = line("caption");
    const QList<QByteArray> time = line("time");
    int w = 0, h = 0;
    double tw = 0, th = 0;
    const auto toInt = [](const QByteArray &b, bool *ok) { return b.toInt(ok); };
    const auto toDouble = [](const QByteArray &b, bool *ok) { return b.toDouble(ok); };
    const bool sizes = twoNumbers(line("pixels"), toInt, w, h) && twoNumbers(line("twips"), toDouble, tw, th);
    const QList<QByteArray> png = line("png");
    bool countOk = false;
    const qint64 count = png.size() == 1 && png[0].size() == CountDigits ? png[0].toLongLong(&countOk) : -1;
    if (caption.size() != 1 || time.size() != 1 || !sizes || !countOk || in.readLine(2) != "\n")
        return fail("恢复文件的文件头已损坏");
    r.caption = QUrl::fromPercentEncoding(caption[0]);
    r.time = QDateTime::fromString(QString::fromLatin1(time[0]), Qt::ISODateWithMs);
    if (r.caption.isEmpty() || !r.time.isValid() || !std::isfinite(tw) || !std::isfinite(th)
        || tw <= 0 || th <= 0 || tw > MaxTwips || th > MaxTwips)
        return fail("恢复文件的文件头已损坏");
    r.twipsWidth = tw;
    r.twipsHeight = th;

    try {
        checkPictureSize(w, h, PictureLimits{});
    } catch (const QuorError &) {
        return fail(w > 0 && h > 0 ? "图片太大" : "恢复文件的文件头已损坏");
    }
    const qint64 rest = size - in.pos();
    if (count > rest)
        return fail("文件不完整");
    if (count < rest)
        return fail("文件末尾有多余的数据");

    QImageReader reader(&in, "png");
    reader.setAllocationLimit(int(qint64(w) * h * 4 / (1024 * 1024)) + 16);
    if (reader.size() != QSize(w, h))
        return fail("图片已损坏");
    QImage picture = reader.read();
    if (picture.isNull() || picture.size() != QSize(w, h))
        return fail("图片已损坏");
    r.picture = std::move(picture).convertToFormat(QImage::Format_RGB32);
    return result;
}

} // namespace quor
