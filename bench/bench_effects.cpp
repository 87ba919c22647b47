// Picture effects on a full-size (2402 x 2002 pixel) noise picture, beside a
// plain copy of the same pixels. Goals in copies: soften 17, sharpen and
// emboss 10, oil 20, a flip 3, custom 3 x 3 24, custom 5 x 5 45. A whole
// gradient fill of that selection (no screen time): one-way circles under
// 1 s, one-way lines at 45 degrees under 0.5 s. The custom kernels also run
// beside OpenCV's filter2D on the same pixels: goal within 0.5 x its time.
#include "effects/custom_kernel.h"
#include "effects/flips.h"
#include "effects/gradient_fill.h"
#include "effects/neighbourhood_filters.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <opencv2/imgproc.hpp>

#include <cstring>
#include <random>

namespace {

constexpr int Width = 2402, Height = 2002;

const QImage &noise()
{
    static const QImage img = [] {
        QImage out(Width, Height, QImage::Format_RGB32);
        std::mt19937 rng(11);
        for (int y = 0; y < Height; ++y) {
            auto *row = reinterpret_cast<QRgb *>(out.scanLine(y));
            for (int x = 0; x < Width; ++x)
                row[x] = 0xff000000u | (rng() & 0xffffffu);
        }
        return out;
    }();
    return img;
}

// Source and a separate target, both allocated before timing.
struct Pair
{
    QImage source = noise();
    QImage target = noise().copy();
};

void BM_Memcpy(benchmark::State &state)
{
    Pair p;
    const std::size_t bytes = std::size_t(p.source.sizeInBytes());
    uchar *to = p.target.bits();
    for (auto _ : state) {
        std::memcpy(to, p.source.constBits(), bytes);
        benchmark::DoNotOptimize(to);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

template <bool (*Filter)(const QImage &, QImage &, const quor::effects::RowProgress &)>
void BM_Filter(benchmark::State &state)
{
    Pair p;
    for (auto _ : state) {
        Filter(p.source, p.target, {});
        benchmark::DoNotOptimize(p.target.constBits());
    }
}
BENCHMARK(BM_Filter<quor::effects::soften>)->Name("BM_Soften")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Filter<quor::effects::sharpen>)->Name("BM_Sharpen")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Filter<quor::effects::emboss>)->Name("BM_Emboss")->Unit(benchmark::kMillisecond);

void BM_Oil(benchmark::State &state)
{
    Pair p;
    quor::effects::RandomSource random;
    for (auto _ : state) {
        quor::effects::oil(p.source, p.target, {}, random);
        benchmark::DoNotOptimize(p.target.constBits());
    }
}
BENCHMARK(BM_Oil)->Unit(benchmark::kMillisecond);

void BM_Flip(benchmark::State &state)
{
    Pair p;
    const auto kind = quor::effects::Flip(state.range(0));
    for (auto _ : state) {
        quor::effects::flip(p.source, p.target, kind);
        benchmark::DoNotOptimize(p.target.constBits());
    }
}
BENCHMARK(BM_Flip)
    ->ArgName("kind")
    ->Arg(int(quor::effects::Flip::Horizontal))
    ->Arg(int(quor::effects::Flip::Vertical))
    ->Arg(int(quor::effects::Flip::Diagonal))
    ->Unit(benchmark::kMillisecond);

void runKernel(benchmark::State &state, const quor::effects::Kernel &k)
{
    Pair p;
    for (auto _ : state) {
        quor::effects::applyKernel(p.source, p.target, k);
        benchmark::DoNotOptimize(p.target.constBits());
    }
}

// The same kernel through OpenCV, on the same four-channel pixels.
void runFilter2D(benchmark::State &state, const quor::effects::Kernel &k)
{
    Pair p;
    const int span = 2 * k.radius + 1;
    cv::Mat weights(span, span, CV_32F);
    for (int dy = -k.radius; dy <= k.radius; ++dy)
        for (int dx = -k.radius; dx <= k.radius; ++dx)
            weights.at<float>(dy + k.radius, dx + k.radius) = float(k.weight(dx, dy)) / k.divisor;
    const cv::Mat source(Height, Width, CV_8UC4, const_cast<uchar *>(p.source.constBits()),
                         std::size_t(p.source.bytesPerLine()));
    cv::Mat target(Height, Width, CV_8UC4, p.target.bits(), std::size_t(p.target.bytesPerLine()));
    for (auto _ : state) {
        cv::filter2D(source, target, -1, weights);
        benchmark::DoNotOptimize(p.target.constBits());
    }
}

// Centre 9 and the eight neighbours -1: the usual sharpening kernel.
quor::effects::Kernel sharpening3x3()
{
    quor::effects::Kernel k;
    k.radius = 1;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            k.weight(dx, dy) = dx == 0 && dy == 0 ? 9 : -1;
    return k;
}

// A binomial blur: every one of the 25 weights counts.
quor::effects::Kernel binomial5x5()
{
    quor::effects::Kernel k;
    constexpr int Row[5] = {1, 4, 6, 4, 1};
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            k.weight(dx, dy) = Row[dx + 2] * Row[dy + 2];
    k.divisor = 256;
    return k;
}

void BM_Custom3x3(benchmark::State &state) { runKernel(state, sharpening3x3()); }
BENCHMARK(BM_Custom3x3)->Unit(benchmark::kMillisecond);
void BM_Custom3x3_Filter2D(benchmark::State &state) { runFilter2D(state, sharpening3x3()); }
BENCHMARK(BM_Custom3x3_Filter2D)->Unit(benchmark::kMillisecond);

void BM_Custom5x5(benchmark::State &state) { runKernel(state, binomial5x5()); }
BENCHMARK(BM_Custom5x5)->Unit(benchmark::kMillisecond);
void BM_Custom5x5_Filter2D(benchmark::State &state) { runFilter2D(state, binomial5x5()); }
BENCHMARK(BM_Custom5x5_Filter2D)->Unit(benchmark::kMillisecond);

// Weights too large for a result table or 32-bit sums.
void BM_Custom5x5Wide(benchmark::State &state)
{
    quor::effects::Kernel k;
    for (int i = 0; i < 25; ++i)
        k.weights[std::size_t(i)] = (i % 2 ? -1 : 1) * (1000000 + 7919 * i);
    k.divisor = 12345;
    k.addend = -17;
    runKernel(state, k);
}
BENCHMARK(BM_Custom5x5Wide)->Unit(benchmark::kMillisecond);

// The selection in twips, fill transparent, pen 1, copy pen: what a run
// draws on.
void runGradientFill(benchmark::State &state, quor::effects::GradientStyle style, int angle)
{
    quor::effects::GradientFill fill;
    fill.style = style;
    fill.width = Width * 15.0;
    fill.height = Height * 15.0;
    fill.angle = angle;
    fill.start = quor::rgbColour(239, 239, 239);
    fill.end = quor::rgbColour(127, 127, 127);
    const quor::effects::GradientOutlines outlines(fill);
    quor::CanvasSurface selection(Width, Height);
    selection.setFillStyle(quor::FillStyle::Transparent);
    for (auto _ : state) {
        quor::effects::drawOutlines(selection, outlines);
        benchmark::DoNotOptimize(selection.image().constBits());
    }
    state.counters["outlines"] = double(outlines.size());
}

void BM_GradientFillCircles(benchmark::State &state)
{
    runGradientFill(state, quor::effects::GradientStyle::OneWayCircle, 0);
}
BENCHMARK(BM_GradientFillCircles)->Unit(benchmark::kMillisecond);

void BM_GradientFillLines45(benchmark::State &state)
{
    runGradientFill(state, quor::effects::GradientStyle::OneWayAngled, 45);
}
BENCHMARK(BM_GradientFillLines45)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
