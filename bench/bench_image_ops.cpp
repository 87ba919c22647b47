// The Image menu's operations and the flood fill on an 8000 x 8000 picture,
// beside a memcpy of its pixels. Goals in copies: a turn, the negative and
// the grey 3 each, a fill of the whole picture a few; smooth scaling to
// half size within 1.5 x QImage::scaled, which is run beside it.
#include "document/model/document.h"
#include "document/model/picture_commands.h"
#include "document/model/flood_fill.h"
#include "effects/image_ops.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QImage>

#include <cstring>
#include <random>

namespace {

constexpr int Side = 8000;

const QImage &noise()
{
    static const QImage img = [] {
        QImage out(Side, Side, QImage::Format_RGB32);
        std::mt19937 rng(11);
        for (int y = 0; y < Side; ++y) {
            auto *row = reinterpret_cast<QRgb *>(out.scanLine(y));
            for (int x = 0; x < Side; ++x)
                row[x] = 0xff000000u | (rng() & 0xffffffu);
        }
        return out;
    }();
    return img;
}

void BM_Memcpy8000(benchmark::State &state)
{
    const QImage &source = noise();
    QImage target = source.copy();
    for (auto _ : state) {
        std::memcpy(target.bits(), source.constBits(), std::size_t(source.sizeInBytes()));
        benchmark::DoNotOptimize(target.constBits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Memcpy8000)->Unit(benchmark::kMillisecond);

template <typename Op>
void run(benchmark::State &state, Op op)
{
    const QImage &source = noise();
    for (auto _ : state) {
        QImage out = op(source);
        benchmark::DoNotOptimize(out.constBits());
    }
}

void BM_TurnRight8000(benchmark::State &state)
{
    run(state, [](const QImage &i) { return quor::effects::turned(i, quor::effects::Turn::Right); });
}
BENCHMARK(BM_TurnRight8000)->Unit(benchmark::kMillisecond);

void BM_TurnLeft8000(benchmark::State &state)
{
    run(state, [](const QImage &i) { return quor::effects::turned(i, quor::effects::Turn::Left); });
}
BENCHMARK(BM_TurnLeft8000)->Unit(benchmark::kMillisecond);

void BM_TurnHalf8000(benchmark::State &state)
{
    run(state, [](const QImage &i) { return quor::effects::turned(i, quor::effects::Turn::Half); });
}
BENCHMARK(BM_TurnHalf8000)->Unit(benchmark::kMillisecond);

void BM_Invert8000(benchmark::State &state) { run(state, &quor::effects::inverted); }
BENCHMARK(BM_Invert8000)->Unit(benchmark::kMillisecond);

void BM_Grey8000(benchmark::State &state) { run(state, &quor::effects::greyed); }
BENCHMARK(BM_Grey8000)->Unit(benchmark::kMillisecond);

// The negative as the Image menu runs it: through the document, which keeps
// the picture before and after as one undo step.
void BM_InvertCommand8000(benchmark::State &state)
{
    static int argc = 1;
    static char name[] = "bench_image_ops";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    quor::Document doc;
    doc.canvas().setScaleMode(quor::ScaleMode::Pixels);
    doc.canvas().setImage(noise());
    for (auto _ : state) {
        const quor::CanvasSurface &c = doc.canvas();
        quor::commands::transformPicture(doc, &quor::effects::inverted);
    }
    if (!doc.canUndo())
        state.SkipWithError("no undo step");
}
BENCHMARK(BM_InvertCommand8000)->Unit(benchmark::kMillisecond);

void BM_SmoothHalf8000_Quor(benchmark::State &state)
{
    run(state, [](const QImage &i) { return quor::effects::scaled(i, {4000, 4000}, true); });
}
BENCHMARK(BM_SmoothHalf8000_Quor)->Unit(benchmark::kMillisecond);

void BM_SmoothHalf8000_QImage(benchmark::State &state)
{
    run(state, [](const QImage &i) {
        return i.scaled(4000, 4000, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    });
}
BENCHMARK(BM_SmoothHalf8000_QImage)->Unit(benchmark::kMillisecond);

// The whole picture one colour, filled alternately with two others so every
// run fills every pixel; and a maze of one-pixel walls every other row, one
// gap at alternating ends, so the fill snakes through all of it.
void BM_FillWhole8000(benchmark::State &state)
{
    QImage img(Side, Side, QImage::Format_RGB32);
    img.fill(0xffffffffu);
    QRgb colour = 0xff0000ffu, other = 0xffffffffu;
    for (auto _ : state) {
        benchmark::DoNotOptimize(quor::raster::floodFill(img, {Side / 2, Side / 2}, colour));
        std::swap(colour, other);
    }
}
BENCHMARK(BM_FillWhole8000)->Unit(benchmark::kMillisecond);

void BM_FillSnake8000(benchmark::State &state)
{
    QImage img(Side, Side, QImage::Format_RGB32);
    img.fill(0xffffffffu);
    for (int y = 1; y < Side; y += 2) {
        auto *row = reinterpret_cast<QRgb *>(img.scanLine(y));
        std::fill(row, row + Side, 0xff000000u);
        row[(y / 2) % 2 ? 0 : Side - 1] = 0xffffffffu;
    }
    QRgb colour = 0xff0000ffu, other = 0xffffffffu;
    for (auto _ : state) {
        benchmark::DoNotOptimize(quor::raster::floodFill(img, {0, 0}, colour));
        std::swap(colour, other);
    }
}
BENCHMARK(BM_FillSnake8000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
