// The File commands end to end on a real main window, with every dialog and
// message answered from a script.
#include "program_fixture.h"

#include "files/file_texts.h"
#include "formats/bitmap_file.h"
#include "formats/picture_errors.h"
#include "formats/picture_loader.h"
#include "formats/picture_samples.h"
#include "formats/whole_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace quor;

namespace {

class FileCommands : public ProgramTest
{
protected:
    // A 24 x 16 bitmap file, blue on the left half and yellow on the right.
    QString writeBitmap(const QString &name)
    {
        const QString path = dir.filePath(name);
        QImage img(24, 16, QImage::Format_RGB32);
        img.fill(qRgb(255, 255, 0));
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 12; ++x)
                img.setPixel(x, y, qRgb(0, 0, 255));
        img.save(path, "BMP");
        return path;
    }
    void open(const QString &path)
    {
        script.fileAnswers.push_back(path);
        main->openPicture();
    }
    QList<ShownDialog> messages() const
    {
        QList<ShownDialog> m;
        for (const ShownDialog &d : script.shown)
            if (d.kind == "message")
                m << d;
        return m;
    }
    QByteArray contents(const QString &path) { return samples::readFile(path); }

    QTemporaryDir dir;
};

// Ends the whole test program when its scope lasts longer than `seconds`:
// a hang is the fault some tests look for, and it must fail, not stall.
class Watchdog
{
public:
    Watchdog(std::string what, int seconds)
        : m_thread([this, what = std::move(what), seconds] {
              std::unique_lock lock(m_mutex);
              if (!m_wake.wait_for(lock, std::chrono::seconds(seconds), [this] { return m_done; })) {
                  std::fprintf(stderr, "%s did not return within %d s\n", what.c_str(), seconds);
                  std::_Exit(1);
              }
          })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    std::thread m_thread; // last: starts once the rest exists
};

// A listening Unix socket at `path` (closed again; the file stays).
bool makeSocketFile(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || std::size_t(name.size()) >= sizeof addr.sun_path)
        return false;
    std::memcpy(addr.sun_path, name.constData(), std::size_t(name.size()));
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0;
    ::close(fd);
    return bound;
}

} // namespace

TEST_F(FileCommands, NewNumbersNeverGoBack)
{
    EXPECT_EQ(active()->caption(), "New Quor1");
    main->newDocument();
    EXPECT_EQ(active()->caption(), "New Quor2");
    workspace().document(1)->closeDocument();
    main->newDocument();
    EXPECT_EQ(active()->caption(), "New Quor3");
    EXPECT_EQ(workspace().documentCount(), 2);
    EXPECT_EQ(workspace().document(1)->caption(), "New Quor2");

    // A spent counter is a message, not a stop, and makes no window.
    workspace().newDocumentCount = INT32_MAX;
    main->newDocument();
    EXPECT_EQ(workspace().documentCount(), 2);
    EXPECT_EQ(lastMessage().text, "\r溢出");
}

TEST_F(FileCommands, OpenShowsItsDialogAndCancelIsSilent)
{
    main->openPicture(); // no answer queued: cancelled
    ASSERT_EQ(script.shown.size(), 1);
    const ShownDialog &d = script.shown[0];
    EXPECT_EQ(d.kind, "open");
    EXPECT_EQ(d.title, "打开...");
    EXPECT_EQ(d.text, openFilter());
    EXPECT_EQ(d.fileOptions, FileOption::HideReadOnly);
    EXPECT_EQ(d.folder, programFolder());
    EXPECT_TRUE(d.fileName.isEmpty());
    EXPECT_EQ(workspace().documentCount(), 1);
    EXPECT_EQ(workspace().newDocumentCount, 1);
}

