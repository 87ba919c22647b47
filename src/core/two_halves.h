// Memory-bound work on a large picture split over two cores: one core alone
// does not reach the memory's bandwidth.
#pragma once

#include <QtGlobal>

#include <system_error>
#include <thread>

namespace quor {

// Runs work(begin, end) over [0, count) in two halves at once when the
// machine has two cores to spare and the job is large enough to pay for a
// thread; else in one go. The halves must write apart.
template <typename Work>
void inTwoHalves(int count, qsizetype pixels, Work work)
{
    if (pixels >= (qsizetype(1) << 20) && count >= 2 && std::thread::hardware_concurrency() >= 2) {
        try {
            std::thread other([&] { work(count / 2, count); });
            work(0, count / 2);
            other.join();
            return;
        } catch (const std::system_error &) {
            // No thread to be had: on in this one.
        }
    }
    work(0, count);
}

} // namespace quor
