// The four fixed picture filters: soften, sharpen, oil and emboss.
//
// Each reads every neighbourhood from an unchanged copy of the selection
// (source) and writes the selection itself (target), so pixels already
// rewritten never feed later ones. Both images are Format_RGB32 pixels of
// the same size; pixels outside a filter's rows and columns keep their
// colours. No widget code: the caller shows the progress line.
#pragma once

#include <QImage>

#include <cstdint>
#include <functional>

namespace quor::effects {

// Called after each finished row with its index in pixels, so the caller can
// move its progress line there and repaint.
using RowProgress = std::function<void(int row)>;

// Uniform numbers in [0, 1), multiples of 2^-32, from a fixed start state,
// never reseeded: every program start replays the same sequence, and each
// oil run continues where the previous one stopped.
class RandomSource
{
public:
    RandomSource() = default; // the fixed start state

    double next()
    {
        if (m_hasSpare) {
            m_hasSpare = false;
            return m_spare * 0x1.0p-32;
        }
        // SplitMix64: a full-period 64-bit step with a strong output mix,
        // which yields two numbers, its high half first.
        std::uint64_t z = (m_state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        z ^= z >> 31;
        m_spare = std::uint32_t(z);
        m_hasSpare = true;
        return std::uint32_t(z >> 32) * 0x1.0p-32;
    }

    // The program's one generator.
    static RandomSource &shared();

private:
    std::uint64_t m_state = 0x2545f4914f6cdd1dULL;
    std::uint32_t m_spare = 0; // low half of the last 64-bit step
    bool m_hasSpare = false;
};

// The functions below return false, leaving target as it was, when target
// is not Format_RGB32 or not of the source's size. Source and target may be
// the same image.

// 3 x 3 box average of each channel, rounded to the nearest value; rows and
// columns 1 .. size - 2.
bool soften(const QImage &source, QImage &target, const RowProgress &progress = {});

// v + (v - upper-left v) / 2 per channel, clamped to 0..255 and rounded with
// halves to even; rows and columns 1 .. size - 2.
bool sharpen(const QImage &source, QImage &target, const RowProgress &progress = {});

// Each pixel of rows and columns 2 .. size - 3 taken from a randomly
// displaced position: a real row offset in [-2, 2) and a whole column offset
// in -2..2, drawn in that order for every pixel.
bool oil(const QImage &source, QImage &target, const RowProgress &progress = {},
         RandomSource &random = RandomSource::shared());

// v - upper-left v + 128 per channel, clamped to 0..255; rows and columns
// 1 .. size - 1. Progress still reports one row past the last (the height),
// where the row's writes fall outside the picture.
bool emboss(const QImage &source, QImage &target, const RowProgress &progress = {});

} // namespace quor::effects
