// The file-properties dialog: what it shows of a file, its layout, and the
// attributes it applies: read-only as the write permission, hidden, system
// and archive in Samba's "user.DOSATTRIB" extended attribute.
#include "program_fixture.h"

#include "formats/dos_attrib.h"
#include "formats/file_attributes.h"
#include "files/file_properties_dialog.h"
#include "files/file_properties_layout.h"
#include "files/file_properties_texts.h"
#include "files/file_texts.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace quor;

namespace {

QByteArray bytes(std::initializer_list<int> b)
{
    QByteArray out;
    for (int v : b)
        out.append(char(v));
    return out;
}

// The stored value, or a null array when there is none.
QByteArray storedValue(const QString &path)
{
    char buf[256];
    const ssize_t n = getxattr(QFile::encodeName(path).constData(), DosAttribName, buf, sizeof buf);
    return n < 0 ? QByteArray() : QByteArray(buf, n);
}

bool store(const QString &path, const QByteArray &value)
{
    return setxattr(QFile::encodeName(path).constData(), DosAttribName, value.constData(),
                    value.size(), 0)
        == 0;
}

mode_t modeOf(const QString &path)
{
    struct stat st {};
    stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

QString writeFile(const QString &path, int size, mode_t mode = 0664)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(QByteArray(size, 'x'));
    f.close();
    chmod(QFile::encodeName(path).constData(), mode);
    return path;
}

template <typename W>
W *control(QWidget *dialog, const char *name)
{
    W *w = dialog->findChild<W *>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

int topOf(QWidget *dialog, const char *name) { return control<QWidget>(dialog, name)->y(); }

class FileProperties : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        file = writeFile(dir.filePath("picture.bmp"), 1234);
    }
    // A dialog loaded from `path`, not shown.
    std::unique_ptr<FilePropertiesDialog> loaded(const QString &path, bool expectLoaded = true)
    {
        auto d = std::make_unique<FilePropertiesDialog>(path, main.get());
        EXPECT_EQ(d->load(), expectLoaded);
        return d;
    }
    // Sets the four boxes and presses "确定".
    void apply(FilePropertiesDialog &d, bool readOnly, bool hidden, bool system, bool archive)
    {
        control<QCheckBox>(&d, "Check1")->setChecked(readOnly);
        control<QCheckBox>(&d, "Check2")->setChecked(hidden);
        control<QCheckBox>(&d, "Check3")->setChecked(system);
        control<QCheckBox>(&d, "Check4")->setChecked(archive);
        control<QPushButton>(&d, "Command1")->click();
    }
    bool xattrsHere()
    {
        return store(file, dosAttribText(0))
            && removexattr(QFile::encodeName(file).constData(), DosAttribName) == 0;
    }

    QTemporaryDir dir;
    QString file;
};

} // namespace

TEST(DosAttrib, TextFormAsSambaWritesAndReadsIt)
{
    EXPECT_EQ(dosAttribText(0x2022), QByteArray("0x2022", 7)); // with its zero byte
    EXPECT_EQ(parseDosAttrib(QByteArray("0x2022", 7)), 0x2022u);
    EXPECT_EQ(parseDosAttrib("0X2A"), 0x2Au); // set by hand, no zero byte
    for (const QByteArray &bad : {QByteArray(), QByteArray("0x", 3), QByteArray("0xzz", 5),
                                 QByteArray("32"), QByteArray("0x100000000", 12),
                                 QByteArray("0x20\0junk", 9)})
        EXPECT_FALSE(parseDosAttrib(bad)) << bad.toHex().constData();
}

