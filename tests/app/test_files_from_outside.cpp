// Pictures that come from outside: file names on the command line at
// start-up, and files dropped on the main window or on a document as real
// drag-and-drop events.
#include "program_fixture.h"

#include "app/files_from_outside.h"
#include "files/file_texts.h"
#include "formats/picture_errors.h"
#include "formats/picture_samples.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace quor;

namespace {

// A picture with a different colour in each half, so a wrong file or a
// flipped one shows.
QImage halves(int width, int height, QRgb left, QRgb right)
{
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(right);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width / 2; ++x)
            img.setPixel(x, y, left);
    return img;
}

QStringList captions(Workspace &s)
{
    QStringList result;
    for (int i = 1; i <= s.documentCount(); ++i)
        result << s.document(i)->caption();
    return result;
}

QList<ShownDialog> messages(const DialogScript &script)
{
    QList<ShownDialog> m;
    for (const ShownDialog &d : script.shown)
        if (d.kind == "message")
            m << d;
    return m;
}

} // namespace

TEST(FilesFromArguments, NamesBecomeAbsolutePathsAndOptionsAreSkipped)
{
    const QString dir = "/home/user/pictures";
    EXPECT_EQ(filesFromArguments({"quor"}, dir), QStringList());
    EXPECT_EQ(filesFromArguments({"/usr/bin/quor", "a.bmp", "/tmp/b.gif", "sub/../c.jpg",
                                  "file:///tmp/with%20blank.bmp", "", "-v", "--style=x",
                                  "http://example.org/d.bmp"},
                                 dir),
              QStringList({"/home/user/pictures/a.bmp", "/tmp/b.gif", "/home/user/pictures/c.jpg",
                           "/tmp/with blank.bmp"}));
    // After "--" a name may begin with a dash, and a second "--" is a name.
    EXPECT_EQ(filesFromArguments({"quor", "--", "-odd.bmp", "--"}, dir),
              QStringList({"/home/user/pictures/-odd.bmp", "/home/user/pictures/--"}));
}

TEST(DroppedFiles, OnlyLocalFilesCountNeverTextFoldersOrRemoteAddresses)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("p.bmp");
    QFile(file).open(QIODevice::WriteOnly);

    QMimeData text;
    text.setText(file); // a path as text is still text
    EXPECT_TRUE(droppedFiles(&text).isEmpty());
    EXPECT_TRUE(droppedFiles(nullptr).isEmpty());

    QMimeData mixed;
    mixed.setUrls({QUrl("https://example.org/p.bmp"), QUrl::fromLocalFile(dir.path()),
                   QUrl::fromLocalFile(file)});
    EXPECT_EQ(droppedFiles(&mixed), QStringList{file});
}

namespace {

class FilesFromOutside : public ProgramTest
{
protected:
    QString writePicture(const QString &name, const QImage &img)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(img.save(path, "BMP"));
        return path;
    }
    QString writeText(const QString &name)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("GIF? no, just some words\n");
        return path;
    }
    // The main window as the program makes it when it was given files, in
    // place of the fixture's.
    MainWindow &startWith(const QStringList &files)
    {
        main.reset();
        main = std::make_unique<MainWindow>(nullptr, false);
        main->show();
        main->openStartFiles(files);
        return *main;
    }
    // A drag entering the widget and, when some window takes it, the drop,
    // as the window system delivers them.
    bool drop(QWidget *target, const QMimeData &data)
    {
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        QTest::qWait(20); // the files open once the drop is over
        return dropped.isAccepted();
    }
    std::unique_ptr<QMimeData> filesData(const QStringList &paths)
    {
        QList<QUrl> urls;
        for (const QString &p : paths)
            urls << QUrl::fromLocalFile(p);
        auto data = std::make_unique<QMimeData>();
        data->setUrls(urls);
        return data;
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(FilesFromOutside, StartOpensEachGoodFileAndSaysWhichOneIsNotAPicture)
{
    const QString a = writePicture("a.bmp", halves(30, 20, qRgb(255, 0, 0), qRgb(0, 0, 255)));
    const QString bad = writeText("bad.gif");
    const QString b = writePicture("b.bmp", halves(12, 8, qRgb(0, 255, 0), qRgb(0, 0, 0)));
    MainWindow &w = startWith({a, bad, b});
    Workspace &s = w.workspace();

    EXPECT_EQ(captions(s), QStringList({a, b})); // no "New Quor1", nothing for the bad one
    EXPECT_EQ(w.findChildren<DocumentWindow *>().size(), 2);
    EXPECT_EQ(s.activeDocument()->caption(), b);
    const QImage &first = s.document(1)->document().canvas().image();
    EXPECT_EQ(first.size(), QSize(30, 20));
    EXPECT_EQ(first.pixel(2, 2) & 0xffffff, 0xff0000u);
    EXPECT_EQ(first.pixel(27, 17) & 0xffffff, 0x0000ffu);
    for (int i = 1; i <= 2; ++i)
        EXPECT_FALSE(s.document(i)->document().isModified());
    EXPECT_TRUE(w.action("mnuFileSave")->isEnabled());

    const QList<ShownDialog> shown = messages(script);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].title, bad);
    EXPECT_EQ(shown[0].text, otherErrorMessage(notAPicture().description));
    EXPECT_EQ(shown[0].style, (MessageStyle{Buttons::Ok}));
}

