// Large pictures against Qt's own QImage as the anchor a user would compare
// with: opening a bitmap, zooming out and in, concentric ellipse outlines.
// Each pair runs in the same binary on the same machine.
#include "document/model/canvas_surface.h"
#include "document/model/document.h"
#include "files/autosave.h"
#include "formats/picture_loader.h"
#include "formats/recovery_file.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include <cstring>

namespace {

QImage grey(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(QColor(120, 130, 140));
    return img;
}

// An 8000 x 8000 24-bit bitmap on disk, made once.
QString bigBitmap()
{
    static const QString path = [] {
        const QString p = QDir::tempPath() + "/quor-bench-8000.bmp";
        if (!QFile::exists(p))
            QImageWriter(p, "bmp").write(grey(8000, 8000));
        return p;
    }();
    return path;
}

// Resident and peak resident bytes, the peak restarted by resetPeak().
long statusBytes(const char *field)
{
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(std::strlen(field))).trimmed().split(' ').value(0).toLong() * 1024;
    return 0;
}
void resetPeak()
{
    QFile f("/proc/self/clear_refs");
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

// Also the peak while opening, over what was resident before, in bitmaps.
void BM_OpenBitmap_Quor(benchmark::State &state)
{
    const QString path = bigBitmap();
    for (auto _ : state) {
        resetPeak();
        const long before = statusBytes("VmRSS:");
        quor::Document doc;
        doc.loadPicture(quor::loadPictureFile(path));
        benchmark::DoNotOptimize(doc.canvas().image().constBits());
        state.counters["peak_bitmaps"] =
            double(statusBytes("VmHWM:") - before) / double(doc.canvas().image().sizeInBytes());
    }
}
BENCHMARK(BM_OpenBitmap_Quor)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OpenBitmap_QImage(benchmark::State &state)
{
    QImageReader::setAllocationLimit(0); // Qt refuses 256 MB and more otherwise
    for (auto _ : state) {
        QImage img(bigBitmap());
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_OpenBitmap_QImage)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ZoomOut12000_Quor(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        quor::Document doc;
        doc.canvas().setScaleMode(quor::ScaleMode::Pixels);
        doc.canvas().setImage(grey(12000, 12000));
        doc.canvas().setScaleMode(quor::ScaleMode::Twips);
        state.ResumeTiming();
        doc.zoomCanvas(false);
        benchmark::DoNotOptimize(doc.canvas().image().constBits());
    }
}
BENCHMARK(BM_ZoomOut12000_Quor)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ZoomOut12000_QImage(benchmark::State &state)
{
    const QImage big = grey(12000, 12000);
    for (auto _ : state) {
        QImage small = big.scaled(4000, 4000);
        benchmark::DoNotOptimize(small.constBits());
    }
}
BENCHMARK(BM_ZoomOut12000_QImage)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ZoomIn4000_Quor(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        quor::Document doc;
        doc.canvas().setScaleMode(quor::ScaleMode::Pixels);
        doc.canvas().setImage(grey(4000, 4000));
        doc.canvas().setScaleMode(quor::ScaleMode::Twips);
        state.ResumeTiming();
        doc.zoomCanvas(true);
        benchmark::DoNotOptimize(doc.canvas().image().constBits());
    }
}
BENCHMARK(BM_ZoomIn4000_Quor)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ZoomIn4000_QImage(benchmark::State &state)
{
    const QImage small = grey(4000, 4000);
    for (auto _ : state) {
        QImage big = small.scaled(12000, 12000);
        benchmark::DoNotOptimize(big.constBits());
    }
}
BENCHMARK(BM_ZoomIn4000_QImage)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Ellipses1500_Quor(benchmark::State &state)
{
    quor::CanvasSurface s(2402, 2002);
    s.setScaleMode(quor::ScaleMode::Pixels);
    for (auto _ : state)
        for (int r = 1; r <= 1500; ++r)
            s.circle(1201, 1001, r * 0.8, 0, std::nullopt, std::nullopt, 0.6);
}
BENCHMARK(BM_Ellipses1500_Quor)->Unit(benchmark::kMillisecond);

void BM_Ellipses1500_QPainter(benchmark::State &state)
{
    QImage img = grey(2402, 2002);
    for (auto _ : state) {
        QPainter p(&img);
        p.setPen(Qt::black);
        for (int r = 1; r <= 1500; ++r) {
            const double a = r * 0.8, b = a * 0.6;
            p.drawEllipse(QPointF(1201, 1001), a, b);
        }
    }
}
BENCHMARK(BM_Ellipses1500_QPainter)->Unit(benchmark::kMillisecond);

} // namespace

// Autosaving an 8000 x 8000 picture while the user draws a short line
// every 5 ms: the time is the whole write on the worker, the counter the
// interface thread's longest stall (taking the picture, or one stroke with
// the events it queued, copying the rows it writes that the worker has not
// reached). Beside it, copying the picture once: what a stroke would cost
// if it had to copy the whole bitmap.
void BM_AutosaveWhileDrawing8000_Quor(benchmark::State &state)
{
    using Clock = std::chrono::steady_clock;
    static int argc = 1;
    static char name[] = "bench_large_pictures";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    quor::Document doc;
    doc.canvas().setScaleMode(quor::ScaleMode::Pixels);
    doc.canvas().setImage(grey(8000, 8000));
    // The document's own first step shares and then copies the whole
    // bitmap: over before the autosave is watched.
    doc.rebase();
    doc.canvas().line(0, 0, 0, 100);
    doc.markChanged();
    QCoreApplication::processEvents();
    quor::Autosave autosave(dir.path(), 3600);
    autosave.watch(doc, [](quor::RecoveryRecord &r) { r.caption = QStringLiteral("New Quor1"); });
    const auto timed = [](auto &&step) {
        const auto start = Clock::now();
        step();
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    double longest = 0;
    int x = 0;
    for (auto _ : state) {
        doc.canvas().line(x, 0, x, 100);
        doc.markChanged();
        longest = std::max(longest, timed([&] { autosave.startWrite(doc); }));
        while (autosave.busy()) {
            ++x;
            longest = std::max(longest, timed([&] {
                doc.canvas().line(x % 8000, 0, x % 8000, 100);
                doc.markChanged();
                QCoreApplication::processEvents();
            }));
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    state.counters["longest_stall_ms"] = longest;
}
BENCHMARK(BM_AutosaveWhileDrawing8000_Quor)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The first stroke after the document came to rest, when the undo history's
// base shares the canvas's bitmap again: the stroke pays for the canvas's
// own copy. Beside it, the memcpy row below.
void BM_FirstStrokeAfterRest8000_Quor(benchmark::State &state)
{
    quor::Document doc;
    doc.canvas().setScaleMode(quor::ScaleMode::Pixels);
    doc.canvas().setImage(grey(8000, 8000));
    int x = 0;
    for (auto _ : state) {
        state.PauseTiming();
        doc.rebase(); // at rest: one bitmap, shared
        state.ResumeTiming();
        doc.canvas().line(x, 0, x, 100);
        x = (x + 1) % 8000;
    }
}
BENCHMARK(BM_FirstStrokeAfterRest8000_Quor)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_CopyPicture8000_memcpy(benchmark::State &state)
{
    const QImage from = grey(8000, 8000);
    QImage to = grey(8000, 8000); // its pages already in, as a copy's target would be
    for (auto _ : state) {
        std::memcpy(to.bits(), from.constBits(), std::size_t(from.sizeInBytes()));
        benchmark::DoNotOptimize(to.constBits());
    }
}
BENCHMARK(BM_CopyPicture8000_memcpy)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
