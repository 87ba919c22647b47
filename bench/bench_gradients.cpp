// Gradient figures over the largest canvas (36035 x 30035 twips, 2402 x 2002
// pixels), compute only. Every gradient, the largest arc band swept almost
// all round included, should stay under a second; copying the bitmap once
// is the yardstick beside them.
#include "tools/gradient_shapes.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <cstring>
#include <numbers>
#include <vector>

namespace {

constexpr int Width = 2402, Height = 2002;
constexpr double TwipsWide = 36035, TwipsHigh = 30035;
const quor::GradientColours Grey{quor::rgbColour(239, 239, 239), quor::rgbColour(127, 127, 127)};
const quor::GradientBox WholeCanvas{0, 0, TwipsWide, TwipsHigh};

quor::CanvasSurface largestCanvas()
{
    quor::CanvasSurface s(Width, Height);
    s.setFillStyle(quor::FillStyle::Transparent); // as the gradient tools draw
    return s;
}

void BM_BitmapMemcpy(benchmark::State &state)
{
    std::vector<std::uint32_t> from(std::size_t(Width) * Height, 0xffffffffu), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(std::uint32_t));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BitmapMemcpy)->Unit(benchmark::kMillisecond);

void BM_GradientEllipseWholeCanvas(benchmark::State &state)
{
    quor::CanvasSurface s = largestCanvas();
    for (auto _ : state) {
        quor::drawGradientEllipse(s, WholeCanvas, QStringLiteral("0"), Grey,
                                  quor::GradientKind::OneWay);
        benchmark::DoNotOptimize(s.image().constBits());
    }
}
BENCHMARK(BM_GradientEllipseWholeCanvas)->Unit(benchmark::kMillisecond);

void BM_DirectionalGradient30WholeCanvas(benchmark::State &state)
{
    quor::CanvasSurface s = largestCanvas();
    for (auto _ : state) {
        quor::drawDirectionalGradient(s, WholeCanvas, 30, Grey, quor::GradientKind::OneWay);
        benchmark::DoNotOptimize(s.image().constBits());
    }
}
BENCHMARK(BM_DirectionalGradient30WholeCanvas)->Unit(benchmark::kMillisecond);

void BM_InsideOutsideGradientWholeCanvas(benchmark::State &state)
{
    quor::CanvasSurface s = largestCanvas();
    for (auto _ : state) {
        quor::drawGradientFrames(s, WholeCanvas, QStringLiteral("0"), Grey,
                                 quor::GradientKind::TwoWay);
        benchmark::DoNotOptimize(s.image().constBits());
    }
}
BENCHMARK(BM_InsideOutsideGradientWholeCanvas)->Unit(benchmark::kMillisecond);

// A lengthwise arc band: one arc per twip of band for each direction step.
void BM_ArcBandAlongTheArc(benchmark::State &state)
{
    quor::CanvasSurface s = largestCanvas();
    const quor::ArcCircle circle{18000, 15000, 3000, 0};
    for (auto _ : state) {
        quor::drawGradientArcBand(s, circle, 3.0, QStringLiteral("300"), Grey,
                                  quor::GradientKind::AlongOneWay);
        benchmark::DoNotOptimize(s.image().constBits());
    }
}
BENCHMARK(BM_ArcBandAlongTheArc)->Unit(benchmark::kMillisecond);

// The largest arc band: the guide from the canvas's middle as long as fits
// (1000 pixels, straight up), band width 0, swept clockwise from the top
// round to just short of it.
const quor::ArcCircle LargestBand{TwipsWide / 2, TwipsHigh / 2, 15000, std::numbers::pi / 2};
constexpr double JustShortOfTheGuide = std::numbers::pi / 2 + 0.01;

void BM_LargestArcBand(benchmark::State &state, quor::GradientKind kind)
{
    quor::CanvasSurface s = largestCanvas();
    for (auto _ : state) {
        quor::drawGradientArcBand(s, LargestBand, JustShortOfTheGuide, QStringLiteral("0"), Grey,
                                  kind);
        benchmark::DoNotOptimize(s.image().constBits());
    }
}
BENCHMARK_CAPTURE(BM_LargestArcBand, AlongTheArc, quor::GradientKind::AlongOneWay)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LargestArcBand, AcrossTwoWay, quor::GradientKind::TwoWay)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
