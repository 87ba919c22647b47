// File, Export: each format written through the real menu command and read
// back with Qt and with ImageMagick; the document itself stays as it was.
#include "program_fixture.h"

#include "app/dialogs.h"
#include "files/file_texts.h"
#include "formats/picture_export.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QImageReader>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <optional>

using namespace quor;

TEST(ExportFormats, FilterNamesAndEntries)
{
    const QList<ExportFormat> &all = exportFormatTable();
    EXPECT_EQ(exportFilter(all), "PNG (*.PNG)|*.png|JPEG (*.JPG;*.JPEG)|*.jpg;*.jpeg|"
                                 "BMP (*.BMP)|*.bmp|TIFF (*.TIF;*.TIFF)|*.tif;*.tiff|"
                                 "WebP (*.WEBP)|*.webp");
    // The image plugins are installed with the program: all five are there.
    EXPECT_EQ(availableExportFormats().size(), all.size());
    EXPECT_STREQ(formatOfFilterEntry(all, 2).writer, "jpeg");
    EXPECT_STREQ(formatOfFilterEntry(all, 5).writer, "webp");
    for (int outside : {0, -1, 6})
        EXPECT_STREQ(formatOfFilterEntry(all, outside).writer, "png") << outside;

    const ExportFormat png = all[0], jpeg = all[1];
    EXPECT_EQ(exportName("/home/u/pic.bmp", png), "/home/u/pic.png");
    EXPECT_EQ(exportName("/home/u/pic.bmp", jpeg), "/home/u/pic.jpg");
    EXPECT_EQ(exportName("New Quor1", png), "New Quor1.png");
    EXPECT_EQ(exportName("/home/u/v1.2/pic", png), "/home/u/v1.2/pic.png");
    EXPECT_EQ(exportName("/home/u/.hidden", png), "/home/u/.hidden.png");
    EXPECT_EQ(exportName("/home/u/pic.tar.bmp", png), "/home/u/pic.tar.png");
}

namespace {

// Runs a helper program; its standard output, or nothing when it failed.
std::optional<QByteArray> run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " " << args.join(' ').toStdString() << ": "
                      << p.readAllStandardError().toStdString();
        return std::nullopt;
    }
    return p.readAllStandardOutput();
}

// Mean difference per colour channel, 0..255.
double meanDifference(const QImage &a, const QImage &b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q))
                + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

class Export : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        // Four coloured quarters and a black diagonal: a flipped, shifted or
        // mixed-up picture shows.
        QImage pic(64, 40, QImage::Format_RGB32);
        const QRgb quarters[] = {qRgb(220, 30, 30), qRgb(30, 160, 60), qRgb(30, 60, 220),
                                 qRgb(250, 210, 0)};
        for (int y = 0; y < pic.height(); ++y)
            for (int x = 0; x < pic.width(); ++x)
                pic.setPixel(x, y, quarters[(x >= 32) + 2 * (y >= 20)]);
        for (int i = 0; i < 40; ++i)
            pic.setPixel(i, i, qRgb(0, 0, 0));
        active()->document().loadPicture(pic);
        active()->document().markChanged();
        picture = canvas().image().convertToFormat(QImage::Format_RGB32);
    }
    // Export through the menu: the name and filter entry the dialog
    // returns, and for JPEG the quality typed into the box (nothing: the
    // box is cancelled).
    void exportAs(const QString &file, int filterEntry, std::optional<int> quality = 90)
    {
        script.fileAnswers.push_back(file);
        script.filterAnswers.push_back(filterEntry);
        shownQuality.reset();
        QTimer answer;
        answer.setInterval(10);
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto *box = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
            if (!box || box->objectName() != "exportQuality")
                return;
            shownQuality = box->intValue();
            if (quality) {
                box->setIntValue(*quality);
                box->accept();
            } else {
                box->reject();
            }
        });
        answer.start();
        main->exportPicture();
    }
    QList<ShownDialog> messages() const
    {
        QList<ShownDialog> m;
        for (const ShownDialog &d : script.shown)
            if (d.kind == "message")
                m << d;
        return m;
    }
    QByteArray contents(const QString &file)
    {
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }

    QImage picture;
    std::optional<int> shownQuality;
    QTemporaryDir dir;
};

} // namespace

