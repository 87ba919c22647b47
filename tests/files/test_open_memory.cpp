// Opening a large picture reads the file as it decodes, so its peak is the
// bitmap and little more; the open document keeps one bitmap until it is
// first drawn on and two after. Its own program, so the peak it reads is
// its own.
#include "program_fixture.h"

#include "document/model/document.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

using namespace quor;

namespace {

long peakKiB()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// Lets the peak start again from what is resident now, where the kernel
// allows it.
void resetPeak()
{
    QFile f("/proc/self/clear_refs");
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

long currentKiB()
{
    QFile f("/proc/self/statm");
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

// A 24-bit bitmap of w x h grey pixels, written row by row so that making
// it needs no bitmap in memory.
void writeBitmap(const QString &path, int w, int h)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    const int stride = (w * 3 + 3) & ~3;
    const quint32 dataSize = quint32(stride) * quint32(h);
    QByteArray head(54, '\0');
    auto put32 = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            head[at + i] = char((v >> (8 * i)) & 0xff);
    };
    head[0] = 'B';
    head[1] = 'M';
    put32(2, 54 + dataSize);
    put32(10, 54);
    put32(14, 40);
    put32(18, quint32(w));
    put32(22, quint32(h));
    head[26] = 1;
    head[28] = 24;
    put32(34, dataSize);
    f.write(head);
    const QByteArray row(stride, char(0x80));
    for (int y = 0; y < h; ++y)
        f.write(row);
}

} // namespace

TEST_F(ProgramTest, OpeningA4000SquarePicturePeaksAtOneBitmap)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer keeps freed memory, so resident sizes say nothing";
#endif
    QTemporaryDir dir;
    const QString file = dir.path() + "/big.bmp";
    writeBitmap(file, 4000, 4000);
    constexpr long bitmapKiB = 4000L * 4000L * 4 / 1024;

    resetPeak();
    const long before = currentKiB();
    const long peakBefore = peakKiB();
    script.fileAnswers = {file};
    main->openPicture();
    ASSERT_EQ(active()->caption(), file);
    ASSERT_EQ(canvas().widthPx(), 4000);
    const long peakGrowth = peakKiB() - std::max(peakBefore, before);
    EXPECT_LE(peakGrowth, bitmapKiB * 11 / 10) << "peak grew by " << peakGrowth << " KiB";
    // Until the first drawing the canvas and the loaded picture are one.
    EXPECT_EQ(canvas().image().constBits(), canvas().picture().constBits());
    EXPECT_LE(currentKiB() - before, bitmapKiB + 16 * 1024);

    // The first line makes the canvas its own copy; the picture Cls draws
    // stays as it was loaded.
    canvas().line(0, 0, 1500, 1500, rgbColour(255, 0, 0));
    EXPECT_NE(canvas().image().constBits(), canvas().picture().constBits());
    EXPECT_EQ(canvas().picture().pixel(10, 10) & 0xffffff, 0x808080u);
    // At rest, the history's base shares the canvas again.
    EXPECT_TRUE(QTest::qWaitFor([&] { return currentKiB() - before <= 2 * bitmapKiB + 16 * 1024; }))
        << currentKiB() - before << " KiB";
    canvas().cls();
    EXPECT_EQ(canvas().point(150, 150), rgbColour(128, 128, 128));
}

