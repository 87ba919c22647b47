// A copy of a canvas as it was at one moment, made on another thread while
// the user goes on drawing, without the canvas ever sharing its bitmap (a
// shared bitmap would be copied whole, on the interface thread, by the next
// stroke).
//
// The protocol: the snapshot reads the canvas's rows through a raw pointer
// and copies them band by band into a buffer of its own; a band is claimed
// under the mutex and copied outside it. Before the canvas writes rows, it
// copies the bands holding them that are still to be copied, or waits for
// the one the worker is copying (writeAhead); before it lets go of its
// bitmap or would make a copy of it (a bitmap shared elsewhere), it hands
// the snapshot a reference to the old bitmap, which nobody writes any more
// (keepSource). Either way every band holds the pixels of the moment the
// snapshot began.
#pragma once

#include <QImage>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace quor {

class CanvasSnapshot
{
public:
    // Takes source as it is now; the copy's memory is only mapped here.
    explicit CanvasSnapshot(const QImage &source);

    // On the worker: copies what is left and returns the copy.
    QImage copyAll();

    // The canvas is about to write rows top..bottom of the source.
    void writeAhead(int top, int bottom);
    // The canvas lets go of source, or is to copy it: the snapshot holds it
    // from now on and needs no more write-ahead.
    void keepSource(const QImage &source);
    // Every band is copied (or the source is kept): the canvas may forget it.
    bool independent() const { return m_independent.load(std::memory_order_acquire); }

private:
    enum class Band : unsigned char { ToCopy, Copying, Copied };
    // Called and returning with the lock held.
    void copyBand(std::unique_lock<std::mutex> &lock, int band);

    std::mutex m_mutex;
    std::condition_variable m_bandDone;
    const uchar *m_from;
    qsizetype m_fromStride;
    QImage m_copy;
    uchar *m_to;
    int m_bandRows;
    std::vector<Band> m_bands;
    int m_left;
    QImage m_kept;
    std::atomic<bool> m_independent{false};
};

} // namespace quor