TEST_F(FilesFromOutside, AMissingFileOffersRetryAndWhenNoneOpensTheEmptyDocumentIsThere)
{
    // Retry after the file has appeared opens it.
    const QString late = dir.filePath("late.bmp");
    script.messageAnswers = {Answer::Retry};
    script.onShow = [&](const ShownDialog &) {
        halves(10, 10, qRgb(1, 2, 3), qRgb(4, 5, 6)).save(late, "BMP");
    };
    EXPECT_EQ(captions(startWith({late}).workspace()), QStringList{late});
    ASSERT_EQ(messages(script).size(), 1);
    EXPECT_EQ(messages(script)[0].text, notFoundMessage(late));
    EXPECT_EQ(messages(script)[0].title, late);
    EXPECT_EQ(messages(script)[0].style, (MessageStyle{Buttons::RetryCancel, Icon::Exclamation}));

    // Cancel on the missing one and a bad one: the usual start after all.
    script.onShow = nullptr;
    script.shown.clear();
    script.messageAnswers = {Answer::Cancel};
    MainWindow &w = startWith({dir.filePath("gone.bmp"), writeText("words.bmp")});
    EXPECT_EQ(messages(script).size(), 2);
    EXPECT_EQ(captions(w.workspace()), QStringList{"New Quor1"});
    EXPECT_EQ(w.workspace().newDocumentCount, 1);
    EXPECT_EQ(w.findChildren<DocumentWindow *>().size(), 1);
    EXPECT_TRUE(w.action("mnuFileSave")->isEnabled());
    EXPECT_TRUE(w.action("mnuFileExport")->isEnabled());
}

TEST_F(FilesFromOutside, PictureFilesDroppedOnTheMainWindowOrADocumentOpen)
{
    const QString a = writePicture("a.bmp", halves(16, 16, qRgb(9, 9, 9), qRgb(200, 0, 0)));
    const QString b = writePicture("b.bmp", halves(8, 4, qRgb(0, 9, 0), qRgb(0, 0, 200)));

    EXPECT_TRUE(drop(main.get(), *filesData({a})));
    EXPECT_EQ(captions(workspace()), QStringList({"New Quor1", a}));
    EXPECT_EQ(active()->document().canvas().image().size(), QSize(16, 16));

    // Onto the canvas of a document, two at once.
    EXPECT_TRUE(drop(active()->view()->canvasBox(), *filesData({b, a})));
    EXPECT_EQ(captions(workspace()), QStringList({"New Quor1", a, b, a}));
    EXPECT_EQ(active()->caption(), a);
    EXPECT_FALSE(active()->document().isModified());
    EXPECT_TRUE(messages(script).isEmpty());
}

TEST_F(FilesFromOutside, TextFoldersAndRemoteAddressesAreNotTakenAndABadFileSaysSo)
{
    QMimeData text;
    text.setText("a few words");
    EXPECT_FALSE(drop(active()->view()->canvasBox(), text));
    EXPECT_FALSE(drop(main.get(), *filesData({dir.path()})));
    QMimeData remote;
    remote.setUrls({QUrl("https://example.org/p.bmp")});
    EXPECT_FALSE(drop(main.get(), remote));
    EXPECT_EQ(captions(workspace()), QStringList{"New Quor1"});
    EXPECT_TRUE(script.shown.isEmpty());

    // A file is taken, and when it is no picture the user hears why.
    const QString words = writeText("notes.txt");
    EXPECT_TRUE(drop(main.get(), *filesData({words})));
    EXPECT_EQ(captions(workspace()), QStringList{"New Quor1"});
    ASSERT_EQ(messages(script).size(), 1);
    EXPECT_EQ(messages(script)[0].title, words);
}

TEST_F(FilesFromOutside, AMetafileWithRecordsLeftUndrawnSaysSoOnTheStatusBar)
{
    const QString partly = dir.filePath("partly.wmf"), whole = dir.filePath("whole.emf");
    samples::wmfShapes(partly, true); // holds a damaged polygon
    samples::emfRecords(whole);
    MainWindow &plain = startWith({whole});
    auto *status = plain.findChild<QLabel *>("sbStatusText");
    ASSERT_TRUE(status);
    EXPECT_EQ(status->text(), "状态");
    MainWindow &w = startWith({partly});
    status = w.findChild<QLabel *>("sbStatusText");
    EXPECT_EQ(w.workspace().documentCount(), 1);
    EXPECT_EQ(status->text(), "部分内容无法显示");
    EXPECT_TRUE(messages(script).isEmpty());
}
