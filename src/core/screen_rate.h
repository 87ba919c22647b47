// Paces progress display of long runs to the screen: a run asks due()
// after each step and repaints only when it answers true, so a large run
// shows its progress moving and a small one costs no repaint per step.
#pragma once

#include <QElapsedTimer>

namespace quor {

class ScreenRate
{
public:
    explicit ScreenRate(int intervalMs = 15) : m_interval(intervalMs) { m_clock.start(); }

    // True once the interval has passed since the start or the last true.
    bool due()
    {
        if (m_clock.elapsed() < m_interval)
            return false;
        m_clock.restart();
        return true;
    }

private:
    QElapsedTimer m_clock;
    int m_interval;
};

} // namespace quor