TEST(DosAttrib, BinaryRecordsKeepTheirFormAndOtherFields)
{
    // Version 5 as Samba writes it: empty text, the version twice, valid
    // flags (attribute, creation time), attributes, creation time.
    const QByteArray created = bytes({1, 2, 3, 4, 5, 6, 7, 8});
    const QByteArray v5 =
        bytes({0, 0, 5, 0, 5, 0, 0, 0, 0x11, 0, 0, 0, 0x20, 0x20, 0, 0}) + created;
    EXPECT_EQ(parseDosAttrib(v5), 0x2020u);
    const QByteArray changed = withDosAttributes(v5, 0x2006);
    EXPECT_EQ(changed, bytes({0, 0, 5, 0, 5, 0, 0, 0, 0x11, 0, 0, 0, 6, 0x20, 0, 0}) + created);

    // Version 3 after its text "0x20": the version at 6, the record at 12.
    QByteArray v3 = QByteArray("0x20", 5) + bytes({0, 3, 0, 3, 0, 0, 0}) + bytes({1, 0, 0, 0})
        + bytes({0x20, 0, 0, 0}) + QByteArray(36, '\x7f');
    EXPECT_EQ(parseDosAttrib(v3), 0x20u);
    // A longer text moves the version, and the record stays 4-byte aligned.
    const QByteArray v3b = withDosAttributes(v3, 0x2022);
    EXPECT_EQ(v3b.left(8), QByteArray("0x2022", 7) + '\0');
    EXPECT_EQ(v3b.mid(8, 4), bytes({3, 0, 3, 0}));
    EXPECT_EQ(v3b.mid(12, 8), bytes({1, 0, 0, 0, 0x22, 0x20, 0, 0}));
    EXPECT_EQ(v3b.mid(20), QByteArray(36, '\x7f'));
    EXPECT_EQ(parseDosAttrib(v3b), 0x2022u);

    // Version 1 starts with the attributes; version 2 with flags.
    const QByteArray v1 = bytes({0, 0, 1, 0, 1, 0, 0, 0, 0x26, 0, 0, 0}) + QByteArray(36, 0);
    EXPECT_EQ(parseDosAttrib(v1), 0x26u);
    const QByteArray v2 = bytes({0, 0, 2, 0, 2, 0, 0, 0, 1, 0, 0, 0, 0x04, 0, 0, 0})
        + QByteArray(44, 0) + QByteArray("n", 2);
    EXPECT_EQ(parseDosAttrib(v2), 0x04u);

    // An attribute field marked not valid holds no bits; writing marks it.
    QByteArray invalid = v5;
    invalid[8] = 0x10;
    EXPECT_EQ(parseDosAttrib(invalid), 0u);
    EXPECT_EQ(withDosAttributes(invalid, 2)[8], char(0x11));

    // Unknown versions, cut records and mismatched selectors are not ours.
    QByteArray v6 = v5, mismatch = v5;
    v6[2] = v6[4] = 6;
    mismatch[4] = 4;
    EXPECT_FALSE(parseDosAttrib(v6));
    EXPECT_FALSE(parseDosAttrib(mismatch));
    EXPECT_FALSE(parseDosAttrib(v5.left(v5.size() - 1)));
    EXPECT_FALSE(parseDosAttrib(v2.left(v2.size() - 1))); // the name lost its end
}

TEST(FilePropertiesTexts, SizeTypeFolderTimeAndTheUnsavedMessage)
{
    EXPECT_EQ(fileSizeText(1234), "1234 字节");
    EXPECT_EQ(fileTypeText("/tmp/a/b.jpeg"), "jpeg 文件");
    EXPECT_EQ(fileTypeText("ab"), "ab 文件");
    EXPECT_EQ(fileFolderText("/tmp/a/b.bmp"), "/tmp/a/");
    EXPECT_EQ(fileFolderText("b.bmp"), "");
    EXPECT_EQ(fileTimeText(QDateTime(QDate(2024, 5, 6), QTime(13, 45, 7))), "2024/5/6 13:45");
    EXPECT_EQ(notSavedMessage(), "\r  文件尚未存盘！    \r");
}

// A long folder moves what lies below its box, not the box itself.
TEST(FilePropertiesLayout, ALongFolderPushesOnlyWhatLiesBelowIt)
{
    const PropertiesLayout longPath = propertiesLayout(70, 10);
    const PropertiesLayout longFolder = propertiesLayout(70, 40);
    EXPECT_EQ(longFolder.folderTop, longPath.folderTop);
    EXPECT_EQ(longFolder.folderHeight, 570);
    EXPECT_EQ(longFolder.sizeTop - longPath.sizeTop, 190);
}

