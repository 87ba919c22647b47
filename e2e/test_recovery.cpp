// Autosave and recovery as a user meets them: the program dies after a
// drawing, the next start offers the picture, and the file saved from the
// restored document has every pixel drawn.
#include "steps.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

using namespace std::chrono_literals;
using namespace e2e;

namespace {

const QByteArray FastAutosave = "[Settings]\nAutosaveSeconds=1\n";
const QString DialogTitle = "恢复未保存的图片";

QString recoveryRoot(const Session &s)
{
    return s.home() + "/.local/state/quor/recovery";
}

// The recovery files of every program's folder.
QStringList recoveryFiles(const Session &s)
{
    QStringList files;
    QDirIterator it(recoveryRoot(s), {"*.qrec"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

bool waitFor(const std::function<bool()> &done, Ms timeout = 10s)
{
    for (auto waited = 0ms; !done(); waited += 100ms) {
        if (waited >= timeout)
            return false;
        std::this_thread::sleep_for(100ms);
    }
    return true;
}

// A blue line of 100 pixels in the empty document.
void drawBlueLine(Session &s)
{
    const auto main = s.waitWindow("Quor 画图");
    ASSERT_TRUE(main);
    s.resize(*main, 900, 700);
    s.click(s.widget("Picture49")->center()); // blue
    s.click(s.widget("Command2")->center());
    const auto canvas = s.widget("frmquoredit/Picture1");
    ASSERT_TRUE(canvas);
    s.drag(onCanvas(*canvas, 15, 15), onCanvas(*canvas, 115, 65));
}

void drawAndWaitForAutosave(Session &s)
{
    drawBlueLine(s);
    ASSERT_TRUE(waitFor([&] { return recoveryFiles(s).size() == 1; }));
}

void expectBlueLine(const QImage &saved)
{
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.pixel(15, 15) & 0xffffff, 0x0000ffu);
    EXPECT_EQ(inkCount(saved), 100);
}

// Ends the program with the signal, starts it again and restores; a
// truncated copy and a foreign file beside the good one are skipped.
void restoreAfter(int signal)
{
    Session s({}, FastAutosave);
    drawAndWaitForAutosave(s);
    const auto code = s.signal(signal);
    if (signal == SIGTERM) {
        EXPECT_EQ(code, 0);
    }
    const QStringList left = recoveryFiles(s);
    ASSERT_EQ(left.size(), 1);
    QFile whole(left[0]);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    const QString folder = QFileInfo(left[0]).path();
    QFile truncated(folder + "/picture-90.qrec"), foreign(folder + "/picture-91.qrec");
    ASSERT_TRUE(truncated.open(QIODevice::WriteOnly) && foreign.open(QIODevice::WriteOnly));
    truncated.write(bytes.left(bytes.size() - 40));
    foreign.write("GIF89a\x01\x00\x01\x00");
    truncated.close();
    foreign.close();

    s.restart();
    ASSERT_TRUE(s.waitWindow(DialogTitle));
    s.key("Return"); // restore is the default
    ASSERT_TRUE(s.waitWindowGone(DialogTitle));
    // Saved as the unsaved document it was: its name is asked for.
    expectBlueLine(saveNew(s, "保存 New Quor1", "restored.bmp"));
    // The restored file went with the restore, the new document's with the
    // save; the two that could not be restored stay until discarded.
    EXPECT_TRUE(waitFor([&] { return recoveryFiles(s).size() == 2; }));
    s.key("ctrl+q");
    EXPECT_EQ(s.waitExit(5s), 0);
    s.restart();
    ASSERT_TRUE(s.waitWindow(DialogTitle));
    s.key("alt+d");
    ASSERT_TRUE(s.waitWindowGone(DialogTitle));
    s.key("ctrl+q");
    EXPECT_EQ(s.waitExit(5s), 0);
    EXPECT_TRUE(QDir(recoveryRoot(s)).isEmpty());
}

} // namespace

TEST(Recovery, RestoredAfterKillAndSaved)
{
    restoreAfter(SIGKILL);
}

TEST(Recovery, RestoredAfterTerminateAndSaved)
{
    restoreAfter(SIGTERM);
}

// A closed terminal keeps the picture as a crash does, and the restored
// document saves as the file it came from: a 16-bit PNG stays a PNG, after
// the question about the depth it loses.
TEST(Recovery, HangUpKeepsAPngAPngAndSaveSaysWhatItDrops)
{
    Session s({}, "[Settings]\nAutosaveSeconds=3600\n");
    const QString photo = s.home() + "/photo.png";
    QImage deep(200, 150, QImage::Format_RGBX64);
    deep.fill(Qt::white);
    ASSERT_TRUE(deep.save(photo, "png"));
    QFile original(photo);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray originalBytes = original.readAll();
    original.close();
    ASSERT_TRUE(s.waitWindow("Quor 画图"));
    ASSERT_EQ(s.signal(SIGTERM), 0);
    s.restart({photo});
    drawBlueLine(s);
    EXPECT_EQ(s.signal(SIGHUP), 0);
    ASSERT_EQ(recoveryFiles(s).size(), 1);

    s.restart();
    ASSERT_TRUE(s.waitWindow(DialogTitle));
    s.key("Return");
    ASSERT_TRUE(s.waitWindowGone(DialogTitle));
    ASSERT_TRUE(s.waitWindow("Quor 画图"));
    s.key("F3");
    ASSERT_TRUE(waitFor([&] { return s.windows().size() == 2; }, 5s)) << "no question";
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(original.readAll(), originalBytes) << "written before the answer";
    original.close();
    s.key("Return"); // go on
    ASSERT_TRUE(waitFor([&] {
        QFile f(photo);
        return f.open(QIODevice::ReadOnly) && f.readAll() != originalBytes;
    }));
    QImageReader saved(photo);
    EXPECT_EQ(saved.format(), "png");
    EXPECT_EQ(saved.imageFormat(), QImage::Format_RGB32);
    expectBlueLine(saved.read());
}

TEST(Recovery, LostDisplayKeepsThePicture)
{
    Session s({}, "[Settings]\nAutosaveSeconds=3600\n");
    drawBlueLine(s);
    s.stopServer();
    EXPECT_TRUE(s.waitExit(10s).has_value());
    EXPECT_EQ(recoveryFiles(s).size(), 1);
}

TEST(Recovery, LiveProgramsFilesAreLeftAlone)
{
    Session s({}, FastAutosave);
    drawAndWaitForAutosave(s);
    const QStringList mine = recoveryFiles(s);
    QProcess &other = s.startAnother();
    EXPECT_FALSE(other.waitForFinished(4000));
    QProcess search;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", s.display());
    search.setProcessEnvironment(env);
    search.start("xdotool", {"search", "--onlyvisible", "--name", DialogTitle});
    search.waitForFinished();
    EXPECT_TRUE(search.readAllStandardOutput().trimmed().isEmpty()) << "the second program offered them";
    other.terminate(); // nothing changed there: its folder goes
    EXPECT_TRUE(other.waitForFinished(5000));
    EXPECT_EQ(other.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(recoveryFiles(s), mine);
    EXPECT_EQ(QDir(recoveryRoot(s)).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);

    // Once the first program is dead, the next start offers them; discard
    // removes them.
    s.signal(SIGKILL);
    s.restart();
    ASSERT_TRUE(s.waitWindow(DialogTitle));
    s.key("alt+d");
    ASSERT_TRUE(s.waitWindowGone(DialogTitle));
    EXPECT_TRUE(s.widget("frmquoredit/Picture1")); // the empty document instead
    EXPECT_TRUE(recoveryFiles(s).isEmpty());
}

TEST(Recovery, FailingWriteSaidInTheStatusBarOnly)
{
    Session s({}, FastAutosave);
    const auto main = s.waitWindow("Quor 画图");
    ASSERT_TRUE(main);
    s.resize(*main, 900, 700);
    const auto status = s.widget("sbStatusText");
    ASSERT_TRUE(status);
    const QImage before = s.screenshot().copy(*status);
    // The state folder gives way to a file: no folder can be made there.
    ASSERT_TRUE(QDir(s.home() + "/.local/state/quor").removeRecursively());
    QFile blocker(s.home() + "/.local/state/quor");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    drawBlueLine(s);
    EXPECT_TRUE(waitFor([&] { return s.screenshot().copy(*status) != before; }, 5s));
    std::this_thread::sleep_for(2500ms); // retried meanwhile, without a dialog
    EXPECT_EQ(s.windows().size(), 1);
    // Saving goes on as ever.
    expectBlueLine(saveNew(s, "保存 New Quor1", "kept.bmp"));
    s.key("ctrl+q");
    EXPECT_EQ(s.waitExit(5s), 0);
}