TEST_F(Export, EachFormatReadsBackWithQtAndImageMagickAndTheDocumentStaysAsItWas)
{
    struct Case { int entry; const char *name, *qtFormat, *magick; bool lossless; };
    const Case cases[] = {{1, "pic.png", "png", "PNG", true},
                          {2, "pic.jpg", "jpeg", "JPEG", false},
                          {3, "pic.bmp", "bmp", "BMP3", true},
                          {4, "pic.tif", "tiff", "TIFF", true},
                          {5, "pic.webp", "webp", "WEBP", true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = dir.filePath(c.name);
        exportAs(file, c.entry);

        QImageReader reader(file);
        EXPECT_EQ(reader.format(), QByteArray(c.qtFormat));
        const QImage back = reader.read().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(back.size(), picture.size());
        if (c.lossless)
            EXPECT_EQ(back, picture);
        else
            EXPECT_LT(meanDifference(back, picture), 10.0); // a wrong picture is far off

        const auto identified = run("identify", {"-format", "%m %w %h", file});
        ASSERT_TRUE(identified);
        EXPECT_EQ(QString(*identified), QStringLiteral("%1 64 40").arg(c.magick));
        const auto raw = run("convert", {file, "-depth", "8", "rgb:-"});
        ASSERT_TRUE(raw);
        ASSERT_EQ(raw->size(), 64 * 40 * 3);
        QImage magick(reinterpret_cast<const uchar *>(raw->constData()), 64, 40, 64 * 3,
                      QImage::Format_RGB888);
        magick = magick.convertToFormat(QImage::Format_RGB32);
        if (c.lossless)
            EXPECT_EQ(magick, picture);
        else
            EXPECT_LT(meanDifference(magick, picture), 10.0);
    }
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(script.unanswered, 0);

    // Name, changed flag and picture are the document's own still.
    EXPECT_EQ(active()->caption(), "New Quor1");
    EXPECT_TRUE(active()->document().isModified());
    EXPECT_EQ(workspace().documentCount(), 1);
    EXPECT_EQ(canvas().image().convertToFormat(QImage::Format_RGB32), picture);

    // The dialog: its title, the offered name and the filter.
    ASSERT_FALSE(script.shown.isEmpty());
    const ShownDialog &dialog = script.shown.first();
    EXPECT_EQ(dialog.kind, "save");
    EXPECT_EQ(dialog.title, "导出 New Quor1");
    EXPECT_EQ(dialog.fileName, "New Quor1.png");
    EXPECT_EQ(dialog.text, exportFilter(exportFormatTable()));
    EXPECT_EQ(dialog.fileOptions, SaveDialogOptions);

    // Save still writes a bitmap under a name of its choosing.
    script.fileAnswers.push_back(dir.filePath("saved.png"));
    main->save();
    EXPECT_EQ(QImageReader(dir.filePath("saved.png")).format(), "bmp");
}

TEST_F(Export, JpegWritesTheQualityTypedInTheBoxAndCancellingItWritesNothing)
{
    exportAs(dir.filePath("low.jpg"), 2, 10);
    EXPECT_EQ(shownQuality, DefaultJpegQuality);
    exportAs(dir.filePath("high.jpg"), 2, 95);
    EXPECT_EQ(run("identify", {"-format", "%Q", dir.filePath("low.jpg")}).value_or(""), "10");
    EXPECT_EQ(run("identify", {"-format", "%Q", dir.filePath("high.jpg")}).value_or(""), "95");
    EXPECT_LT(QFileInfo(dir.filePath("low.jpg")).size(),
              QFileInfo(dir.filePath("high.jpg")).size());

    exportAs(dir.filePath("never.jpg"), 2, std::nullopt);
    EXPECT_TRUE(shownQuality.has_value());
    EXPECT_FALSE(QFile::exists(dir.filePath("never.jpg")));
    // Other formats ask nothing.
    exportAs(dir.filePath("plain.png"), 1);
    EXPECT_FALSE(shownQuality.has_value());
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(Export, FailuresGiveSavesMessagesAndLeaveTheOldFileWhole)
{
    // A read-only file: Save's message, titled with the caption; Cancel
    // leaves the file alone, Retry once it is writable replaces it.
    const QString file = dir.filePath("locked.png");
    {
        QFile f(file);
        f.open(QIODevice::WriteOnly);
        f.write("old contents");
    }
    QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    script.messageAnswers = {Answer::Cancel};
    exportAs(file, 1);
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0].text, readOnlyMessage("New Quor1"));
    EXPECT_EQ(messages()[0].title, "New Quor1");
    EXPECT_EQ(messages()[0].style, (MessageStyle{Buttons::RetryCancel, Icon::Exclamation}));
    EXPECT_EQ(contents(file), "old contents");

    script.messageAnswers = {Answer::Retry};
    script.onShow = [&](const ShownDialog &d) {
        if (d.kind == "message")
            QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    };
    exportAs(file, 1);
    script.onShow = nullptr;
    EXPECT_EQ(messages().size(), 2);
    EXPECT_EQ(QImage(file).convertToFormat(QImage::Format_RGB32), picture);

    // A folder that is not there: the other-error box with the cause.
    script.shown.clear();
    exportAs(dir.filePath("gone/pic.png"), 1);
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0].text, "\r保存文件的文件夹已不存在，文件未保存。");
    EXPECT_EQ(messages()[0].title, QCoreApplication::applicationName());
    EXPECT_EQ(messages()[0].style, (MessageStyle{Buttons::Ok}));

    // A cancelled dialog says nothing and writes nothing.
    script.shown.clear();
    exportAs(QString(), 1);
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"locked.png"});
    EXPECT_EQ(active()->caption(), "New Quor1");
    EXPECT_TRUE(active()->document().isModified());
}

