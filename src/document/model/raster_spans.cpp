#include "document/model/raster_spans.h"

#include <algorithm>

namespace quor::raster {

SpanList::SpanList(const QRect &clip)
    : m_clip(clip)
    , m_left(clip.left())
    , m_top(clip.top())
    , m_right(clip.right())
    , m_bottom(clip.bottom())
{
}

void SpanList::addPixel(int x, int y)
{
    if (!rowVisible(y) || x < m_left || x > m_right)
        return;
    if (!m_spans.empty()) {
        Span &last = m_spans.back();
        if (last.y == y) {
            if (x >= last.x0 - 1 && x <= last.x1 + 1) {
                last.x0 = std::min(last.x0, x);
                last.x1 = std::max(last.x1, x);
                return;
            }
        }
    }
    m_spans.push_back({y, x, x});
}

void SpanList::addRect(const QRect &r)
{
    const int top = std::max(r.top(), m_top), bottom = std::min(r.bottom(), m_bottom);
    for (int y = top; y <= bottom; ++y)
        add(y, r.left(), r.right());
}

void SpanList::normalize()
{
    const auto before = [](const Span &a, const Span &b) {
        return a.y != b.y ? a.y < b.y : a.x0 < b.x0;
    };
    // Most figures are generated row by row already.
    if (!std::is_sorted(m_spans.begin(), m_spans.end(), before))
        std::sort(m_spans.begin(), m_spans.end(), before);
    std::size_t kept = 0;
    int left = m_right, right = m_left;
    for (const Span &s : m_spans) {
        left = std::min(left, s.x0);
        right = std::max(right, s.x1);
        if (kept > 0) {
            Span &prev = m_spans[kept - 1];
            if (prev.y == s.y && s.x0 <= prev.x1 + 1) {
                prev.x1 = std::max(prev.x1, s.x1);
                continue;
            }
        }
        m_spans[kept++] = s;
    }
    m_spans.resize(kept);
    m_bounds = m_spans.empty()
        ? QRect()
        : QRect(QPoint(left, m_spans.front().y), QPoint(right, m_spans.back().y));
}

SpanList SpanList::minus(const SpanList &other) const
{
    SpanList out(m_clip);
    const std::vector<Span> &cut = other.m_spans;
    std::size_t first = 0;
    for (const Span &s : m_spans) {
        while (first < cut.size()
               && (cut[first].y < s.y || (cut[first].y == s.y && cut[first].x1 < s.x0)))
            ++first;
        int x = s.x0;
        for (std::size_t k = first; k < cut.size() && cut[k].y == s.y && cut[k].x0 <= s.x1; ++k) {
            if (cut[k].x0 > x)
                out.m_spans.push_back({s.y, x, cut[k].x0 - 1});
            x = std::max(x, cut[k].x1 + 1);
        }
        if (x <= s.x1)
            out.m_spans.push_back({s.y, x, s.x1});
    }
    return out;
}

} // namespace quor::raster
