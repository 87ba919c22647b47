// A save that fails says why, keeps the old file whole and leaves the
// document changed: a full disk, a folder that went away, and a bitmap
// that cannot be made in memory.
#include "program_fixture.h"

#include "formats/bitmap_file.h"
#include "files/file_texts.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <unistd.h>

using namespace quor;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// A tiny file system of its own, mounted for the test when it may be.
class TinyDisk
{
public:
    TinyDisk()
    {
        if (geteuid() != 0) {
            m_why = "needs root to mount a tmpfs";
            return;
        }
        if (!run("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", m_dir.path()})) {
            m_why = "mounting a tmpfs is not allowed here";
            return;
        }
        m_mounted = true;
    }
    ~TinyDisk()
    {
        if (m_mounted)
            run("umount", {m_dir.path()});
    }
    QString why() const { return m_why; }
    QString path(const QString &name) const { return m_dir.path() + "/" + name; }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_why;
};

// Saves with only a little address space left; exits 0 when the save says
// it ran out of memory.
[[noreturn]] void saveWithNoRoomLeft(const QImage &image, const QString &file)
{
    long pages = 0;
    if (FILE *f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld", &pages) != 1)
            pages = 0;
        std::fclose(f);
    }
    const rlim_t room = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (4u << 20);
    const rlimit limit{room, room};
    setrlimit(RLIMIT_AS, &limit);
    int code = 1;
    try {
        (void)saveBitmapFile(image, file);
    } catch (const QuorError &e) {
        code = e.number == err::OutOfMemory && e.description == "内存不足，文件未保存。" ? 0 : 2;
    } catch (...) {
        code = 3;
    }
    std::_Exit(code);
}

} // namespace

TEST_F(ProgramTest, AFullDiskSaysSoAndKeepsTheOldFileAndTheChanges)
{
    TinyDisk disk;
    if (!disk.why().isEmpty())
        GTEST_SKIP() << disk.why().toStdString();
    const QString file = disk.path("picture.bmp");
    {
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(1000, 'x'));
    }
    // A new document's canvas is far larger than the disk.
    canvas().line(0, 0, 3000, 3000, rgbColour(255, 0, 0));
    active()->document().markChanged();
    script.fileAnswers = {file};
    main->saveAs();

    EXPECT_EQ(lastMessage().text, otherErrorMessage("磁盘空间不足，文件未保存。"));
    EXPECT_EQ(lastMessage().style, (MessageStyle{Buttons::Ok}));
    EXPECT_EQ(readAll(file), QByteArray(1000, 'x'));
    EXPECT_TRUE(active()->document().isModified());
    EXPECT_EQ(active()->caption(), "New Quor1");
    EXPECT_EQ(QDir(disk.path("")).entryList(QDir::Files), QStringList{"picture.bmp"})
        << "no temporary file left behind";
}

TEST_F(ProgramTest, AFolderThatWentAwaySaysSo)
{
    QTemporaryDir dir;
    const QString file = dir.path() + "/gone/picture.bmp";
    active()->document().markChanged();
    script.fileAnswers = {file};
    main->saveAs();
    EXPECT_EQ(lastMessage().text, otherErrorMessage("保存文件的文件夹已不存在，文件未保存。"));
    EXPECT_TRUE(active()->document().isModified());
    EXPECT_FALSE(QFile::exists(file));
}

TEST(SaveBitmapFile, ABitmapThatCannotBeMadeLeavesTheOldFileWhole)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer needs more address space than this test leaves";
#endif
    QTemporaryDir dir;
    const QString file = dir.path() + "/picture.bmp";
    {
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    QImage big(2402, 2002, QImage::Format_RGB32);
    big.fill(Qt::red);
    // In a fresh child (no freed memory of earlier tests to reuse) whose
    // address space has no room left for the file's bytes.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(saveWithNoRoomLeft(big, file), ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(readAll(file), QByteArray("old"));
}
