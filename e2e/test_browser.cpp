// The picture browser with the real mouse: a picture chosen in its file
// list shows its size, opens as a document and saves under a new name
// pixel for pixel.
#include "steps.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <thread>

using namespace std::chrono_literals;
using namespace e2e;

namespace {

// Four coloured quarters and a black diagonal: any shift or mirror shows.
QImage pattern(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool right = x >= w / 2, low = y >= h / 2;
            img.setPixel(x, y, right ? (low ? 0xff20c020 : 0xffff0000)
                                     : (low ? 0xff0000ff : 0xffffe040));
        }
    for (int i = 0; i < std::min(w, h); ++i)
        img.setPixel(i, i, 0xff000000);
    return img;
}

QString clipboardText(const QString &display)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);
    QProcess p;
    p.setProcessEnvironment(env);
    p.start("xclip", {"-selection", "clipboard", "-o"});
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

TEST(Browser, PictureChosenWithTheMouseOpensAndSavesUnchanged)
{
    Session s;
    ASSERT_TRUE(s.waitWindow("Quor 画图"));
    // The browser starts in the program's working folder, its home here.
    const QImage picture = pattern(40, 30);
    ASSERT_TRUE(picture.save(s.home() + "/a_pattern.bmp", "BMP"));
    ASSERT_TRUE(pattern(7, 5).save(s.home() + "/b_small.bmp", "BMP"));
    s.key("F7"); // the empty first document goes, so the canvas found later is ours

    s.key("alt+l");
    ASSERT_TRUE(s.waitWindow("Vedoz Izoverod"));
    const auto files = s.widget("FrmQuorOpenfile/File1");
    ASSERT_TRUE(files);
    s.click(files->topLeft() + QPoint(30, 10)); // the first row
    const auto sample = s.widget("FrmQuorOpenfile/Picture0/Picture1", 10s);
    ASSERT_TRUE(sample);
    EXPECT_EQ(sample->size(), picture.size());

    // The size box, copied out the way a user would.
    const auto sizeBox = s.widget("FrmQuorOpenfile/Text1");
    ASSERT_TRUE(sizeBox);
    s.click(sizeBox->center());
    s.key("ctrl+a ctrl+c");
    QString copied;
    for (int i = 0; i < 50 && copied != "600  450"; ++i) {
        std::this_thread::sleep_for(100ms);
        copied = clipboardText(s.display());
    }
    EXPECT_EQ(copied, "600  450");

    s.click(s.widget("FrmQuorOpenfile/Command1")->center());
    const auto canvas = s.widget("frmquoredit/Picture1", 10s);
    ASSERT_TRUE(canvas);
    EXPECT_EQ(canvas->size(), picture.size());
    // The browser stays for the next file.
    EXPECT_TRUE(s.widget("FrmQuorOpenfile/Command1"));

    s.key("F4");
    ASSERT_TRUE(s.waitWindow("另存为"));
    const QString file = s.home() + "/copy.bmp";
    s.key("ctrl+a");
    s.type(file);
    s.key("Return");
    QImage saved;
    for (int i = 0; i < 50 && saved.isNull(); ++i) {
        std::this_thread::sleep_for(100ms);
        saved.load(file);
    }
    ASSERT_FALSE(saved.isNull());
    ASSERT_EQ(saved.size(), picture.size());
    int differing = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            differing += (saved.pixel(x, y) & 0xffffff) != (picture.pixel(x, y) & 0xffffff);
    EXPECT_EQ(differing, 0);

    s.key("ctrl+q");
    EXPECT_EQ(s.waitExit(5s), 0);
}
