// Canvas surface costs on a full-size (2402 x 2002 pixel) picture. The
// rubber-band step is what a drag pays per mouse move; it must stay far
// below the cost of copying the whole bitmap once.
#include "document/model/canvas_surface.h"
#include "document/model/document.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <cstring>

namespace {

constexpr int Width = 2402, Height = 2002;

quor::CanvasSurface fullSurface()
{
    quor::CanvasSurface s(Width, Height);
    s.setScaleMode(quor::ScaleMode::Pixels);
    return s;
}

void BM_FullBitmapCopy(benchmark::State &state)
{
    const quor::CanvasSurface s = fullSurface();
    for (auto _ : state) {
        QImage copy = s.image().copy();
        benchmark::DoNotOptimize(copy.constBits());
    }
}
BENCHMARK(BM_FullBitmapCopy)->Unit(benchmark::kMicrosecond);

// Erase the previous exclusive-or rectangle and line, draw the next ones.
void BM_RubberBandStep(benchmark::State &state)
{
    quor::CanvasSurface s = fullSurface();
    s.setDrawMode(quor::DrawMode::XorPen);
    s.setForeColor(0xffffff);
    int step = 0;
    const auto draw = [&](int k) {
        s.line(10 + k, 12, Width - 20 - k, Height - 15, std::nullopt, quor::LineKind::Box);
        s.line(5, 7 + k, Width - 3, Height - 9 - k);
    };
    draw(step);
    for (auto _ : state) {
        draw(step);
        draw(++step % 7);
        step %= 7;
    }
    benchmark::DoNotOptimize(s.image().constBits());
}
BENCHMARK(BM_RubberBandStep)->Unit(benchmark::kMicrosecond);

void BM_ConcentricEllipses(benchmark::State &state)
{
    quor::CanvasSurface s = fullSurface();
    for (auto _ : state) {
        for (int r = 1; r <= 1500; ++r)
            s.circle(Width / 2.0, Height / 2.0, r, 0x204080, std::nullopt, std::nullopt, 0.7);
    }
    benchmark::DoNotOptimize(s.image().constBits());
}
BENCHMARK(BM_ConcentricEllipses)->Unit(benchmark::kMillisecond);

void BM_PsetThenPointEveryPixel(benchmark::State &state)
{
    quor::CanvasSurface s = fullSurface();
    for (auto _ : state) {
        long long sum = 0;
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                s.pset(x, y, (x * 7 + y) & 0xffffff);
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                sum += s.point(x, y);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_PsetThenPointEveryPixel)->Unit(benchmark::kMillisecond);

// What undo plus redo of a whole-canvas step may cost: each pixel copied
// once each way. Goal: the step within 1.0 x this.
void BM_TwoMemcpys(benchmark::State &state)
{
    const quor::CanvasSurface s = fullSurface();
    QImage to(Width, Height, QImage::Format_RGB32);
    const std::size_t bytes = std::size_t(to.sizeInBytes());
    for (auto _ : state) {
        std::memcpy(to.bits(), s.image().constBits(), bytes);
        benchmark::ClobberMemory();
        std::memcpy(to.bits(), s.image().constBits(), bytes);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TwoMemcpys)->Unit(benchmark::kMillisecond);

// Undoing and redoing a step that changed the whole of the largest canvas.
void BM_UndoRedoFullCanvasStep(benchmark::State &state)
{
    quor::Document doc;
    doc.resizeCanvas(36035, 30035);
    doc.rebase();
    {
        const quor::Document::Step step(doc);
        doc.canvas().line(0, 0, 36000, 30000, 0xff0000, quor::LineKind::BoxFilled);
    }
    for (auto _ : state) {
        doc.undo();
        doc.redo();
    }
}
BENCHMARK(BM_UndoRedoFullCanvasStep)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