TEST_F(FileProperties, LoadShowsTheFile)
{
    {
        QFile f(file);
        f.open(QIODevice::ReadWrite);
        f.setFileTime(QDateTime(QDate(2023, 11, 2), QTime(8, 5)),
                      QFileDevice::FileModificationTime);
    }
    auto d = loaded(file);
    EXPECT_EQ(d->objectName(), "Frmquorfileattribute");
    EXPECT_EQ(d->windowTitle(), "文件属性");
    EXPECT_EQ(control<QPlainTextEdit>(d.get(), "filenametext")->toPlainText(), file);
    EXPECT_EQ(control<QPlainTextEdit>(d.get(), "filepathtext")->toPlainText(), dir.path() + "/");
    EXPECT_EQ(control<QLabel>(d.get(), "Labelfilesize")->text(), "1234 字节");
    EXPECT_EQ(control<QLabel>(d.get(), "Labelfiletype")->text(), ".bmp 文件");
    EXPECT_EQ(control<QLabel>(d.get(), "Labelfiletime")->text(), "2023/11/2 08:05");
    for (const char *box : {"Check1", "Check2", "Check3", "Check4"})
        EXPECT_FALSE(control<QCheckBox>(d.get(), box)->isChecked()) << box;
    EXPECT_TRUE(script.shown.isEmpty());
}

TEST_F(FileProperties, LayoutFollowsThePathLength)
{
    QTemporaryDir near("/tmp/qp-XXXXXX");
    const QString shortPath = writeFile(near.filePath("a.bmp"), 1);
    ASSERT_LT(shortPath.size(), 31);
    // 70 characters in all: two more lines of the name box.
    const QString longPath = near.filePath(QString(70 - near.path().size() - 1, 'n'));
    writeFile(longPath, 1);
    ASSERT_EQ(longPath.size(), 70);
    auto a = loaded(shortPath);
    auto b = loaded(longPath);
    EXPECT_EQ(control<QWidget>(b.get(), "filenametext")->height(), 760 / 15);
    EXPECT_EQ(topOf(b.get(), "filepathtext"), topOf(a.get(), "filepathtext") + 380 / 15);
    EXPECT_EQ(topOf(b.get(), "Label2"), topOf(a.get(), "Label2") + 380 / 15);
    EXPECT_EQ(topOf(b.get(), "Command1") - topOf(a.get(), "Command1"), 380 / 15);
    EXPECT_EQ(b->height() - a->height(), 380 / 15); // the form grows with them

    // Chinese characters take two columns each: a name of them gets the
    // lines it wraps to, with nothing hidden behind a scroll bar.
    const QString wide = near.filePath(QStringLiteral("画图文件夹里的图片名字很长很长很长的一个名字还要更长一点好.bmp"));
    writeFile(wide, 1);
    auto c = loaded(wide);
    c->show();
    auto *name = control<QPlainTextEdit>(c.get(), "filenametext");
    EXPECT_GT(name->height(), 3 * 190 / 15);
    EXPECT_EQ(name->verticalScrollBar()->maximum(), 0);
}

TEST_F(FileProperties, ReadOnlyIsTheWritePermissionAndSaveThenRefuses)
{
    const QString path = dir.filePath("open.bmp");
    QImage(4, 4, QImage::Format_RGB32).save(path, "BMP");
    chmod(QFile::encodeName(path).constData(), 0664);
    script.fileAnswers.push_back(path);
    main->openPicture();
    ASSERT_EQ(active()->caption(), path);

    // Through the menu: the dialog is modal, so act on it once it is up.
    bool seen = false;
    QTimer::singleShot(0, main.get(), [&] {
        auto *d = main->findChild<FilePropertiesDialog *>();
        ASSERT_NE(d, nullptr);
        seen = d->isVisible() && d->isModal();
        EXPECT_EQ(control<QPlainTextEdit>(d, "filenametext")->toPlainText(), path);
        apply(*d, true, false, false, false);
    });
    main->showFileProperties();
    EXPECT_TRUE(seen);
    EXPECT_EQ(modeOf(path), 0444u);
    EXPECT_EQ(lastMessage().kind, ""); // nothing to say

    main->save();
    EXPECT_EQ(lastMessage().text, readOnlyMessage(path));

    // The toolbar's button opens the same dialog; unchecking gives the
    // owner, and only the owner, write permission back.
    QTimer::singleShot(0, main.get(), [&] {
        auto *d = main->findChild<FilePropertiesDialog *>();
        ASSERT_NE(d, nullptr);
        EXPECT_TRUE(control<QCheckBox>(d, "Check1")->isChecked());
        apply(*d, false, false, false, false);
    });
    main->runToolBarButton("属性");
    EXPECT_EQ(modeOf(path), 0644u);
    EXPECT_EQ(main->findChild<FilePropertiesDialog *>(), nullptr); // closed and gone
}