TEST_F(Export, MenuEntryAfterSaveAsWithItsOwnKeyAndOnlyWithADocument)
{
    QStringList file;
    for (QAction *a : main->findChild<QMenu *>("mnuFile")->actions())
        file << a->objectName();
    const qsizetype at = file.indexOf("mnuFileSaveAs");
    ASSERT_GE(at, 0);
    EXPECT_EQ(file.value(at + 1), "mnuFileExport");
    QAction *entry = main->action("mnuFileExport");
    EXPECT_EQ(entry->text(), "导出...");
    EXPECT_EQ(entry->shortcut(), QKeySequence("Ctrl+E"));
    int sameKey = 0;
    for (QAction *a : main->findChildren<QAction *>())
        sameKey += a->shortcut() == QKeySequence("Ctrl+E");
    EXPECT_EQ(sameKey, 1);

    // The key exports the active picture.
    QApplication::setActiveWindow(main.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    script.fileAnswers.push_back(dir.filePath("by-key.png"));
    QTest::keyClick(active(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(QImage(dir.filePath("by-key.png")).convertToFormat(QImage::Format_RGB32), picture);

    active()->document().markSaved();
    main->closeActiveDocument();
    ASSERT_EQ(workspace().documentCount(), 0);
    EXPECT_FALSE(entry->isEnabled());
    main->exportPicture(); // does nothing, asks nothing
    EXPECT_EQ(script.shown.size(), 1);
    main->newDocument();
    EXPECT_TRUE(entry->isEnabled());
}

TEST_F(Export, RealDialogGivesAPlainExtensionWhenAnotherFilterIsChosen)
{
    setDialogScript(nullptr);
    QtDialogBackend backend;
    FileDialogRequest request;
    request.title = "导出 New Quor1";
    request.filter = exportFilter(exportFormatTable());
    request.options = SaveDialogOptions;
    request.fileName = dir.filePath("pic.png");
    QString typedAfterChoice;
    QTimer user;
    user.setInterval(20);
    QObject::connect(&user, &QTimer::timeout, [&] {
        auto *dlg = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dlg)
            return;
        user.stop();
        auto *types = dlg->findChild<QComboBox *>("fileTypeCombo");
        auto *name = dlg->findChild<QLineEdit *>("fileNameEdit");
        if (types && name) {
            QTest::keyClick(types, Qt::Key_Down); // PNG to JPEG, as a user does
            typedAfterChoice = name->text();
        }
        QMetaObject::invokeMethod(dlg, "accept");
    });
    user.start();
    const std::optional<FileChoice> choice =
        backend.fileDialog(main.get(), request, FileDialogKind::Save);
    setDialogScript(&script);
    EXPECT_EQ(typedAfterChoice, "pic.jpg");
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->fileName, dir.filePath("pic.jpg"));
    EXPECT_EQ(choice->filterEntry, 2);
}
