// What a program that ended badly left behind, read at the next start:
// never waiting on a pipe, and at a cost that does not grow with the
// pictures left over.
#include "files/recovery_dialog.h"

#include "document/model/document.h"
#include "formats/bitmap_file.h"
#include "formats/picture_loader.h"
#include "tools/picture_tools.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace quor;

namespace {

long maxResidentKb()
{
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A sound record whose header claims an 8192 x 8192 picture of 200 MB,
// the bytes a hole in the file: only a reader that reads it all pays.
void writeLargeRecord(const QString &path)
{
    RecoveryRecord r;
    r.caption = QStringLiteral("/tmp/大.png");
    r.time = QDateTime::currentDateTimeUtc();
    r.twipsWidth = r.twipsHeight = 8192 * 15;
    r.picture = QImage(3, 2, QImage::Format_RGB32);
    r.picture.fill(Qt::red);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(writeRecoveryRecord(buffer, r));
    QByteArray bytes = buffer.data();
    const qsizetype countAt = bytes.indexOf("\npng ") + 5;
    constexpr qint64 Extra = 200LL << 20;
    const qint64 count = bytes.mid(countAt, 13).toLongLong() + Extra;
    bytes.replace(countAt, 13, QByteArray::number(count).rightJustified(13, '0'));
    bytes.replace("pixels 3 2", "pixels 8192 8192");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    ASSERT_TRUE(file.resize(bytes.size() + Extra));
}

} // namespace

TEST(LeftRecovery, PipesAndLinksNeverBlockAndManyLargePicturesCostNothing)
{
    QTemporaryDir root;
    const QString folder = root.filePath("4242-1");
    ASSERT_TRUE(QDir().mkpath(folder));
    for (int i = 1; i <= 6; ++i)
        writeLargeRecord(folder + QStringLiteral("/picture-%1.qrec").arg(i));
    const QString fifo = folder + "/picture-7.qrec";
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(fifo, folder + "/picture-8.qrec"));

    const long before = maxResidentKb();
    QElapsedTimer clock;
    clock.start();
    LeftRecovery left(root.path(), root.filePath("own"));
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_LT(maxResidentKb() - before, 32 * 1024);

    // Six to offer with their previews, the pipe refused with its reason,
    // the link passed over.
    ASSERT_EQ(left.pictures().size(), 7);
    for (int i = 0; i < 6; ++i) {
        const LeftPicture &p = left.pictures()[i];
        EXPECT_EQ(p.problem, QString()) << i;
        EXPECT_EQ(p.record.pixels, QSize(8192, 8192));
        EXPECT_EQ(p.record.preview.size(), QSize(3, 2));
        EXPECT_TRUE(p.record.picture.isNull());
    }
    EXPECT_TRUE(left.pictures()[6].problem.contains("命名管道")) << left.pictures()[6].problem.toStdString();

    // Only what was restored goes; the folder goes with the last picture.
    left.remove({folder + "/picture-1.qrec"});
    EXPECT_FALSE(QFile::exists(folder + "/picture-1.qrec"));
    EXPECT_TRUE(QFile::exists(folder + "/picture-2.qrec"));
    EXPECT_EQ(left.pictures().size(), 6);
    QStringList rest;
    for (int i = 2; i <= 7; ++i)
        rest << folder + QStringLiteral("/picture-%1.qrec").arg(i);
    left.remove(rest);
    EXPECT_FALSE(QDir(folder).exists());
}

TEST(LeftRecovery, CaptionsShowOnOneLineInTheirOrder)
{
    EXPECT_EQ(shownCaption(QStringLiteral("/a\nb\u202Egnp.exe")), QStringLiteral("/a\uFFFDb\uFFFDgnp.exe"));
    EXPECT_EQ(shownCaption(QStringLiteral("/图片/猫.png")), QStringLiteral("/图片/猫.png"));
}

TEST(LeftRecovery, AZoomedPictureBeyondEightThousandComesBackAndReopens)
{
    // 8400 x 8400 is past what the readers took before the limits were one.
    Document doc;
    QImage picture(2800, 2800, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixel(1, 1, qRgb(200, 0, 0));
    doc.loadPicture(picture);
    ASSERT_TRUE(zoomFits(8400, 8400));
    ASSERT_TRUE(doc.zoomCanvas(true));
    const QImage zoomed = doc.canvas().image();
    ASSERT_EQ(zoomed.size(), QSize(8400, 8400));

    QTemporaryDir dir;
    RecoveryRecord r;
    r.caption = QStringLiteral("New Quor1");
    r.time = QDateTime::currentDateTimeUtc();
    r.twipsWidth = r.twipsHeight = 8400 * 15;
    r.picture = zoomed;
    QSaveFile file(dir.filePath("picture-1.qrec"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && writeRecoveryRecord(file, r) && file.commit());
    const RecoveryRead back = readRecoveryFile(dir.filePath("picture-1.qrec"), RecoveryPart::Whole);
    ASSERT_EQ(back.problem, QString());
    EXPECT_TRUE(back.record.picture == zoomed);

    ASSERT_EQ(saveBitmapFile(zoomed, dir.filePath("big.bmp")), QString());
    EXPECT_TRUE(loadPictureFile(dir.filePath("big.bmp")) == zoomed);
}