TEST_F(FileProperties, NeverSavedDocumentSaysSoAndNoDocumentDoesNothing)
{
    // Even with a file of the caption's name in the current folder.
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(dir.path());
    writeFile("New Quor1", 10);
    main->showFileProperties();
    QDir::setCurrent(cwd);
    ASSERT_EQ(script.shown.size(), 1);
    EXPECT_EQ(script.shown[0].text, "\r  文件尚未存盘！    \r");
    EXPECT_EQ(script.shown[0].title, "New Quor1");
    EXPECT_EQ(script.shown[0].style, (MessageStyle{Buttons::Ok, Icon::Exclamation}));
    EXPECT_EQ(main->findChild<FilePropertiesDialog *>(), nullptr);

    // A saved file that disappeared since says the same.
    const QString gone = dir.filePath("gone.bmp");
    loaded(gone, false);
    EXPECT_EQ(lastMessage().title, gone);

    active()->closeDocument();
    ASSERT_EQ(active(), nullptr);
    script.shown.clear();
    main->showFileProperties();
    EXPECT_TRUE(script.shown.isEmpty());
}

TEST_F(FileProperties, AnEditedNameIsTheFileChangedAndAMissingOneIsSaid)
{
    if (!xattrsHere())
        GTEST_SKIP() << "the temporary folder holds no user extended attributes";
    const QString other = writeFile(dir.filePath("other.bmp"), 5);
    auto d = loaded(file);
    control<QPlainTextEdit>(d.get(), "filenametext")->setPlainText(other);
    apply(*d, false, true, false, false);
    EXPECT_EQ(storedValue(other), dosAttribText(dosattr::Hidden));
    EXPECT_TRUE(storedValue(file).isNull());
    EXPECT_TRUE(script.shown.isEmpty());

    d = loaded(file);
    control<QPlainTextEdit>(d.get(), "filenametext")->setPlainText(dir.filePath("none.bmp"));
    apply(*d, true, false, false, false);
    EXPECT_EQ(lastMessage().text, "\r文件未找到");
    EXPECT_EQ(lastMessage().title, QCoreApplication::applicationName());
    EXPECT_EQ(d->result(), QDialog::Accepted); // closed all the same
}

TEST_F(FileProperties, HiddenSystemArchiveLiveInTheExtendedAttribute)
{
    if (!xattrsHere())
        GTEST_SKIP() << "the temporary folder holds no user extended attributes";
    // Archive and "not content-indexed" (0x2000), which the dialog does not show.
    ASSERT_TRUE(store(file, dosAttribText(0x2020)));
    auto d = loaded(file);
    EXPECT_TRUE(control<QCheckBox>(d.get(), "Check4")->isChecked());
    apply(*d, false, true, true, false);
    EXPECT_EQ(storedValue(file), dosAttribText(0x2006));
    d = loaded(file);
    EXPECT_TRUE(control<QCheckBox>(d.get(), "Check2")->isChecked());
    EXPECT_TRUE(control<QCheckBox>(d.get(), "Check3")->isChecked());
    EXPECT_FALSE(control<QCheckBox>(d.get(), "Check4")->isChecked());

    // Samba's own record keeps its form and its creation time.
    const QByteArray v5 =
        bytes({0, 0, 5, 0, 5, 0, 0, 0, 0x11, 0, 0, 0, 0x20, 0, 0, 0}) + QByteArray(8, 9);
    ASSERT_TRUE(store(file, v5));
    apply(*loaded(file), true, true, false, true);
    EXPECT_EQ(storedValue(file), withDosAttributes(v5, 0x23));
    EXPECT_EQ(modeOf(file), 0444u);

    // A value it cannot read is left alone; asking for bits says so.
    chmod(QFile::encodeName(file).constData(), 0644);
    ASSERT_TRUE(store(file, "something else"));
    d = loaded(file);
    EXPECT_FALSE(control<QCheckBox>(d.get(), "Check4")->isChecked());
    apply(*d, false, false, false, false);
    EXPECT_TRUE(script.shown.isEmpty());
    apply(*loaded(file), false, true, false, false);
    EXPECT_EQ(storedValue(file), "something else");
    EXPECT_TRUE(lastMessage().text.contains("“隐藏”"));
}

