// Pictures through the desktop clipboard, to and from another program
// (xclip), and a clipboard owner that stops answering.
#include "steps.h"

#include <QBuffer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <csignal>
#include <thread>

using namespace std::chrono_literals;
using namespace e2e;

namespace {

QImage noise(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    quint32 s = 4242;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            s = s * 1664525u + 1013904223u;
            img.setPixel(x, y, 0xff000000u | (s >> 8));
        }
    return img;
}

QProcessEnvironment onDisplay(const QString &display)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);
    return env;
}

// What xclip reads from the clipboard as the given type; empty when
// nothing came within the timeout.
QByteArray readClipboard(const QString &display, const QString &type, Ms timeout = 10s)
{
    QProcess p;
    p.setProcessEnvironment(onDisplay(display));
    p.start("xclip", {"-selection", "clipboard", "-o", "-t", type});
    if (!p.waitForFinished(int(timeout.count()))) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return p.exitCode() == 0 ? p.readAllStandardOutput() : QByteArray();
}

// Another program holding a file on the clipboard as the given type, for
// as long as this object lives or until someone else takes the clipboard.
class ClipboardOwner
{
public:
    ClipboardOwner(const QString &display, const QString &file, const QString &type)
    {
        p_.setProcessEnvironment(onDisplay(display));
        p_.start("xclip", {"-quiet", "-selection", "clipboard", "-t", type, "-i", file});
        if (!p_.waitForStarted()) {
            ADD_FAILURE() << "can't start xclip: " << p_.errorString().toStdString();
            return;
        }
        for (int i = 0; i < 50 && !serving_; ++i) {
            serving_ = readClipboard(display, "TARGETS", 2s).contains(type.toLatin1());
            if (!serving_)
                std::this_thread::sleep_for(100ms);
        }
    }
    ~ClipboardOwner()
    {
        if (p_.state() != QProcess::NotRunning) {
            p_.kill(); // also ends a stopped one
            p_.waitForFinished(5000);
        }
    }
    bool serving() const { return serving_; }
    // From now on it holds the clipboard but answers nobody.
    void freeze() { ::kill(pid_t(p_.processId()), SIGSTOP); }

private:
    QProcess p_;
    bool serving_ = false;
};

// Saves the active new document with F3 under `name` in the session's home.
QImage saveNew(Session &s, const QString &name)
{
    s.key("F3");
    if (!s.waitWindow("保存 New Quor1"))
        return {};
    const QString file = s.home() + "/" + name;
    s.key("ctrl+a");
    s.type(file);
    s.key("Return");
    if (!s.waitWindowGone("保存 New Quor1"))
        return {};
    for (int i = 0; i < 50 && QImage(file).isNull(); ++i)
        std::this_thread::sleep_for(100ms);
    return Session::readImage(file).convertToFormat(QImage::Format_RGB32);
}

