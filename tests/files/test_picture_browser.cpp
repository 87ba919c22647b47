// The picture browser on a real main window, driven by mouse and key
// events on its controls, with its messages answered from a script.
#include "program_fixture.h"

#include "files/drive_list.h"
#include "files/file_texts.h"
#include "files/picture_browser.h"
#include "formats/picture_loader.h"
#include "formats/picture_samples.h"
#include "files/sample_loader.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <future>
#include <utility>

#include <sys/stat.h>

using namespace quor;

namespace {

class Browser : public ProgramTest
{
protected:
    void TearDown() override
    {
        setVolumeSource({});
        ProgramTest::TearDown();
    }

    PictureBrowser *browse()
    {
        main->action("Hexplor")->trigger();
        auto *b = main->findChild<PictureBrowser *>();
        return b;
    }
    // The browser on the test folder.
    PictureBrowser *browseHere()
    {
        PictureBrowser *b = browse();
        b->setDirPath(folder());
        return b;
    }
    QString folder() const { return QDir(dir.path()).canonicalPath(); }
    QString path(const QString &name) const { return folder() + '/' + name; }

    // A w x h bitmap, blue left of the middle and yellow right of it.
    QImage writePicture(const QString &name, int w, int h)
    {
        QImage img(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                img.setPixel(x, y, x < w / 2 ? qRgb(0, 0, 255) : qRgb(255, 255, 0));
        img.save(path(name), "BMP");
        return img;
    }

    static QStringList listed(const QListWidget *list)
    {
        QStringList names;
        for (int i = 0; i < list->count(); ++i)
            names << list->item(i)->text();
        return names;
    }
    static void clickFile(PictureBrowser *b, const QString &name)
    {
        const QList<QListWidgetItem *> items = b->fileList()->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name.toStdString();
        QTest::mouseClick(b->fileList()->viewport(), Qt::LeftButton, {},
                          b->fileList()->visualItemRect(items[0]).center());
    }
    static bool sampleSettled(PictureBrowser *b)
    {
        return QTest::qWaitFor([b] { return b->sampleLoader()->pending().isEmpty(); }, 10000);
    }
    // Shows the file's sample and waits until it is there.
    static void sample(PictureBrowser *b, const QString &name)
    {
        clickFile(b, name);
        ASSERT_TRUE(sampleSettled(b));
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(Browser, BrowseShowsOneModelessWindowAboveTheOthers)
{
    PictureBrowser *b = browse();
    ASSERT_TRUE(b);
    EXPECT_TRUE(b->isVisible());
    EXPECT_TRUE(b->isWindow());
    EXPECT_FALSE(b->isModal());
    EXPECT_TRUE(b->isTopmost());
    EXPECT_EQ(b->windowTitle(), "Vedoz Izoverod");
    EXPECT_EQ(b->size(), QSize(665, 475));
    EXPECT_EQ(b->pos(), main->screen()->geometry().topLeft());
    EXPECT_EQ(b->sizeBox()->text(), "相片尺寸(宽 高)");
    EXPECT_EQ(b->openButton()->text(), "打 开");
    EXPECT_EQ(b->cancelButton()->text(), "取 消");
    EXPECT_EQ(b->dirPath(), QDir::currentPath());

    // Browse again brings the same window.
    EXPECT_EQ(browse(), b);
    EXPECT_EQ(main->findChildren<PictureBrowser *>().size(), 1);

    const QPointer<PictureBrowser> gone = b;
    QTest::mouseClick(b->cancelButton(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(gone.isNull());
    PictureBrowser *again = browse();
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->isVisible());
}

TEST_F(Browser, ListsThePicturesOfTheFolderInAnyCaseAndMovesBetweenFolders)
{
    for (const char *name : {"a.BMP", "b.jpg", "c.txt", "d.Qor", "z.Emf", "j.jpegx"})
        samples::writeFile(path(name), "x");
    QDir(folder()).mkdir("e.gif"); // a folder with a picture's name
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("f.bmp")).constData(), 0600), 0);
    QDir(folder()).mkdir("sub");
    writePicture("sub/g.gif", 4, 4);

    PictureBrowser *b = browseHere();
    EXPECT_EQ(listed(b->fileList()), QStringList({"a.BMP", "b.jpg", "d.Qor", "z.Emf"}));
    ASSERT_TRUE(b->folderList()->currentItem());
    EXPECT_EQ(b->folderList()->currentItem()->text(0), QDir(folder()).dirName());

    // A double click goes into a subfolder, Enter on an ancestor up again.
    const auto recursive = Qt::MatchExactly | Qt::MatchRecursive;
    QTreeWidgetItem *sub = b->folderList()->findItems("sub", recursive).value(0);
    ASSERT_TRUE(sub);
    const QPoint at = b->folderList()->visualItemRect(sub).center();
    QTest::mouseClick(b->folderList()->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(b->dirPath(), folder()); // one click only chooses
    QTest::mouseDClick(b->folderList()->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(b->dirPath(), path("sub"));
    EXPECT_EQ(listed(b->fileList()), QStringList({"g.gif"}));

    QTreeWidgetItem *up = b->folderList()->findItems(QDir(folder()).dirName(), recursive).value(0);
    ASSERT_TRUE(up);
    b->folderList()->setFocus();
    b->folderList()->setCurrentItem(up);
    QTest::keyClick(b->folderList(), Qt::Key_Return);
    EXPECT_EQ(b->dirPath(), folder());
    EXPECT_EQ(b->fileList()->count(), 4);
}

TEST_F(Browser, SampleFitsCentredOrScrollsToItsFarEdge)
{
    writePicture("small.bmp", 24, 16);
    const QImage wide = writePicture("wide.bmp", 9000, 20);
    PictureBrowser *b = browseHere();
    SampleBox *s = b->sampleBox();
    const QWidget *frame = b->sampleFrame();

    auto expectCentred = [&] {
        EXPECT_TRUE(s->isVisible());
        EXPECT_EQ(b->sizeBox()->text(), "360  240");
        EXPECT_EQ(s->size(), QSize(24, 16));
        EXPECT_LE(std::abs(s->geometry().center().x() - frame->width() / 2), 1);
        EXPECT_LE(std::abs(s->geometry().center().y() - frame->height() / 2), 1);
        EXPECT_EQ(b->horizontalScrollBar()->maximum(), 0);
        EXPECT_EQ(b->verticalScrollBar()->maximum(), 0);
    };
    sample(b, "small.bmp");
    expectCentred();

    sample(b, "wide.bmp");
    EXPECT_EQ(b->sizeBox()->text(), "135000  300");
    EXPECT_EQ(s->x(), 0);
    EXPECT_EQ(b->verticalScrollBar()->maximum(), 0);
    const int visible = b->verticalScrollBar()->x(); // the bar lies over the frame's right edge
    EXPECT_GT(b->horizontalScrollBar()->maximum(), 1638);
    // End takes the bar to its last value: the far edge comes into view.
    b->horizontalScrollBar()->setFocus();
    QTest::keyClick(b->horizontalScrollBar(), Qt::Key_End);
    EXPECT_EQ(b->horizontalScrollBar()->value(), b->horizontalScrollBar()->maximum());
    EXPECT_LE(s->geometry().right() + 1, visible);
    EXPECT_GE(s->geometry().right() + 1, visible - 2);
    // What shows at the bar's edge is the picture's last column.
    EXPECT_EQ(s->picture().pixel(wide.width() - 1, 0), wide.pixel(wide.width() - 1, 0));

    // A small sample after a scrolled one is centred, not left where the
    // old scroll value would put it.
    sample(b, "small.bmp");
    expectCentred();
    EXPECT_EQ(b->horizontalScrollBar()->value(), 0);
}

TEST_F(Browser, EveryFormatShowsItsSampleAtItsSize)
{
    QImage solid(20, 10, QImage::Format_RGB32);
    solid.fill(qRgb(200, 30, 30));
    writePicture("a.bmp", 24, 16);
    const samples::Pixel red = [](int, int) { return 0xc81e1eu; };
    samples::writeFile(path("b.dib"),
                       samples::infoHeader(2, 1, 24, 0) + samples::rows(2, 1, 24, red));
    const samples::Pixel first = [](int, int) { return 0u; };
    samples::writeFile(path("c.gif"), samples::gif(3, 2, {qRgb(200, 30, 30)}, {first}));
    samples::writeFile(path("d.jpeg"), samples::jpeg(solid));
    const QByteArray icon = samples::iconImage(16, 24, qRgb(1, 2, 3));
    samples::writeFile(path("e.ico"), samples::icoFile({{16, icon}}));
    samples::wmfShapes(path("f.wmf"), true);
    // Text drawn by a metafile is drawn off the window's thread too.
    samples::emfTurnedText(path("g.emf"), 450);
    PictureBrowser *b = browseHere();
    for (const char *name : {"a.bmp", "b.dib", "c.gif", "d.jpeg", "e.ico", "f.wmf", "g.emf"}) {
        const QImage expected = loadPictureFile(path(name));
        sample(b, name);
        EXPECT_EQ(b->sampleBox()->picture().size(), expected.size()) << name;
        EXPECT_EQ(b->sizeBox()->text(),
                  QString("%1  %2").arg(expected.width() * 15).arg(expected.height() * 15))
            << name;
        EXPECT_TRUE(b->sampleBox()->isVisible()) << name;
    }
}

TEST_F(Browser, DamagedOrOversizedFileGivesAnEmptySampleAndTheReason)
{
    writePicture("good.bmp", 24, 16);
    samples::writeFile(path("bad.bmp"), "BM this is no bitmap at all");
    samples::writeFile(path("huge.bmp"),
                       samples::bmpFile(samples::infoHeader(40000, 40000, 24, 0), 54));
    PictureBrowser *b = browseHere();
    auto reason = [&](const QString &name) {
        try {
            loadPictureFile(path(name));
        } catch (const QuorError &e) {
            return e.description;
        }
        return QString();
    };
    sample(b, "good.bmp");
    for (const char *name : {"bad.bmp", "huge.bmp"}) {
        sample(b, name);
        EXPECT_FALSE(b->sampleBox()->isVisible()) << name;
        EXPECT_FALSE(reason(name).isEmpty());
        EXPECT_EQ(b->sizeBox()->text(), reason(name)) << name;
        EXPECT_EQ(b->horizontalScrollBar()->maximum() + b->verticalScrollBar()->maximum(), 0);
    }
    sample(b, "good.bmp");
    EXPECT_TRUE(b->sampleBox()->isVisible());
    EXPECT_EQ(b->sizeBox()->text(), "360  240");
}

TEST_F(Browser, NewerSelectionWinsOverASlowOlderOne)
{
    writePicture("fast.bmp", 24, 16);
    writePicture("slow.bmp", 50, 50);
    PictureBrowser *b = browseHere();
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    // However the test ends, the worker is let go.
    struct Release
    {
        std::promise<void> &p;
        bool done = false;
        void now()
        {
            if (!std::exchange(done, true))
                p.set_value();
        }
        ~Release() { now(); }
    } letGo{release};
    b->sampleLoader()->setReader([released](const QString &f) {
        if (f.endsWith("slow.bmp"))
            released.wait();
        return loadPictureFile(f);
    });

    clickFile(b, "slow.bmp");
    EXPECT_FALSE(b->sampleBox()->isVisible());
    // The window answers while the slow file is being read.
    sample(b, "fast.bmp");
    EXPECT_EQ(b->sizeBox()->text(), "360  240");
    letGo.now();
    QTest::qWait(300);
    EXPECT_EQ(b->sampleBox()->picture().size(), QSize(24, 16));
    EXPECT_EQ(b->sizeBox()->text(), "360  240");
}

TEST_F(Browser, OpenAfterAllDocumentsClosedMakesAReadyDocumentAndStays)
{
    const QImage picture = writePicture("a.bmp", 24, 16);
    writePicture("b.bmp", 10, 10);
    active()->closeDocument();
    ASSERT_EQ(workspace().documentCount(), 0);
    ASSERT_FALSE(main->action("mnuFileSave")->isEnabled());
    workspace().settings.lineWidth = 7;

    PictureBrowser *b = browseHere();
    QTest::mouseClick(b->openButton(), Qt::LeftButton); // nothing chosen: nothing happens
    EXPECT_EQ(workspace().documentCount(), 0);

    clickFile(b, "a.bmp");
    QTest::mouseClick(b->openButton(), Qt::LeftButton);
    ASSERT_EQ(workspace().documentCount(), 1);
    EXPECT_EQ(active()->caption(), path("a.bmp"));
    EXPECT_FALSE(active()->document().isModified());
    EXPECT_EQ(canvas().image().size(), picture.size());
    EXPECT_EQ(canvas().image().pixel(3, 3), picture.pixel(3, 3));
    EXPECT_EQ(canvas().image().pixel(20, 3), picture.pixel(20, 3));
    EXPECT_EQ(canvas().drawWidth(), 7);
    EXPECT_TRUE(main->action("mnuFileSave")->isEnabled());
    EXPECT_TRUE(b->isVisible());
    EXPECT_TRUE(b->isTopmost());
    EXPECT_TRUE(script.shown.isEmpty());

    // The next file at once.
    clickFile(b, "b.bmp");
    QTest::mouseClick(b->openButton(), Qt::LeftButton);
    EXPECT_EQ(workspace().documentCount(), 2);
    EXPECT_EQ(active()->caption(), path("b.bmp"));
}

TEST_F(Browser, VanishedFileAsksWithItsNameAndRetryOpensItOnceBack)
{
    writePicture("a.bmp", 24, 16);
    PictureBrowser *b = browseHere();
    clickFile(b, "a.bmp");
    ASSERT_TRUE(QFile::rename(path("a.bmp"), path("away")));
    bool topmostDuringMessage = true;
    script.messageAnswers = {Answer::Retry};
    script.onShow = [&](const ShownDialog &) {
        topmostDuringMessage = b->isTopmost();
        QFile::rename(path("away"), path("a.bmp"));
    };
    QTest::mouseClick(b->openButton(), Qt::LeftButton);

    ASSERT_EQ(script.shown.size(), 1);
    const ShownDialog &d = script.shown[0];
    EXPECT_EQ(d.title, path("a.bmp"));
    EXPECT_EQ(d.text, notFoundMessage("New Quor2"));
    EXPECT_EQ(d.style, (MessageStyle{Buttons::RetryCancel, Icon::Exclamation}));
    EXPECT_FALSE(topmostDuringMessage);
    EXPECT_TRUE(b->isTopmost());
    EXPECT_EQ(workspace().documentCount(), 2);
    EXPECT_EQ(active()->caption(), path("a.bmp"));
    EXPECT_EQ(canvas().image().size(), QSize(24, 16));

    // Cancel: the window made for it stays, empty.
    ASSERT_TRUE(QFile::remove(path("a.bmp")));
    script.onShow = {};
    script.messageAnswers = {Answer::Cancel};
    QTest::mouseClick(b->openButton(), Qt::LeftButton);
    EXPECT_EQ(script.shown.size(), 2);
    EXPECT_EQ(workspace().documentCount(), 3);
    EXPECT_EQ(active()->caption(), "New Quor3");
    EXPECT_TRUE(b->isTopmost());
}

TEST_F(Browser, OtherOpenFailuresSayWhyOnce)
{
    samples::writeFile(path("bad.gif"), "GIF89a broken");
    PictureBrowser *b = browseHere();
    clickFile(b, "bad.gif");
    QTest::mouseClick(b->openButton(), Qt::LeftButton);
    ASSERT_EQ(script.shown.size(), 1);
    EXPECT_EQ(script.shown[0].style, (MessageStyle{Buttons::Ok}));
    EXPECT_EQ(script.shown[0].title, QCoreApplication::applicationName());
    EXPECT_TRUE(script.shown[0].text.startsWith('\r'));
    EXPECT_EQ(workspace().documentCount(), 2); // the window made for it stays
    EXPECT_TRUE(b->isTopmost());

    // Spent document counters: said, and no window.
    workspace().newDocumentCount = INT32_MAX;
    QTest::mouseClick(b->openButton(), Qt::LeftButton);
    ASSERT_EQ(script.shown.size(), 2);
    EXPECT_EQ(script.shown[1].text, "\r溢出");
    EXPECT_EQ(workspace().documentCount(), 2);
    EXPECT_TRUE(b->isTopmost());
}

TEST_F(Browser, DriveNotReadyAsksUnderItsNameAndRetryEntersIt)
{
    QTemporaryDir card;
    const QString root = QDir(card.path()).canonicalPath();
    bool ready = false;
    setVolumeSource([&] { return QList<Volume>{{root, "Card", "/dev/sdb1", "vfat", ready}}; });
    PictureBrowser *b = browseHere();
    QComboBox *drives = b->driveBox();
    ASSERT_EQ(drives->count(), 3); // home, the root, the card
    bool topmostDuringMessage = true;
    script.messageAnswers = {Answer::Retry};
    script.onShow = [&](const ShownDialog &) {
        topmostDuringMessage = b->isTopmost();
        ready = true; // the card is in now
    };
    drives->setFocus();
    QTest::keyClick(drives, Qt::Key_End);
    ASSERT_EQ(script.shown.size(), 1);
    EXPECT_EQ(script.shown[0].text, "驱动器未准备好！");
    EXPECT_EQ(script.shown[0].title, "CARD");
    EXPECT_EQ(script.shown[0].style, (MessageStyle{Buttons::RetryCancel, Icon::Exclamation}));
    EXPECT_FALSE(topmostDuringMessage);
    EXPECT_TRUE(b->isTopmost());
    EXPECT_EQ(b->dirPath(), root);

    // Home again, then the card taken out: Cancel keeps the card chosen and
    // the home folder shown.
    QTest::keyClick(drives, Qt::Key_Home);
    EXPECT_EQ(b->dirPath(), QDir(QDir::homePath()).canonicalPath());
    ready = false;
    script.onShow = {};
    script.messageAnswers = {Answer::Cancel};
    QTest::keyClick(drives, Qt::Key_End);
    EXPECT_EQ(script.shown.size(), 2);
    EXPECT_EQ(drives->currentIndex(), 2);
    EXPECT_EQ(b->dirPath(), QDir(QDir::homePath()).canonicalPath());
    EXPECT_TRUE(b->isTopmost());
}

TEST_F(Browser, ASampleWithTransparentPartsShowsNothingOfThePreviousOne)
{
    const samples::Pixel first = [](int, int) { return 0u; };
    samples::writeFile(path("red.gif"), samples::gif(32, 32, {qRgb(255, 0, 0)}, {first}));
    // Transparent outside a 8-pixel frame's inside.
    const samples::Pixel corners = [](int x, int y) {
        return std::uint32_t(x < 8 || y < 8 || x >= 24 || y >= 24);
    };
    samples::writeFile(path("ring.ico"),
                       samples::icoFile({{32, samples::iconImage(32, 24, qRgb(0, 0, 200), corners)}}));
    PictureBrowser *b = browseHere();
    sample(b, "red.gif");
    sample(b, "ring.ico");
    // Drawn over what the window showed before, as the screen has it.
    QImage shown(32, 32, QImage::Format_RGB32);
    shown.fill(Qt::red);
    b->sampleBox()->render(&shown, {}, {}, QWidget::DrawChildren);
    const QRgb back = b->sampleBox()->palette().window().color().rgb();
    EXPECT_EQ(shown.pixel(1, 1), back);
    EXPECT_EQ(shown.pixel(30, 30), back);
    EXPECT_EQ(shown.pixel(16, 16), qRgb(0, 0, 200));
}

TEST_F(Browser, DoubleClickOnAFileOpensItAsOpenDoes)
{
    const QImage picture = writePicture("a.bmp", 24, 16);
    PictureBrowser *b = browseHere();
    const QListWidgetItem *item = b->fileList()->findItems("a.bmp", Qt::MatchExactly).value(0);
    ASSERT_TRUE(item);
    const QPoint at = b->fileList()->visualItemRect(item).center();
    QTest::mouseClick(b->fileList()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(b->fileList()->viewport(), Qt::LeftButton, {}, at);
    ASSERT_EQ(workspace().documentCount(), 2);
    EXPECT_EQ(active()->caption(), path("a.bmp"));
    EXPECT_EQ(canvas().image(), picture);
    EXPECT_TRUE(b->isVisible());
    EXPECT_TRUE(script.shown.isEmpty());
}

// Root reads every folder; an effective user who is not root shows what
// others see.
TEST_F(Browser, AnUnreadableFolderSaysSoInsteadOfLookingEmpty)
{
    writePicture("a.bmp", 24, 16);
    const QString locked = path("locked");
    ASSERT_TRUE(QDir(folder()).mkdir("locked"));
    chmod(QFile::encodeName(folder()).constData(), 0755);
    chmod(QFile::encodeName(locked).constData(), 0);
    PictureBrowser *b = browseHere();
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(seteuid(65534), 0);
    }
    b->setDirPath(locked);
    if (root) {
        ASSERT_EQ(seteuid(0), 0);
    }
    chmod(QFile::encodeName(locked).constData(), 0755);
    ASSERT_EQ(script.shown.size(), 1);
    EXPECT_EQ(script.shown[0].text,
              otherErrorMessage(QString("无法读取文件夹“%1”：权限不够").arg(locked)));
    EXPECT_EQ(b->dirPath(), locked);
    EXPECT_TRUE(b->isTopmost());

    // A folder that went away gives the system's reason.
    b->setDirPath(path("gone"));
    ASSERT_EQ(script.shown.size(), 2);
    EXPECT_TRUE(script.shown[1].text.contains("“" + path("gone") + "”：")) << script.shown[1].text.toStdString();
}