TEST_F(FileCommands, OpenNotFoundRetriesThenCancelKeepsTheEmptyWindow)
{
    const QString missing = dir.filePath("missing.bmp");
    script.messageAnswers = {Answer::Retry, Answer::Cancel};
    open(missing);
    const QList<ShownDialog> m = messages();
    ASSERT_EQ(m.size(), 2);
    for (const ShownDialog &d : m) {
        EXPECT_EQ(d.title, missing);
        EXPECT_EQ(d.text, paddedMessage("找不到指定文件！", std::abs(9 - 16) / 2 + 2));
        EXPECT_EQ(d.style, (MessageStyle{Buttons::RetryCancel, Icon::Exclamation}));
    }
    EXPECT_EQ(workspace().documentCount(), 2);
    EXPECT_EQ(active()->caption(), "New Quor2");
    EXPECT_FALSE(active()->document().isModified());
    EXPECT_TRUE(main->action("mnuFileSave")->isEnabled());
}

TEST_F(FileCommands, RetryAfterTheFileAppearsOpensIt)
{
    const QString path = dir.filePath("late.bmp");
    script.messageAnswers = {Answer::Retry};
    script.onShow = [&](const ShownDialog &d) {
        if (d.kind == "message")
            QFile::copy(writeBitmap("source.bmp"), path);
    };
    open(path);
    EXPECT_EQ(active()->caption(), path);
    EXPECT_EQ(workspace().newDocumentCount, 2); // the same window took the picture
    EXPECT_EQ(canvas().image().size(), QSize(24, 16));
}

