// The program as a user drives it, beside the work itself in the same run:
// F8 on a select-all of 2402 x 2002 from the key press to the end of the run
// against the bare soften (goal within 1.2 x), and what each 4000 x 4000 document holds at rest,
// in bitmaps of its size.
#include "app/main_window.h"
#include "document/dialog_seam.h"
#include "document/document_window.h"
#include "effects/neighbourhood_filters.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QSettings>
#include <QTest>

#include <memory>
#include <random>

namespace {

QImage noise(int w, int h)
{
    QImage out(w, h, QImage::Format_RGB32);
    std::mt19937 rng(11);
    for (int y = 0; y < h; ++y) {
        auto *row = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = 0xff000000u | (rng() & 0xffffffu);
    }
    return out;
}

// The program with its one empty document, answering every dialog.
struct Program
{
    quor::DialogScript script;
    std::unique_ptr<quor::MainWindow> main;

    Program()
    {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "quor", "quor").clear();
        quor::setDialogScript(&script);
        main = std::make_unique<quor::MainWindow>();
        main->show();
        QApplication::setActiveWindow(main.get());
        (void)QTest::qWaitForWindowActive(main.get());
    }
    ~Program()
    {
        for (auto *doc : main->findChildren<quor::DocumentWindow *>())
            doc->document().markSaved();
        main.reset();
        quor::setDialogScript(nullptr);
    }
    quor::DocumentWindow *active() { return main->workspace().activeDocument(); }
};

void BM_SoftenAlone(benchmark::State &state)
{
    const QImage source = noise(2402, 2002);
    QImage target = source.copy();
    for (auto _ : state) {
        quor::effects::soften(source, target, {});
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_SoftenAlone)->Unit(benchmark::kMillisecond);

void BM_SoftenF8OnSelectAll(benchmark::State &state)
{
    Program p;
    p.active()->document().loadPicture(noise(2402, 2002));
    QTest::keyClick(p.main.get(), Qt::Key_A, Qt::ControlModifier);
    for (auto _ : state)
        QTest::keyClick(p.main.get(), Qt::Key_F8);
    if (p.active()->document().selection().widthPx() != 2402)
        state.SkipWithError("no selection was lifted");
}
BENCHMARK(BM_SoftenF8OnSelectAll)->Unit(benchmark::kMillisecond);

long residentBytes()
{
    QFile f("/proc/self/statm");
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * 4096 : 0;
}

// Four documents opened from a 4000 x 4000 bitmap, each drawn on once.
// Goal: at most 2.1 bitmaps each.
void BM_DocumentsAtRest4000(benchmark::State &state)
{
    constexpr int Side = 4000, Documents = 4;
    const QString path = QDir::tempPath() + "/quor-bench-4000.bmp";
    if (!QFile::exists(path))
        QImageWriter(path, "bmp").write(noise(Side, Side));
    for (auto _ : state) {
        Program p;
        QCoreApplication::processEvents();
        const long before = residentBytes();
        for (int i = 0; i < Documents; ++i) {
            p.main->openFilesFromOutside({path});
            QCoreApplication::processEvents();
            quor::Document &d = p.active()->document();
            d.canvas().line(0, 0, 1500, 1500);
            QCoreApplication::processEvents(); // the step closes
        }
        QTest::qWait(1500); // and the documents come to rest
        const double bitmap = double(Side) * Side * 4;
        state.counters["bitmaps_per_document"] =
            double(residentBytes() - before) / Documents / bitmap;
    }
}
BENCHMARK(BM_DocumentsAtRest4000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