// Writing a user extended attribute needs write permission, which root has
// regardless; an owner who is not root shows whether the order is right.
TEST_F(FileProperties, AnOwnerWhoIsNotRootChangesBothWays)
{
    if (!xattrsHere())
        GTEST_SKIP() << "the temporary folder holds no user extended attributes";
    const uid_t nobody = 65534;
    const bool root = geteuid() == 0;
    if (root) {
        chmod(QFile::encodeName(dir.path()).constData(), 0755);
        ASSERT_EQ(chown(QFile::encodeName(file).constData(), nobody, nobody), 0);
    }
    // 0: applied whole, 1: something not kept, 2: an error.
    const auto applyAsOwner = [&](std::uint32_t bits) {
        const auto run = [&] {
            try {
                return applyFileAttributes(file, bits).bits ? 1 : 0;
            } catch (const QuorError &) {
                return 2;
            }
        };
        if (!root)
            return run();
        const pid_t pid = fork();
        if (pid == 0)
            _exit(setgid(nobody) == 0 && setuid(nobody) == 0 ? run() : 3);
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 4;
    };
    EXPECT_EQ(applyAsOwner(dosattr::ReadOnly | dosattr::Hidden), 0);
    EXPECT_EQ(modeOf(file), 0444u);
    EXPECT_EQ(storedValue(file), dosAttribText(0x3));
    EXPECT_EQ(applyAsOwner(dosattr::Archive), 0);
    EXPECT_EQ(modeOf(file), 0644u);
    EXPECT_EQ(storedValue(file), dosAttribText(0x20));
}

namespace {

// A folder on a file system without user extended attributes, mounted for
// the test and unmounted after it.
class NoExtendedAttributes : public FileProperties
{
protected:
    void TearDown() override
    {
        if (!mounted.isEmpty())
            QProcess::execute("umount", {"-l", mounted});
        FileProperties::TearDown();
    }
    // Mounts with `args` on a new folder; empty with the reason in `why`.
    QString mountHere(const QStringList &args, QString &why)
    {
        if (geteuid() != 0) {
            why = "mounting needs root";
            return {};
        }
        const QString at = dir.filePath("mnt");
        QDir(dir.path()).mkpath("mnt");
        QProcess p;
        p.start("mount", args + QStringList{at});
        if (!p.waitForFinished(20000) || p.exitStatus() != QProcess::NormalExit || p.exitCode()) {
            why = "cannot mount here: "
                + QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
            return {};
        }
        return mounted = at;
    }
    void expectReadOnlyAppliedAndHiddenSaid(const QString &folder)
    {
        const QString path = writeFile(folder + "/a.bmp", 3, 0644);
        apply(*loaded(path), true, false, false, false);
        EXPECT_EQ(modeOf(path) & 0222, 0u);
        EXPECT_TRUE(script.shown.isEmpty()); // read-only alone needs no attribute

        apply(*loaded(path), false, true, false, true);
        EXPECT_NE(modeOf(path) & S_IWUSR, 0u);
        const QString text = lastMessage().text;
        EXPECT_TRUE(text.startsWith("\r")) << text.toStdString();
        EXPECT_TRUE(text.contains("“隐藏”") && text.contains("“存档”") && !text.contains("“系统”"))
            << text.toStdString();
        EXPECT_TRUE(text.contains("扩展属性")) << text.toStdString();
        EXPECT_EQ(lastMessage().title, QCoreApplication::applicationName());
    }

    QString mounted;
};

} // namespace

TEST_F(NoExtendedAttributes, VfatImage)
{
    QString mkfs = QStandardPaths::findExecutable("mkfs.vfat");
    if (mkfs.isEmpty())
        mkfs = QStandardPaths::findExecutable("mkfs.vfat", {"/sbin", "/usr/sbin"});
    if (mkfs.isEmpty())
        GTEST_SKIP() << "mkfs.vfat is not installed (package dosfstools)";
    const QString image = dir.filePath("fat.img");
    {
        QFile f(image);
        f.open(QIODevice::WriteOnly);
        f.resize(2 << 20);
    }
    QString why;
    if (QProcess::execute(mkfs, {"-n", "QUOR", image}) != 0)
        GTEST_SKIP() << "mkfs.vfat failed";
    const QString at = mountHere({"-o", "loop", image}, why);
    if (at.isEmpty())
        GTEST_SKIP() << "vfat: " << why.toStdString();
    expectReadOnlyAppliedAndHiddenSaid(at);
}

TEST_F(NoExtendedAttributes, Ramfs)
{
    QString why;
    const QString at = mountHere({"-t", "ramfs", "none"}, why);
    if (at.isEmpty())
        GTEST_SKIP() << "ramfs: " << why.toStdString();
    expectReadOnlyAppliedAndHiddenSaid(at);
}
