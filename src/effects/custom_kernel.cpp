#include "effects/custom_kernel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace quor::effects {

namespace {

constexpr QRgb Opaque = 0xff000000u;
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
void sumRow(const std::uint8_t *const *__restrict rows, const Lane *__restrict weights,
            Lane start, Lane *__restrict sums, int n)
{
    constexpr int Span = 2 * Radius + 1;
    // rows[j][m + 4 * i] is the byte at offset (i - Radius, j - Radius) from
    // lane m of the output.
    const auto weighted = [&]<std::size_t... I>(int m, std::index_sequence<I...>) {
        // Products of the lane's width: sixteen-bit lanes stay sixteen-bit
        // in the vector code, eight to a register.
        return (start + ... + Lane(weights[I] * rows[I / Span][m + 4 * int(I % Span)]));
    };
    for (int m = 0; m < n; ++m)
        sums[m] = Lane(weighted(m, std::make_index_sequence<std::size_t(Span * Span)>()));
}

// finishRow(sums, out, pixels) turns a row's lanes into its pixels.
template <typename Lane, int Radius, typename FinishRow>
void convolveLanes(const QImage &src, QRgb *target, qsizetype targetStride, const Kernel &kernel,
                   std::int64_t lowest, const FinishRow &finishRow, const RowProgress &progress)
{
    constexpr int Span = 2 * Radius + 1;
    const int w = src.width(), h = src.height();
    const int n = 4 * (w - 2 * Radius); // lanes of an output row
    std::array<Lane, Span * Span> weights;
    for (int j = 0; j < Span; ++j)
        for (int i = 0; i < Span; ++i)
            weights[std::size_t(j * Span + i)] = Lane(kernel.weight(i - Radius, j - Radius));
    const auto start = Lane(-lowest);
    std::vector<Lane> sums(static_cast<std::size_t>(n));
    for (int y = Radius; y <= h - Radius - 1; ++y) {
        const std::uint8_t *rows[Span];
        for (int j = 0; j < Span; ++j)
            rows[j] = src.constScanLine(y - Radius + j);
        sumRow<Lane, Radius>(rows, weights.data(), start, sums.data(), n);
        finishRow(sums.data(), target + y * targetStride + Radius, n / 4);
        if (progress)
            progress(y);
    }
}

// Where each channel keeps its byte in memory.
constexpr int BlueByte = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? 0 : 3;
constexpr int GreenByte = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? 1 : 2;
constexpr int RedByte = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? 2 : 1;

// Results looked up, three to a pixel, which is stored whole.
template <typename Lane>
void finishByTable(const Lane *__restrict sums, QRgb *__restrict out, int pixels,
                   const std::uint8_t *__restrict table)
{
    for (int i = 0; i < pixels; ++i) {
        const Lane *s = sums + 4 * i;
        out[i] = Opaque | (QRgb(table[s[RedByte]]) << 16) | (QRgb(table[s[GreenByte]]) << 8)
                 | QRgb(table[s[BlueByte]]);
    }
}

// With a divisor of 1 the result is |sum + addend| capped at 255, whole
// numbers throughout; offset is lowest + addend, and every value it gives
// fits Lane's signed type, so each byte is worked out in vector code.
template <typename Lane>
void finishByClamp(const Lane *__restrict sums, QRgb *__restrict out, int pixels, Lane offset)
{
    using Value = std::make_signed_t<Lane>;
    auto *bytes = reinterpret_cast<std::uint8_t *>(out);
    for (int m = 0; m < 4 * pixels; ++m) {
        const auto v = Value(Lane(sums[m] + offset));
        const Value magnitude = v < 0 ? Value(-v) : v;
        bytes[m] = std::uint8_t(magnitude > 255 ? 255 : magnitude);
    }
    for (int i = 0; i < pixels; ++i)
        out[i] |= Opaque;
}

#ifdef __SSE2__
// The same for sixteen-bit lanes in one pass, four pixels at a time, each
// stored once and whole.
void finishByClamp(const std::uint16_t *__restrict sums, QRgb *__restrict out, int pixels,
                   std::uint16_t offset)
{
    const __m128i add = _mm_set1_epi16(std::int16_t(offset));
    const __m128i cap = _mm_set1_epi16(255);
    const __m128i opaque = _mm_set1_epi32(std::int32_t(Opaque));
    const auto finish = [&](const std::uint16_t *lanes) {
        const auto *from = reinterpret_cast<const __m128i *>(lanes);
        const __m128i v = _mm_add_epi16(_mm_loadu_si128(from), add);
        const __m128i magnitude = _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v));
        return _mm_min_epi16(magnitude, cap);
    };
    int i = 0;
    for (; i + 4 <= pixels; i += 4) {
        const __m128i bytes = _mm_packus_epi16(finish(sums + 4 * i), finish(sums + 4 * i + 8));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), _mm_or_si128(bytes, opaque));
    }
    finishByClamp<std::uint16_t>(sums + 4 * i, out + i, pixels - i, offset);
}
#endif

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
    const int r = keptEdge(kernel);
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
    const auto lanes = [&]<typename Lane>(const auto &finishRow) {
        if (r == 1)
            convolveLanes<Lane, 1>(src, out, stride, kernel, lowest, finishRow, progress);
        else
            convolveLanes<Lane, 2>(src, out, stride, kernel, lowest, finishRow, progress);
    };
    const auto finished = [&]<typename Lane>() {
        using Value = std::make_signed_t<Lane>;
        constexpr std::int64_t Max = std::numeric_limits<Value>::max();
        const std::int64_t offset = lowest + kernel.addend;
        const bool wholeNumbers = kernel.divisor == 0 || kernel.divisor == 1;
        if (wholeNumbers && offset >= -Max && highest + kernel.addend <= Max) {
            lanes.template operator()<Lane>([offset](const Lane *sums, QRgb *row, int pixels) {
                finishByClamp(sums, row, pixels, Lane(offset));
            });
            return;
        }
        const std::int64_t pixels = std::int64_t(src.width() - 2 * r) * (src.height() - 2 * r);
        if (range <= std::min(MaxTableSize, 3 * pixels)) {
            // Few distinct sums for the pixels: work each result out once.
            std::vector<std::uint8_t> table(static_cast<std::size_t>(range));
            for (std::int64_t s = lowest; s <= highest; ++s)
                table[std::size_t(s - lowest)] = std::uint8_t(finisher(s));
            lanes.template operator()<Lane>([lookup = table.data()](const Lane *sums, QRgb *row,
                                                                    int pixels) {
                finishByTable(sums, row, pixels, lookup);
            });
            return;
        }
        lanes.template operator()<Lane>([&finisher, lowest](const Lane *sums, QRgb *row,
                                                            int pixels) {
            const auto finish = [&](Lane lane) { return finisher(std::int64_t(lane) + lowest); };
            for (int i = 0; i < pixels; ++i) {
                const Lane *s = sums + 4 * i;
                row[i] = Opaque | (finish(s[RedByte]) << 16) | (finish(s[GreenByte]) << 8)
                         | finish(s[BlueByte]);
            }
        });
    };
    if (range <= (1 << 16))
        finished.template operator()<std::uint16_t>();
    else
        finished.template operator()<std::uint32_t>();
    return true;
}

int keptEdge(const Kernel &kernel) { return std::clamp(kernel.radius, 1, 2); }

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