// A 24-bit BMP file declaring 100 x 100 pixels that start at `offset`,
// with only 100 bytes of them: 154 bytes in all.
QByteArray lyingBmp(quint32 offset)
{
    QByteArray b(154, '\x5a');
    auto put = [&](int at, quint32 v, int n) {
        for (int i = 0; i < n; ++i)
            b[at + i] = char(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put(2, 154, 4);
    put(6, 0, 4);
    put(10, offset, 4);
    put(14, 40, 4);
    put(18, 100, 4);
    put(22, 100, 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(30, 0, 24);
    return b;
}

// A picture whose every pixel says where it is.
QImage coordinates(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto *row = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = qRgb(x & 255, y & 255, (x >> 8) * 16 + (y >> 8));
    }
    return img;
}

} // namespace

TEST(Clipboard, LyingBitmapsAreRefusedWithAMessageAndALargePngPastes)
{
    Session s;
    ASSERT_TRUE(s.waitWindow("Quor 画图"));
    const auto canvas = s.widget("frmquoredit/Picture1");
    ASSERT_TRUE(canvas);
    const qsizetype alone = s.windows().size();
    auto windowsBecome = [&](qsizetype n) {
        for (int i = 0; i < 100 && s.windows().size() != n; ++i)
            std::this_thread::sleep_for(100ms);
        return s.windows().size() == n;
    };

    // Pixel data cut short, and pixels said to start past the end.
    for (const quint32 offset : {54u, 100000u}) {
        const QString file = s.home() + QString("/lying-%1.bmp").arg(offset);
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(lyingBmp(offset));
        f.close();
        ClipboardOwner other(s.display(), file, "image/bmp");
        ASSERT_TRUE(other.serving());
        s.key("ctrl+v");
        EXPECT_TRUE(windowsBecome(alone + 1)) << "no message for offset " << offset;
        s.key("Return");
        ASSERT_TRUE(windowsBecome(alone));
    }
    // Nothing floats to be put down: the canvas is still white.
    s.key("Return");
    const QImage untouched = saveNew(s, "untouched.bmp");
    ASSERT_FALSE(untouched.isNull());
    EXPECT_EQ(inkCount(untouched), 0);

    const QImage big = coordinates(6000, 6000);
    const QString bigFile = s.home() + "/big.png";
    ASSERT_TRUE(big.save(bigFile, "PNG", 90));
    ClipboardOwner other(s.display(), bigFile, "image/png");
    ASSERT_TRUE(other.serving());
    s.click(onCanvas(*canvas, 0, 0));
    s.key("Escape");
    s.key("ctrl+v");
    s.key("Return");
    const QImage pasted = saveAgain(s, s.home() + "/untouched.bmp", untouched);
    ASSERT_FALSE(pasted.isNull());
    EXPECT_EQ(pasted, big.copy(pasted.rect()));
    EXPECT_EQ(s.windows().size(), alone);

    s.key("ctrl+q");
    EXPECT_EQ(s.waitExit(10s), 0);
}

TEST(Clipboard, PicturesGoBothWaysWithAnotherProgram)
{
    Session s;
    ASSERT_TRUE(s.waitWindow("Quor 画图"));
    const auto canvas = s.widget("frmquoredit/Picture1");
    ASSERT_TRUE(canvas);

    const QImage sent = noise(40, 30);
    const QString sentFile = s.home() + "/sent.png";
    ASSERT_TRUE(sent.save(sentFile, "PNG"));
    ClipboardOwner other(s.display(), sentFile, "image/png");
    ASSERT_TRUE(other.serving());

    // A click with the selection tool is the last gesture: the paste lands
    // where it started.
    s.click(onCanvas(*canvas, 20, 10));
    s.key("Escape");
    s.key("ctrl+v");
    s.key("Return");
    const QImage saved = saveNew(s, "pasted.bmp");
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.copy(20, 10, 40, 30), sent);
    EXPECT_TRUE(isWhite(saved.pixel(19, 10)));
    EXPECT_TRUE(isWhite(saved.pixel(60, 40)));

    // Select all and copy: the other program reads the canvas back.
    s.key("ctrl+a");
    s.key("ctrl+c");
    QImage back;
    for (int i = 0; i < 50 && back.isNull(); ++i) {
        back = QImage::fromData(readClipboard(s.display(), "image/png"), "PNG");
        if (back.isNull())
            std::this_thread::sleep_for(100ms);
    }
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), saved);
    EXPECT_TRUE(readClipboard(s.display(), "TARGETS").contains("image/bmp"));
    const QImage asBmp = QImage::fromData(readClipboard(s.display(), "image/bmp"), "BMP");
    EXPECT_EQ(asBmp.convertToFormat(QImage::Format_RGB32), saved);

    s.key("Escape");
    s.key("ctrl+q");
    EXPECT_EQ(s.waitExit(5s), 0);
}

TEST(Clipboard, AnOwnerThatStopsAnsweringHoldsUpPasteOnlyBriefly)
{
    Session s;
    ASSERT_TRUE(s.waitWindow("Quor 画图"));
    const auto canvas = s.widget("frmquoredit/Picture1");
    ASSERT_TRUE(canvas);
    const QString file = s.home() + "/sent.png";
    ASSERT_TRUE(noise(8, 8).save(file, "PNG"));
    ClipboardOwner other(s.display(), file, "image/png");
    ASSERT_TRUE(other.serving());
    other.freeze();

    s.click(onCanvas(*canvas, 20, 10));
    s.key("Escape");
    s.key("ctrl+v");
    // Nothing was pasted, so Exit asks nothing; it runs once paste gives up,
    // which takes one clipboard timeout of 5 s, not one per picture type.
    s.key("ctrl+q");
    EXPECT_EQ(s.waitExit(20s), 0);
}
