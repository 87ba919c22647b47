#include "document/model/canvas_snapshot.h"

#include "core/bitmap_memory.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace quor {

namespace {

// What a stroke may have to copy, or wait for, before it draws: small; yet
// large enough that claiming bands costs nothing beside the copying.
constexpr qsizetype BandBytes = qsizetype(1) << 20;

} // namespace

CanvasSnapshot::CanvasSnapshot(const QImage &source)
    : m_from(source.constBits()), m_fromStride(source.bytesPerLine()),
      m_copy(newBitmap(source.size(), source.format()))
{
    if (m_copy.isNull()) {
        // No memory for a copy: the source is shared as it is, and the next
        // drawing copies the canvas instead.
        m_kept = source;
        m_copy = source;
        m_to = nullptr;
        m_bandRows = 1;
        m_left = 0;
        m_independent = true;
        return;
    }
    m_to = m_copy.bits(); // the buffer is ours alone: no copy
    m_bandRows = int(std::clamp<qsizetype>(BandBytes / std::max<qsizetype>(1, m_fromStride), 1,
                                           source.height()));
    m_left = (source.height() + m_bandRows - 1) / m_bandRows;
    m_bands.assign(std::size_t(m_left), Band::ToCopy);
}

void CanvasSnapshot::copyBand(std::unique_lock<std::mutex> &lock, int band)
{
    auto &state = m_bands[std::size_t(band)];
    // Copied by the other thread meanwhile: wait for that band alone.
    while (state == Band::Copying)
        m_bandDone.wait(lock);
    if (state == Band::Copied)
        return;
    // The copy runs outside the mutex so that the other thread, wanting a
    // band, never waits for more than the one band under way.
    state = Band::Copying;
    lock.unlock();
    const int top = band * m_bandRows, rows = std::min(m_bandRows, m_copy.height() - top);
    const qsizetype toStride = m_copy.bytesPerLine();
    if (toStride == m_fromStride) {
        std::memcpy(m_to + top * toStride, m_from + top * m_fromStride,
                    std::size_t(rows * toStride));
    } else {
        const auto row = std::size_t(std::min(toStride, m_fromStride));
        for (int y = top; y < top + rows; ++y)
            std::memcpy(m_to + y * toStride, m_from + y * m_fromStride, row);
    }
    lock.lock();
    state = Band::Copied;
    if (--m_left == 0)
        m_independent.store(true, std::memory_order_release);
    m_bandDone.notify_all();
}

QImage CanvasSnapshot::copyAll()
{
    std::unique_lock lock(m_mutex);
    for (int band = 0; band < int(m_bands.size()); ++band)
        copyBand(lock, band);
    m_kept = QImage(); // an old bitmap kept for us is freed here, off the interface thread
    return std::exchange(m_copy, QImage());
}

void CanvasSnapshot::writeAhead(int top, int bottom)
{
    if (independent() || bottom < top)
        return;
    std::unique_lock lock(m_mutex);
    const int last = int(m_bands.size()) - 1;
    // From the bottom up: a whole-picture write meets the worker halfway.
    for (int band = std::min(last, bottom / m_bandRows); band >= std::max(0, top / m_bandRows);
         --band)
        copyBand(lock, band);
}

void CanvasSnapshot::keepSource(const QImage &source)
{
    std::lock_guard lock(m_mutex);
    if (m_left > 0)
        m_kept = source;
    m_independent.store(true, std::memory_order_release);
}

} // namespace quor
