#include "effects/custom_kernel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace quor::effects {

namespace {

constexpr QRgb Opaque = 0xff000000u;
// Where a pixel keeps its alpha byte in memory.
constexpr int AlphaByte = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? 3 : 0;
// Above this many distinct channel sums the results are computed per pixel
// instead of looked up.
constexpr std::int64_t MaxTableSize = 1 << 20;

// Nearest, halves to even, for 0 <= v <= 255: adding and removing 1.5 * 2^52
// leaves the default rounding mode to do the work.
inline std::uint32_t roundHalfEven(double v)
{
    constexpr double Shift = 6755399441055744.0;
    return std::uint32_t((v + Shift) - Shift);
}

struct Tap
{
    int dx, dy;
    std::int32_t weight;
};

// One channel's result for the weighted sum s.
class Finisher
{
public:
    explicit Finisher(const Kernel &k)
        : m_addend(k.addend), m_divisor(k.divisor == 0 ? 1 : k.divisor)
    {
    }

    std::uint32_t operator()(std::int64_t s) const
    {
        double v = std::abs(m_addend + double(s) / m_divisor);
        if (v > 255)
            v = 255;
        return roundHalfEven(v);
    }

private:
    double m_addend, m_divisor;
};

// Channel sums in unsigned lanes of Lane's width, each raised by -lowest so
// that it ends up in 0 .. range - 1. Wrapping on the way does no harm: the
// final lane is exact modulo its width, and the range fits. Every byte of a
// row (the three channels and the unused alpha byte, in whichever order the
// platform keeps them) is a lane of its own, so one loop over a row's bytes
// serves every channel, with taps written out at compile time, and
// compilers turn it into vector code.
template <typename Lane, int Radius>
void sumRow(const std::uint8_t *const *__restrict rows, const std::uint32_t *__restrict weights,
            std::uint32_t start, Lane *__restrict sums, int n)
{
    constexpr int Span = 2 * Radius + 1;
    // rows[j][m + 4 * i] is the byte at offset (i - Radius, j - Radius) from
    // lane m of the output.
    const auto weighted = [&]<std::size_t... I>(int m, std::index_sequence<I...>) {
        return (start + ... + (weights[I] * rows[I / Span][m + 4 * int(I % Span)]));
    };
    for (int m = 0; m < n; ++m)
        sums[m] = Lane(weighted(m, std::make_index_sequence<std::size_t(Span * Span)>()));
}

// finish takes a lane, the channel sum minus lowest.
template <typename Lane, int Radius, typename Finish>
void convolveLanes(const QImage &src, QRgb *target, qsizetype targetStride, const Kernel &kernel,
                   std::int64_t lowest, const Finish &finish, const RowProgress &progress)
{
    constexpr int Span = 2 * Radius + 1;
    const int w = src.width(), h = src.height();
    const int n = 4 * (w - 2 * Radius); // lanes of an output row
    std::array<std::uint32_t, Span * Span> weights;
    for (int j = 0; j < Span; ++j)
        for (int i = 0; i < Span; ++i)
            weights[std::size_t(j * Span + i)] = std::uint32_t(kernel.weight(i - Radius, j - Radius));
    const auto start = std::uint32_t(-lowest);
    std::vector<Lane> sums(static_cast<std::size_t>(n));
    for (int y = Radius; y <= h - Radius - 1; ++y) {
        const std::uint8_t *rows[Span];
        for (int j = 0; j < Span; ++j)
            rows[j] = src.constScanLine(y - Radius + j);
        sumRow<Lane, Radius>(rows, weights.data(), start, sums.data(), n);
        // The three channel lanes of each pixel finished, the alpha byte
        // made opaque.
        auto *out = reinterpret_cast<std::uint8_t *>(target + y * targetStride + Radius);
        for (int m = 0; m < n; m += 4)
            for (int c = 0; c < 4; ++c)
                out[m + c] = c == AlphaByte ? 0xff : std::uint8_t(finish(sums[std::size_t(m + c)]));
        if (progress)
            progress(y);
    }
}

// Any weights: three 64-bit sums per pixel, gathered tap by tap over a row.
void convolveWide(const QImage &src, QRgb *target, qsizetype targetStride, int radius,
                  const std::vector<Tap> &taps, const Finisher &finish,
                  const RowProgress &progress)
{
    const int w = src.width(), h = src.height();
    const int n = w - 2 * radius;
    std::vector<std::int64_t> sums(std::size_t(3 * n));
    std::int64_t *blue = sums.data(), *green = blue + n, *red = green + n;
    for (int y = radius; y <= h - radius - 1; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        for (const Tap &t : taps) {
            const auto *in = reinterpret_cast<const QRgb *>(src.constScanLine(y + t.dy))
                           + radius + t.dx;
            const std::int64_t weight = t.weight;
            for (int i = 0; i < n; ++i) {
                const QRgb p = in[i];
                blue[i] += weight * std::int64_t(p & 0xff);
                green[i] += weight * std::int64_t((p >> 8) & 0xff);
                red[i] += weight * std::int64_t((p >> 16) & 0xff);
            }
        }
        QRgb *out = target + y * targetStride + radius;
        for (int i = 0; i < n; ++i)
            out[i] = Opaque | (finish(red[i]) << 16) | (finish(green[i]) << 8) | finish(blue[i]);
        if (progress)
            progress(y);
    }
}

// Strict integer text: an optional leading minus and at least one digit,
// within 32 bits.
std::optional<std::int32_t> integerFromText(const QString &text)
{
    qsizetype i = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    const bool negative = i == 1;
    if (i == text.size())
        return std::nullopt;
    std::int64_t v = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        v = v * 10 + (c.unicode() - '0');
        if (v > std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        v = -v;
    if (v > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return std::int32_t(v);
}

} // namespace

bool applyKernel(const QImage &source, QImage &target, const Kernel &kernel,
                 const RowProgress &progress)
{
    if (source.isNull() || target.format() != QImage::Format_RGB32
        || target.size() != source.size())
        return false;
    const int r = std::clamp(kernel.radius, 1, 2);
    if (source.width() < 2 * r + 1 || source.height() < 2 * r + 1)
        return true;
    // A second reference, so that writing the target detaches it when the
    // caller passed the same image twice.
    const QImage src = source.format() == QImage::Format_RGB32
                           ? source
                           : source.convertToFormat(QImage::Format_RGB32);
    QRgb *out = reinterpret_cast<QRgb *>(target.bits());
    const qsizetype stride = target.bytesPerLine() / qsizetype(sizeof(QRgb));

    std::vector<Tap> taps;
    std::int64_t lowest = 0, highest = 0; // channel sums reachable
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx)
            if (const std::int32_t w = kernel.weight(dx, dy); w != 0) {
                taps.push_back({dx, dy, w});
                (w < 0 ? lowest : highest) += std::int64_t(w) * 255;
            }
    const Finisher finisher(kernel);
    const std::int64_t range = highest - lowest + 1;
    if (range > (std::int64_t(1) << 32)) {
        convolveWide(src, out, stride, r, taps, finisher, progress);
        return true;
    }
    // Sixteen-bit lanes where the range allows, twice as many to a vector.
    const auto lanes = [&](const auto &finish) {
        if (range <= (1 << 16)) {
            if (r == 1)
                convolveLanes<std::uint16_t, 1>(src, out, stride, kernel, lowest, finish, progress);
            else
                convolveLanes<std::uint16_t, 2>(src, out, stride, kernel, lowest, finish, progress);
        } else if (r == 1) {
            convolveLanes<std::uint32_t, 1>(src, out, stride, kernel, lowest, finish, progress);
        } else {
            convolveLanes<std::uint32_t, 2>(src, out, stride, kernel, lowest, finish, progress);
        }
    };
    const std::int64_t pixels = std::int64_t(src.width() - 2 * r) * (src.height() - 2 * r);
    if (range <= std::min(MaxTableSize, 3 * pixels)) {
        // Few distinct sums for the pixels: work each result out once.
        std::vector<std::uint8_t> table(static_cast<std::size_t>(range));
        for (std::int64_t s = lowest; s <= highest; ++s)
            table[std::size_t(s - lowest)] = std::uint8_t(finisher(s));
        lanes([lookup = table.data()](std::uint32_t lane) { return std::uint32_t(lookup[lane]); });
    } else {
        lanes([&finisher, lowest](std::uint32_t lane) {
            return finisher(std::int64_t(lane) + lowest);
        });
    }
    return true;
}

std::int32_t weightFromText(const QString &text) { return integerFromText(text).value_or(0); }

std::int32_t divisorFromText(const QString &text)
{
    return std::max(integerFromText(text).value_or(0), 1);
}

std::int32_t addendFromText(const QString &text)
{
    return std::clamp(integerFromText(text).value_or(0), -255, 255);
}

} // namespace quor::effects
