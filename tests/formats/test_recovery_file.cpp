// Recovery files: what is written reads back whole, and anything else
// (cut short, foreign, oversized, damaged) gives its reason and no picture.
#include "formats/recovery_file.h"

#include <QBuffer>
#include <gtest/gtest.h>

using namespace quor;

namespace {

RecoveryRecord sample()
{
    RecoveryRecord r;
    r.caption = QStringLiteral("/home/用户/图片\n第二行 100%.bmp");
    r.time = QDateTime(QDate(2026, 12, 8), QTime(10, 30, 15, 250), Qt::UTC);
    r.twipsWidth = 45.5;
    r.twipsHeight = 30;
    r.form = {PictureKind::Tiff, 4, true, ColourKind::Grey, true};
    r.picture = QImage(3, 2, QImage::Format_RGB32);
    const QRgb rows[2][3] = {{0xff000000, 0xffff0000, 0xff00ff00}, {0xff0000ff, 0xff123456, 0xffffffff}};
    for (int y = 0; y < 2; ++y)
        std::memcpy(r.picture.scanLine(y), rows[y], sizeof rows[y]);
    return r;
}

QByteArray written(const RecoveryRecord &r)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(writeRecoveryRecord(buffer, r));
    return buffer.data();
}

RecoveryRead read(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return readRecoveryRecord(buffer, bytes.size());
}

} // namespace

TEST(RecoveryFile, WhatIsWrittenReadsBackWhole)
{
    const RecoveryRecord r = sample();
    const QByteArray bytes = written(r);
    EXPECT_TRUE(bytes.startsWith("QUOR-RECOVERY 2\ncaption /home/"));
    const RecoveryRead back = read(bytes);
    ASSERT_EQ(back.problem, QString());
    EXPECT_EQ(back.record.caption, r.caption);
    EXPECT_EQ(back.record.time, r.time);
    EXPECT_EQ(back.record.twipsWidth, 45.5);
    EXPECT_EQ(back.record.twipsHeight, 30);
    EXPECT_EQ(back.record.picture, r.picture);
    EXPECT_EQ(back.record.form, r.form);
    EXPECT_EQ(back.record.preview, r.picture);

    // The offer reads the header and preview only, yet notices a file cut short.
    QByteArray head = bytes;
    QBuffer buffer(&head);
    buffer.open(QIODevice::ReadOnly);
    const RecoveryRead offered = readRecoveryRecord(buffer, bytes.size(), RecoveryPart::Header);
    EXPECT_EQ(offered.problem, QString());
    EXPECT_TRUE(offered.record.picture.isNull());
    EXPECT_EQ(offered.record.pixels, QSize(3, 2));
    EXPECT_EQ(offered.record.preview, r.picture);
    buffer.seek(0);
    EXPECT_EQ(readRecoveryRecord(buffer, bytes.size() - 1, RecoveryPart::Header).problem, "文件不完整");

    // A file of the first version, which knew no file kind and no preview.
    QByteArray png;
    QBuffer pngOut(&png);
    pngOut.open(QIODevice::WriteOnly);
    r.picture.save(&pngOut, "png");
    const QByteArray old = "QUOR-RECOVERY 1\ncaption New%20Quor2\ntime 2026-12-08T10:30:15.250Z\n"
                           "pixels 3 2\ntwips 45 30\npng "
                           + QByteArray::number(png.size()).rightJustified(13, '0') + "\n\n" + png;
    const RecoveryRead first = read(old);
    ASSERT_EQ(first.problem, QString());
    EXPECT_EQ(first.record.caption, "New Quor2");
    EXPECT_EQ(first.record.picture, r.picture);
    EXPECT_EQ(first.record.form.kind, PictureKind::Unknown);
}

TEST(RecoveryFile, DamagedFilesGiveTheirReason)
{
    const QByteArray good = written(sample());
    const auto problem = [](const QByteArray &bytes) {
        const RecoveryRead r = read(bytes);
        EXPECT_TRUE(r.record.picture.isNull());
        return r.problem;
    };
    EXPECT_EQ(problem(good.left(good.size() - 1)), "文件不完整");
    EXPECT_EQ(problem(good + 'x'), "文件末尾有多余的数据");
    EXPECT_EQ(problem("GIF89a\x01\x00\x01\x00"), "不是 Quor 的恢复文件");
    EXPECT_EQ(problem(QByteArray(good).replace("RECOVERY 2", "RECOVERY 9")), "恢复文件的版本不认识");
    EXPECT_EQ(problem(QByteArray(good).replace("pixels 3 2", "pixels 30000 30000")), "图片太大");
    EXPECT_EQ(problem(QByteArray(good).replace("pixels 3 2", "pixels 3 -2")), "恢复文件的文件头已损坏");
    EXPECT_EQ(problem(QByteArray(good).replace("twips 45.5", "twips nan")), "恢复文件的文件头已损坏");
    EXPECT_EQ(problem(QByteArray(good).replace("pixels 3 2", "pixels 2 3")), "图片已损坏");
    QByteArray flipped = good;
    flipped[flipped.size() - 20] = char(flipped[flipped.size() - 20] ^ 0x5a);
    EXPECT_FALSE(problem(flipped).isEmpty());
    // Cut anywhere, never a picture and never a crash.
    for (qsizetype n = 0; n < good.size(); ++n)
        EXPECT_FALSE(problem(good.left(n)).isEmpty()) << n;
}
