// Autosave's picture is the canvas as it was when the write was asked for,
// however the canvas is drawn on, replaced or shared while it is copied.
#include "document/model/canvas_snapshot.h"
#include "document/model/document.h"
#include "files/autosave.h"
#include "formats/recovery_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

using namespace quor;

namespace {

// Rows that differ from their neighbours, several copy bands high.
QImage stripes(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto *row = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = 0xff000000u | QRgb(x * 7 + y * 13);
    }
    return img;
}

} // namespace

TEST(AutosaveSnapshot, RecoveryFileHoldsThePictureAsAskedWhileStrokesGoOn)
{
    QTemporaryDir dir;
    Document doc;
    doc.canvas().setScaleMode(ScaleMode::Pixels);
    doc.canvas().setImage(stripes(1500, 3000));
    doc.rebase();
    doc.canvas().line(0, 0, 10, 10);
    doc.markChanged();
    QCoreApplication::processEvents();
    Autosave autosave(dir.path(), 3600);
    autosave.watch(doc, [](RecoveryRecord &r) { r.caption = QStringLiteral("New Quor1"); });

    const QImage asked = doc.canvas().image().copy();
    autosave.startWrite(doc);
    // Strokes down the whole height meet every band, copied or not.
    int x = 0;
    do {
        doc.canvas().line(x % 1500, 0, x % 1500, 3000);
        doc.markChanged();
        QCoreApplication::processEvents();
        x += 3;
    } while (autosave.busy());
    autosave.waitForWrites();

    const QStringList files = QDir(autosave.folder()).entryList({QStringLiteral("*.qrec")});
    ASSERT_EQ(files.size(), 1);
    QFile file(autosave.folder() + QLatin1Char('/') + files.first());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const RecoveryRead read = readRecoveryRecord(file, file.size());
    ASSERT_TRUE(read.problem.isEmpty()) << read.problem.toStdString();
    EXPECT_TRUE(read.record.picture.convertToFormat(QImage::Format_RGB32) == asked);
    for (int stroke = 0; stroke < std::min(x, 1500); stroke += 3)
        ASSERT_EQ(doc.canvas().image().pixel(stroke, 2999), 0xff000000u) << stroke;
}

TEST(AutosaveSnapshot, DrawingSharingAndReplacingBeforeTheCopyLeaveItAsTaken)
{
    CanvasSurface canvas(1200, 4000);
    canvas.setScaleMode(ScaleMode::Pixels);
    canvas.setImage(stripes(1200, 4000));
    const QImage original = canvas.image().copy();
    const auto copyOnAThread = [](const std::shared_ptr<CanvasSnapshot> &s) {
        QImage copy;
        std::thread([&] { copy = s->copyAll(); }).join();
        return copy;
    };

    // Rows near the end, copied ahead; then a flood of writes everywhere.
    auto drawn = canvas.snapshot();
    canvas.line(0, 3990, 1199, 3990);
    canvas.editImage().fill(Qt::red);
    EXPECT_TRUE(copyOnAThread(drawn) == original);

    // Shared elsewhere, then drawn on and replaced: the snapshot keeps the
    // old bitmap, the canvas goes on with its own.
    canvas.setImage(original);
    auto shared = canvas.snapshot();
    const QImage elsewhere = canvas.image();
    canvas.line(0, 100, 1199, 100);
    auto replaced = canvas.snapshot();
    canvas.adoptImage(stripes(300, 300), 300, 300);
    EXPECT_TRUE(copyOnAThread(shared) == original);
    QImage lined = original.copy();
    for (int col = 0; col < 1199; ++col) // a line leaves out its end
        lined.setPixel(col, 100, 0xff000000u);
    EXPECT_TRUE(copyOnAThread(replaced) == lined);
    EXPECT_EQ(canvas.image().size(), QSize(300, 300));
}
