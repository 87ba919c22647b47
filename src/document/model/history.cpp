#include "document/model/history.h"

#include <algorithm>
#include <vector>

namespace quor {

namespace {

std::size_t imageBytes(const QImage &img) { return img.isNull() ? 0 : std::size_t(img.sizeInBytes()); }

} // namespace

struct HistoryRegistry
{
    std::vector<History *> histories;
    std::size_t budget = std::size_t(256) << 20;
    std::uint64_t serial = 0;

    static HistoryRegistry &get()
    {
        static HistoryRegistry r;
        return r;
    }

    std::size_t total() const
    {
        std::size_t sum = 0;
        for (const History *h : histories)
            sum += h->bytes();
        return sum;
    }

    // Drops the oldest steps of all histories until the total fits, never
    // the step just made.
    void trim(const HistoryStep *keep)
    {
        while (total() > budget) {
            History *oldest = nullptr;
            for (History *h : histories)
                if (!h->m_steps.isEmpty() && &h->m_steps.first() != keep
                    && (!oldest || h->m_steps.first().serial < oldest->m_steps.first().serial))
                    oldest = h;
            if (!oldest)
                return;
            oldest->dropOldest();
        }
    }
};

std::size_t HistoryStep::bytes() const
{
    std::size_t sum = imageBytes(before) + imageBytes(after);
    // A selection picture counts once however many steps share it.
    sum += imageBytes(selectionBefore.image) + imageBytes(selectionAfter.image);
    return sum;
}

History::History() { HistoryRegistry::get().histories.push_back(this); }

History::~History()
{
    auto &list = HistoryRegistry::get().histories;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void History::push(HistoryStep step)
{
    while (m_steps.size() > m_cursor)
        m_steps.removeLast();
    if (m_saved > m_cursor)
        m_saved = -1; // the saved state can no longer be reached
    step.serial = ++HistoryRegistry::get().serial;
    m_steps.append(std::move(step));
    m_cursor = m_steps.size();
    HistoryRegistry::get().trim(&m_steps.last());
}

const HistoryStep &History::undo() { return m_steps[--m_cursor]; }
const HistoryStep &History::redo() { return m_steps[m_cursor++]; }

std::size_t History::bytes() const
{
    std::size_t sum = 0;
    for (const HistoryStep &s : m_steps)
        sum += s.bytes();
    return sum;
}

void History::dropOldest()
{
    if (m_cursor == 0) {
        // Everything here was undone: without its first step the rest could
        // not be redone either.
        m_steps.clear();
        m_saved = m_saved == 0 ? 0 : -1;
        return;
    }
    m_steps.removeFirst();
    --m_cursor;
    m_saved = m_saved > 0 ? m_saved - 1 : -1;
}

void History::setBudget(std::size_t bytes) { HistoryRegistry::get().budget = bytes; }
std::size_t History::budget() { return HistoryRegistry::get().budget; }
std::size_t History::totalBytes() { return HistoryRegistry::get().total(); }

} // namespace quor
