// The user's 3 x 3 or 5 x 5 convolution kernel and the rules that turn the
// dialog's box texts into its numbers. No widget code.
#pragma once

#include "effects/neighbourhood_filters.h"

#include <QString>

#include <array>
#include <cstdint>

namespace quor::effects {

struct Kernel
{
    int radius = 2; // 1 for 3 x 3, 2 for 5 x 5
    // Weight of the source pixel at offset (dx, dy), each -2..2, at
    // (dy + 2) * 5 + dx + 2; a 3 x 3 kernel uses only the inner nine.
    std::array<std::int32_t, 25> weights{};
    std::int32_t divisor = 1; // 0 counts as 1
    std::int32_t addend = 0;

    std::int32_t &weight(int dx, int dy) { return weights[std::size_t((dy + 2) * 5 + dx + 2)]; }
    std::int32_t weight(int dx, int dy) const
    {
        return weights[std::size_t((dy + 2) * 5 + dx + 2)];
    }
};

// Each pixel at least radius pixels inside every edge becomes, per channel,
// |addend + sum / divisor| (sum of weight x channel over the kernel, the
// division real), capped at 255 and rounded with halves to even. The border
// keeps its colours; a picture narrower or shorter than the kernel is left
// as it was. False, leaving target as it was, when target is not
// Format_RGB32 or not of the source's size. Source and target may be the
// same image.
bool applyKernel(const QImage &source, QImage &target, const Kernel &kernel,
                 const RowProgress &progress = {});
// The border applyKernel leaves as it was, in pixels from each edge.
int keptEdge(const Kernel &kernel);

// The numbers behind the entry boxes. A text is a number when it is
// digits, optionally after one leading minus sign, within 32 bits; any
// other text ("", "-", "1-2", "--", "99999999999") counts as 0.
std::int32_t weightFromText(const QString &text);
// Below 1 (0 and not-a-number included) gives 1.
std::int32_t divisorFromText(const QString &text);
// Limited to -255..255.
std::int32_t addendFromText(const QString &text);

} // namespace quor::effects