TEST_F(FileCommands, EveryFormatOpensSizedToItsPicture)
{
    QImage solid(20, 10, QImage::Format_RGB32);
    solid.fill(qRgb(200, 30, 30));
    const std::vector<std::pair<QString, QByteArray>> files = {
        {"a.bmp", samples::readFile(writeBitmap("a.bmp"))},
        {"b.dib", samples::infoHeader(2, 1, 24, 0) + samples::rows(2, 1, 24, [](int, int) { return 0xc81e1eu; })},
        {"c.gif", samples::gif(3, 2, {qRgb(200, 30, 30)}, {[](int, int) { return 0u; }})},
        {"d.jpg", samples::jpeg(solid)},
        {"e.ico", samples::icoFile({{16, samples::iconImage(16, 24, qRgb(200, 30, 30))}})},
        {"f.wmf", samples::wmfShapes(dir.filePath("f.wmf"), true)},
        {"g.emf", samples::emfShapes(dir.filePath("g.emf"))},
        // Our own Save writes bitmap data under any name.
        {"h.jpg", samples::readFile(writeBitmap("h.bmp"))},
    };
    for (const auto &[name, bytes] : files) {
        const QString path = dir.filePath(name);
        samples::writeFile(path, bytes);
        const QImage expected = loadPictureFile(path);
        open(path);
        EXPECT_EQ(active()->caption(), path) << name.toStdString();
        EXPECT_EQ(canvas().image().size(), expected.size()) << name.toStdString();
        EXPECT_FALSE(active()->document().isModified()) << name.toStdString();
        const QPoint mid(expected.width() / 2, expected.height() / 2);
        EXPECT_EQ(canvas().image().pixel(mid) & 0xffffff, expected.pixel(mid) & 0xffffff)
            << name.toStdString();
    }
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(FileCommands, An8000SquarePictureOpensWhole)
{
    const QString path = dir.filePath("big.bmp");
    samples::writeFile(path, samples::bigRle8(8000, {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 0, 255)}));
    open(path);
    EXPECT_TRUE(messages().isEmpty());
    ASSERT_EQ(canvas().image().size(), QSize(8000, 8000));
    EXPECT_EQ(canvas().image().pixel(7999, 7999), qRgb(255, 0, 0));
    EXPECT_EQ(canvas().image().pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(active()->view()->canvasBox()->widthTwips(), 8000 * 15.0);
    EXPECT_GT(active()->view()->verticalScrollBar()->maximum(), 5000); // every part can be scrolled to
}

TEST_F(FileCommands, BadFilesSayWhyAndHurtNoOpenDocument)
{
    canvas().line(0, 0, 300, 0, rgbColour(255, 0, 0));
    DocumentWindow *first = active();
    const QImage before = first->document().canvas().image();
    const QByteArray bmp = samples::readFile(writeBitmap("whole.bmp"));
    const std::vector<std::pair<QString, QString>> cases = {
        {"empty.bmp", emptyPictureFile().description},
        {"note.txt", notAPicture().description},
        {"cut.bmp", damagedPicture().description},
        {"huge.bmp", pictureTooLarge(50000, 50000).description},
    };
    samples::writeFile(dir.filePath("empty.bmp"), {});
    samples::writeFile(dir.filePath("note.txt"), "不是图片");
    samples::writeFile(dir.filePath("cut.bmp"), bmp.left(bmp.size() / 2));
    samples::writeFile(dir.filePath("huge.bmp"),
                       samples::bmpFile(samples::infoHeader(50000, 50000, 24, 0), 40));
    int windows = workspace().documentCount();
    for (const auto &[name, description] : cases) {
        open(dir.filePath(name));
        ++windows;
        EXPECT_EQ(lastMessage().text, "\r" + description) << name.toStdString();
        EXPECT_EQ(lastMessage().title, QCoreApplication::applicationName());
        EXPECT_EQ(lastMessage().style, (MessageStyle{Buttons::Ok}));
        EXPECT_EQ(workspace().documentCount(), windows); // the empty window stays
        EXPECT_TRUE(isUnsavedCaption(active()->caption()));
    }
    EXPECT_EQ(first->document().canvas().image(), before);
    EXPECT_EQ(first->caption(), "New Quor1");
}

TEST_F(FileCommands, OnlyRegularFilesAreOpenedAndOthersSayWhatTheyAre)
{
    // Each is refused without being read: a pipe would wait for a writer,
    // /dev/zero reports size 0 and never ends.
    const QString pipe = dir.filePath("pipe.bmp"), socket = dir.filePath("socket.bmp"),
                  zero = dir.filePath("zero.bmp"), folder = dir.filePath("x.bmp");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_TRUE(makeSocketFile(socket));
    ASSERT_TRUE(QFile::link("/dev/zero", zero));
    ASSERT_TRUE(QDir(dir.path()).mkdir("x.bmp"));
    const std::vector<std::pair<QString, QString>> cases = {
        {pipe, "“pipe.bmp”是命名管道，不是普通文件，无法打开。"},
        {socket, "“socket.bmp”是套接字，不是普通文件，无法打开。"},
        {zero, "“zero.bmp”是设备，不是普通文件，无法打开。"},
        {folder, "“x.bmp”是文件夹，不是普通文件，无法打开。"},
    };
    int windows = workspace().documentCount();
    for (const auto &[path, description] : cases) {
        {
            const Watchdog watchdog("Open of " + path.toStdString(), 10);
            open(path);
        }
        ++windows;
        EXPECT_EQ(lastMessage().text, "\r" + description);
        EXPECT_EQ(lastMessage().title, QCoreApplication::applicationName());
        EXPECT_EQ(lastMessage().style, (MessageStyle{Buttons::Ok}));
        EXPECT_EQ(workspace().documentCount(), windows);
        EXPECT_TRUE(isUnsavedCaption(active()->caption()));
    }

    // A link to a picture file is as good as the file.
    const QString link = dir.filePath("link.jpg");
    ASSERT_TRUE(QFile::link(writeBitmap("target.bmp"), link));
    const int shown = int(messages().size());
    open(link);
    EXPECT_EQ(int(messages().size()), shown);
    EXPECT_EQ(active()->caption(), link);
    EXPECT_EQ(canvas().image().size(), QSize(24, 16));
}

TEST_F(FileCommands, NoMoreThanTheLimitIsReadWhateverSizeTheFileReports)
{
    const QString path = writeBitmap("exact.bmp");
    const qint64 size = QFileInfo(path).size();
    PictureLimits limits;
    limits.maxFileBytes = size;
    EXPECT_EQ(loadPictureFile(path, limits).size(), QSize(24, 16));
    limits.maxFileBytes = size - 1;
    try {
        loadPictureFile(path, limits);
        ADD_FAILURE() << "a file one byte over the limit was read";
    } catch (const QuorError &e) {
        EXPECT_EQ(e.number, err::OutOfMemory);
    }

    // Kernel files are regular but report size 0: the limit still holds.
    const QString maps = dir.filePath("maps.bmp");
    ASSERT_TRUE(QFile::link("/proc/self/maps", maps));
    limits.maxFileBytes = 64;
    try {
        loadPictureFile(maps, limits);
        ADD_FAILURE() << "a file longer than it said was read whole";
    } catch (const QuorError &e) {
        EXPECT_EQ(e.number, err::OutOfMemory);
        EXPECT_EQ(e.description, "文件太大（超过 64 字节），无法读入内存。");
    }
    EXPECT_GT(readWholeFile(maps, 1 << 20).size(), 64);
}

TEST_F(FileCommands, ExtremeNumbersInsidePicturesOpenAsFarAsTheyCan)
{
    auto open = [&](const QString &name, const QByteArray &bytes) {
        samples::writeFile(dir.filePath(name), bytes);
        this->open(dir.filePath(name));
        return canvas().image();
    };
    auto anyDark = [](const QImage &img, const QRect &area) {
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (qGray(img.pixel(x, y)) < 100)
                    return true;
        return false;
    };
    // PNG images declaring 2^32 - 1 and 70000 pixels a side give way to
    // the small one that can be shown; alone they are too large.
    QImage dot(1, 1, QImage::Format_RGB32);
    dot.fill(Qt::white);
    QByteArray endless = samples::png(dot);
    endless.replace(16, 8, QByteArray(8, char(0xff)));
    QByteArray large = endless;
    large.replace(16, 8, QByteArray("\x00\x01\x11\x70\x00\x01\x11\x70", 8));
    const QByteArray red = samples::iconImage(16, 24, qRgb(255, 0, 0));
    const QImage icon = open("huge.ico", samples::icoFile({{0, endless}, {0, large}, {16, red}}));
    EXPECT_EQ(icon.size(), QSize(16, 16));
    EXPECT_EQ(icon.pixel(8, 8), qRgb(255, 0, 0));
    const int shown = int(messages().size());
    open("only-huge.ico", samples::icoFile({{0, endless}}));
    ASSERT_EQ(int(messages().size()), shown + 1);
    EXPECT_EQ(lastMessage().text, "\r" + pictureTooLarge(4294967295LL, 4294967295LL).description);

    // A pen wider than any QPen is drawn as wide as one can be.
    const QImage wide = open("wide.emf", samples::emfWideLine(dir.filePath("w.emf"), 100000));
    EXPECT_EQ(wide.pixel(96, 150), qRgb(0, 0, 255));
    const QImage narrow = open("narrow.emf", samples::emfWideLine(dir.filePath("n.emf"), 200));
    EXPECT_EQ(narrow.pixel(96, 10), qRgb(0, 0, 255));
    EXPECT_EQ(narrow.pixel(96, 30), qRgb(255, 255, 255));

    // Escapements turn counterclockwise: 90 degrees runs the letter up from
    // the centre, right of it; -2^31 tenths is 84.8 degrees the other way.
    const QImage up = open("up.emf", samples::emfTurnedText(dir.filePath("u.emf"), 900));
    EXPECT_TRUE(anyDark(up, QRect(96, 56, 40, 40)));
    EXPECT_FALSE(anyDark(up, QRect(56, 96, 40, 40)));
    const QImage down = open("down.emf", samples::emfTurnedText(dir.filePath("d.emf"), INT_MIN));
    EXPECT_TRUE(anyDark(down, QRect(56, 96, 40, 40)));
    EXPECT_FALSE(anyDark(down, QRect(96, 56, 40, 40)));
    EXPECT_EQ(int(messages().size()), shown + 1);
}

TEST_F(FileCommands, SaveOfAnOpenedJpegWritesABitmapUnderItsName)
{
    const QString path = dir.filePath("photo.jpg");
    QImage solid(20, 10, QImage::Format_RGB32);
    solid.fill(qRgb(30, 30, 200));
    samples::writeFile(path, samples::jpeg(solid));
    open(path);
    canvas().line(0, 0, 150, 0, rgbColour(255, 0, 0));
    active()->document().markChanged();
    const int shownBefore = int(script.shown.size());
    main->save();
    EXPECT_EQ(int(script.shown.size()), shownBefore); // no dialog, no message
    EXPECT_TRUE(contents(path).startsWith("BM"));
    EXPECT_FALSE(active()->document().isModified());
    const QImage again = loadPictureFile(path);
    EXPECT_EQ(again.size(), QSize(20, 10));
    EXPECT_EQ(again.pixel(2, 0), qRgb(255, 0, 0));
    open(path);
    EXPECT_EQ(active()->caption(), path);
}

TEST_F(FileCommands, SaveKeepsPngWebpTiffAndPnmInTheirFormatAndSaveAsWritesABitmap)
{
    QImage solid(20, 10, QImage::Format_RGB32);
    solid.fill(qRgb(30, 30, 200));
    const std::vector<std::pair<const char *, PictureKind>> formats = {
        {"png", PictureKind::Png}, {"webp", PictureKind::WebP}, {"tiff", PictureKind::Tiff},
        {"ppm", PictureKind::Pnm}};
    for (const auto &[format, kind] : formats) {
        SCOPED_TRACE(format);
        const QString path = dir.filePath(QStringLiteral("kept.") + format);
        samples::writeFile(path, samples::encoded(solid, format));
        open(path);
        canvas().line(0, 0, 150, 0, rgbColour(255, 0, 0));
        active()->document().markChanged();
        main->save();
        const QByteArray bytes = contents(path);
        EXPECT_EQ(sniffPicture(ByteSpan(bytes.constData(), std::size_t(bytes.size()))), kind);
        // Lossless: the line and the fill come back exactly.
        const QImage again = QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(again.pixel(2, 0), qRgb(255, 0, 0));
        EXPECT_EQ(again.pixel(2, 5), qRgb(30, 30, 200));
        EXPECT_FALSE(active()->document().isModified());
    }
    // Save as offers bitmaps only; what it wrote stays a bitmap on Save.
    const QString path = dir.filePath("now.png");
    script.fileAnswers = {path};
    main->saveAs();
    main->save();
    EXPECT_TRUE(contents(path).startsWith("BM"));
}

TEST_F(FileCommands, SavingWhatTheFormatCannotKeepAsksFirstOnce)
{
    // A 16-bit grey map: Save writes an 8-bit colour pixmap in its place.
    const QString path = dir.filePath("deep.pgm");
    samples::writeFile(path, QByteArray("P5 4 2 65535\n") + QByteArray(16, '\x80'));
    open(path);
    canvas().line(0, 0, 45, 0, rgbColour(255, 0, 0));
    active()->document().markChanged();
    script.messageAnswers = {Answer::Cancel};
    main->save();
    const QString asked = lastMessage().text;
    EXPECT_TRUE(asked.contains("16 位") && asked.contains("灰度图片（PGM）")) << asked.toStdString();
    EXPECT_TRUE(contents(path).startsWith("P5 4 2 65535")); // kept
    EXPECT_TRUE(active()->document().isModified());

    script.messageAnswers = {Answer::Ok};
    main->save();
    EXPECT_TRUE(contents(path).startsWith("P6"));
    EXPECT_FALSE(active()->document().isModified());
    // The file holds what the canvas holds now: nothing more to ask.
    const auto asks = messages().size();
    canvas().line(0, 15, 45, 15, rgbColour(0, 0, 255));
    active()->document().markChanged();
    main->save();
    EXPECT_EQ(messages().size(), asks);

    // A PNG with a clear pixel: its transparency is named before it goes.
    QImage clear(4, 2, QImage::Format_ARGB32);
    clear.fill(qRgba(0, 0, 255, 0));
    const QString png = dir.filePath("clear.png");
    samples::writeFile(png, samples::encoded(clear, "png"));
    open(png);
    active()->document().markChanged();
    script.messageAnswers = {Answer::Cancel};
    main->save();
    EXPECT_TRUE(lastMessage().text.contains("透明")) << lastMessage().text.toStdString();
}

TEST_F(FileCommands, SaveAsksOnlyForNewDocumentsAndSaveAsAlways)
{
    const QString path = dir.filePath("first.bmp");
    script.fileAnswers = {path};
    active()->document().markChanged();
    main->save();
    ASSERT_EQ(script.shown.size(), 1);
    EXPECT_EQ(script.shown[0].kind, "save");
    EXPECT_EQ(script.shown[0].title, "保存 New Quor1");
    EXPECT_EQ(script.shown[0].fileName, "New Quor1");
    EXPECT_EQ(script.shown[0].text, "BMP (*.BMP)|*.bmp");
    EXPECT_EQ(script.shown[0].fileOptions,
              FileOption::HideReadOnly | FileOption::ConfirmOverwrite | FileOption::PathMustExist);
    EXPECT_EQ(active()->caption(), path);
    EXPECT_FALSE(active()->document().isModified());

    main->save(); // saved before: straight to the file
    EXPECT_EQ(script.shown.size(), 1);

    main->saveAs(); // cancelled
    ASSERT_EQ(script.shown.size(), 2);
    EXPECT_EQ(script.shown[1].title, "另存为 " + path);
    EXPECT_EQ(active()->caption(), path);
}

TEST_F(FileCommands, SaveAllSkipsTheDocumentWhoseDialogIsCancelled)
{
    const QString one = writeBitmap("one.bmp"), three = writeBitmap("three.bmp");
    active()->closeDocument();
    open(one);
    main->newDocument();
    const QString unsaved = active()->caption();
    open(three);
    for (int i = 1; i <= 3; ++i) {
        workspace().document(i)->document().canvas().line(0, 0, 150, 0, rgbColour(255, 0, 0));
        workspace().document(i)->document().markChanged();
    }
    script.shown.clear();
    main->saveAll(); // no file answer: the one dialog is cancelled
    ASSERT_EQ(script.shown.size(), 1);
    EXPECT_EQ(script.shown[0].title, "保存 " + unsaved);
    EXPECT_EQ(loadPictureFile(one).pixel(3, 0), qRgb(255, 0, 0));
    EXPECT_EQ(loadPictureFile(three).pixel(3, 0), qRgb(255, 0, 0));
    EXPECT_EQ(workspace().document(2)->caption(), unsaved);
    EXPECT_TRUE(workspace().document(2)->document().isModified());
    EXPECT_FALSE(workspace().document(1)->document().isModified());
    EXPECT_FALSE(workspace().document(3)->document().isModified());
}

TEST_F(FileCommands, SaveAllOnAReadOnlyFileOffersAbortRetryIgnore)
{
    const QString locked = writeBitmap("locked.bmp"), free = writeBitmap("free.bmp");
    active()->closeDocument();
    open(locked);
    open(free);
    for (int i = 1; i <= 2; ++i) {
        workspace().document(i)->document().canvas().line(0, 0, 150, 0, rgbColour(255, 0, 0));
        workspace().document(i)->document().markChanged();
    }
    QFile::setPermissions(locked, QFile::ReadOwner);
    const QByteArray old = contents(locked);
    script.messageAnswers = {Answer::Ignore};
    main->saveAll();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(lastMessage().text, saveAllReadOnlyMessage(locked));
    EXPECT_TRUE(lastMessage().text.contains("    文件只读！"));
    EXPECT_EQ(lastMessage().style,
              (MessageStyle{Buttons::AbortRetryIgnore, Icon::Exclamation, DefaultButton::Second}));
    EXPECT_EQ(lastMessage().title, locked);
    EXPECT_EQ(contents(locked), old);
    EXPECT_TRUE(workspace().document(1)->document().isModified());
    EXPECT_FALSE(workspace().document(2)->document().isModified()); // the rest still saved

    // Abort stops before the later documents.
    workspace().document(2)->document().markChanged();
    const QByteArray second = contents(free);
    workspace().document(2)->document().canvas().line(0, 30, 150, 30, rgbColour(0, 255, 0));
    script.messageAnswers = {Answer::Abort};
    main->saveAll();
    EXPECT_EQ(contents(free), second);
    EXPECT_TRUE(workspace().document(2)->document().isModified());
}

TEST_F(FileCommands, SaveKeepsTheReplacedFilesAttributesAndPermissions)
{
    const QString path = writeBitmap("marked.bmp");
    const QByteArray name = QFile::encodeName(path);
    const char mark[] = "0x22";
    if (setxattr(name.constData(), "user.DOSATTRIB", mark, 4, 0) != 0)
        GTEST_SKIP() << "the temporary folder holds no user extended attributes";
    chmod(name.constData(), 0640);
    open(path);
    canvas().line(0, 0, 150, 0, rgbColour(255, 0, 0));
    script.shown.clear();
    main->save();
    EXPECT_TRUE(script.shown.isEmpty());
    EXPECT_EQ(loadPictureFile(path).pixel(3, 0), qRgb(255, 0, 0));
    char kept[16] = {};
    EXPECT_EQ(getxattr(name.constData(), "user.DOSATTRIB", kept, sizeof kept), 4);
    EXPECT_STREQ(kept, mark);
    struct stat st;
    ASSERT_EQ(stat(name.constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // An owner the saving user may not give away: saved all the same, and
    // said so.
    if (geteuid() != 0)
        return;
    chmod(QFile::encodeName(dir.path()).constData(), 0777);
    chmod(name.constData(), 0666);
    const pid_t pid = fork();
    if (pid == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(3);
        const QString lost = saveBitmapFile(QImage(4, 4, QImage::Format_RGB32), path);
        _exit(lost.startsWith("文件已保存，但原文件的所有者") ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(loadPictureFile(path).size(), QSize(4, 4));
    EXPECT_EQ(getxattr(name.constData(), "user.DOSATTRIB", kept, sizeof kept), 4);
}

TEST_F(FileCommands, SavingAPngSaysWhatOfTheOldFileWasNotKept)
{
    // A user who may not give the file back to its owner: run as nobody.
    if (geteuid() != 0)
        GTEST_SKIP() << "needs to become another user";
    QTemporaryDir dir;
    const QString path = dir.filePath("owned.png");
    QImage white(4, 4, QImage::Format_RGB32);
    white.fill(Qt::white);
    ASSERT_TRUE(white.save(path, "PNG"));
    chmod(QFile::encodeName(dir.path()).constData(), 0777);
    chmod(QFile::encodeName(path).constData(), 0666);
    open(path);
    canvas().line(0, 0, 150, 0, rgbColour(255, 0, 0));
    script.shown.clear();
    const pid_t pid = fork();
    if (pid == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(3);
        main->save();
        _exit(script.shown.size() == 1 && script.shown[0].text.contains("文件已保存，但原文件的所有者") ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << WEXITSTATUS(status);
    EXPECT_EQ(QImage(path, "PNG").pixel(3, 0), qRgb(255, 0, 0)); // saved all the same, still a PNG
}

TEST_F(FileCommands, CloseAllClosesEveryDocumentThatAgrees)
{
    main->newDocument();
    main->newDocument();
    DocumentWindow *keeps = workspace().document(2);
    keeps->document().markChanged();
    script.messageAnswers = {Answer::Cancel};
    main->closeAll();
    EXPECT_EQ(workspace().documentCount(), 1);
    EXPECT_EQ(workspace().document(1), keeps);
    EXPECT_EQ(workspace().numberOf(keeps), 1);
    EXPECT_EQ(messages().size(), 1);
}

TEST_F(FileCommands, SaveLeavesTheFloatingSelectionOutAndShowsItsMarksAgain)
{
    DocumentWindow *doc = active();
    // A blue floating selection over the white canvas, and the arc guides.
    QImage blue(10, 10, QImage::Format_RGB32);
    blue.fill(qRgb(0, 0, 255));
    doc->floatPicture(blue, 150, 150);
    doc->view()->selectionFrame()->blackFrame()->setVisible(true);
    doc->view()->selectionFrame()->blinkTimer()->start();
    doc->gesture().arc.guidePlaced = true;
    doc->view()->blackGuide()->setVisible(true);
    doc->view()->guideBlinkTimer()->start();

    // The read-only question comes mid-write: the marks are gone then.
    const QString path = dir.filePath("sel.bmp");
    samples::writeFile(path, "locked");
    QFile::setPermissions(path, QFile::ReadOwner);
    bool hiddenDuringWrite = false;
    script.onShow = [&](const ShownDialog &d) {
        if (d.kind != "message")
            return;
        hiddenDuringWrite = doc->view()->selectionFrame()->pictureBox()->isHidden() && !doc->view()->selectionFrame()->blackFrame()->isVisible()
            && doc->view()->selectionFrame()->handle(0)->isHidden() && !doc->view()->blackGuide()->isVisible()
            && !doc->view()->selectionFrame()->blinkTimer()->isActive() && !doc->view()->guideBlinkTimer()->isActive();
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    };
    script.fileAnswers = {path};
    script.messageAnswers = {Answer::Retry};
    main->save();
    EXPECT_TRUE(hiddenDuringWrite);
    EXPECT_EQ(lastMessage().text, readOnlyMessage("New Quor1"));
    EXPECT_EQ(lastMessage().text.trimmed(), "文件只读！");

    const QImage saved = loadPictureFile(path);
    EXPECT_EQ(saved.pixel(12, 12), qRgb(255, 255, 255)); // not the selection
    EXPECT_FALSE(doc->view()->selectionFrame()->pictureBox()->isHidden());
    EXPECT_TRUE(doc->view()->selectionFrame()->blackFrame()->isVisible());
    for (int i = 0; i < 8; ++i)
        EXPECT_FALSE(doc->view()->selectionFrame()->handle(i)->isHidden()) << i;
    EXPECT_TRUE(doc->view()->selectionFrame()->blinkTimer()->isActive());
    EXPECT_TRUE(doc->view()->blackGuide()->isVisible());
    EXPECT_TRUE(doc->view()->guideBlinkTimer()->isActive());
    doc->view()->selectionFrame()->blinkTimer()->stop();
    doc->view()->guideBlinkTimer()->stop();
}

TEST_F(FileCommands, ReadOnlyTargetCancelKeepsTheOldFileAndTheChanges)
{
    const QString path = writeBitmap("old.bmp");
    open(path);
    canvas().line(0, 0, 150, 0, rgbColour(255, 0, 0));
    active()->document().markChanged();
    QFile::setPermissions(path, QFile::ReadOwner);
    const QByteArray old = contents(path);
    script.messageAnswers = {Answer::Cancel};
    main->save();
    EXPECT_EQ(lastMessage().text, paddedMessage("文件只读！", std::abs(int(path.size()) - 10) / 2 + 2));
    EXPECT_EQ(lastMessage().title, path);
    EXPECT_EQ(lastMessage().style, (MessageStyle{Buttons::RetryCancel, Icon::Exclamation}));
    EXPECT_EQ(contents(path), old);
    EXPECT_TRUE(active()->document().isModified());

    // A folder that does not exist is some other error: its description.
    active()->document().setFile(dir.filePath("no-such-folder/x.bmp"), {});
    main->save();
    EXPECT_TRUE(lastMessage().text.startsWith('\r'));
    EXPECT_EQ(lastMessage().style, (MessageStyle{Buttons::Ok}));
    EXPECT_TRUE(active()->document().isModified());
}

TEST_F(FileCommands, RoutinesActOnTheActiveDocument)
{
    DocumentWindow *doc = active();
    doc->document().markSaved();
    main->markActiveDocumentChanged();
    EXPECT_TRUE(doc->document().isModified());
    main->showFileProperties(); // nothing to show yet, nothing breaks
    doc->document().markSaved();
    doc->closeDocument();
    main->markActiveDocumentChanged(); // no document: nothing happens
    EXPECT_EQ(workspace().documentCount(), 0);
}
