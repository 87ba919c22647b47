#include "steps.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using namespace e2e;

// `quor a.bmp bad.gif`: the good picture opens in place of the empty
// document, the bad one gets its message over the running program, and
// nothing is left of it once the message is answered.
TEST(FilesFromOutside, StartsWithTheGoodPictureAndTheMessageForTheBadOne)
{
    QTemporaryDir files;
    const QString good = files.filePath("a.bmp");
    QImage picture(120, 80, QImage::Format_RGB32);
    picture.fill(qRgb(0, 0, 255));
    for (int y = 0; y < 80; ++y)
        for (int x = 60; x < 120; ++x)
            picture.setPixel(x, y, qRgb(255, 0, 0));
    ASSERT_TRUE(picture.save(good, "BMP"));
    const QString bad = files.filePath("bad.gif");
    {
        QFile f(bad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("GIF89a, but nothing of a picture after it");
    }

    Session s({good, bad});
    // The message about the bad file is titled with its name.
    ASSERT_TRUE(s.waitWindow(bad));
    ASSERT_TRUE(s.waitWindow("Quor 画图"));
    auto canvas = s.widget("frmquoredit/Picture1");
    ASSERT_TRUE(canvas);
    s.key("Return");
    ASSERT_TRUE(s.waitWindowGone(bad));

    // One document, the good picture, on the screen.
    int documents = 0;
    for (const auto &[path, rect] : s.widgets())
        documents += path.endsWith("frmquoredit/Picture1");
    EXPECT_EQ(documents, 1);
    canvas = s.widget("frmquoredit/Picture1");
    ASSERT_TRUE(canvas);
    EXPECT_EQ(canvas->size(), picture.size());
    const QImage shown = s.screenshot().copy(*canvas);
    EXPECT_EQ(shown.pixel(10, 40) & 0xffffff, 0x0000ffu);
    EXPECT_EQ(shown.pixel(110, 40) & 0xffffff, 0xff0000u);

    s.key("ctrl+q");
    EXPECT_EQ(s.waitExit(5s), 0);
    // Its settings are one file in the desktop's configuration folder.
    QStringList settings;
    const QDir config(s.home() + "/.config");
    for (QDirIterator it(config.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        settings << config.relativeFilePath(it.next());
    EXPECT_EQ(settings, QStringList{"quor/quor.conf"});
}
