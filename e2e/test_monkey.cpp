// A short monkey run: random real clicks, drags, keys and typing over the
// whole program from a fixed seed, then Ctrl+Q answering No to every
// question. It fails on a crash, a hang or a non-zero exit, and prints the
// seed and the events to replay them (QUOR_MONKEY_SEED sets another seed).
#include "steps.h"

#include <gtest/gtest.h>

#include <random>

using namespace std::chrono_literals;
using namespace e2e;

namespace {

// Keys a user presses: menu shortcuts (not Exit), the selection keys, and
// the dialog keys.
const char *const keys[] = {
    "F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F11", "F12", "ctrl+y", "ctrl+a",
    "ctrl+c", "ctrl+v", "ctrl+z", "ctrl+x", "ctrl+s", "ctrl+f", "ctrl+b", "ctrl+w", "ctrl+t",
    "ctrl+g", "ctrl+j", "shift+F11", "shift+F12", "ctrl+u", "ctrl+i", "ctrl+o", "ctrl+p",
    "ctrl+l", "ctrl+m", "Left", "Right", "Up", "Down", "Return", "Escape", "Tab", "alt+e",
    "alt+v", "alt+d", "alt+w",
};

} // namespace

TEST(Monkey, FiveHundredRandomEventsAndAnOrderlyExit)
{
    const unsigned seed = qEnvironmentVariableIsSet("QUOR_MONKEY_SEED")
        ? qEnvironmentVariable("QUOR_MONKEY_SEED").toUInt()
        : 20261207u;
    std::mt19937 rng(seed);
    QStringList log;
    auto pick = [&](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(rng)); };
    auto fail = [&](const QString &why) {
        ADD_FAILURE() << why.toStdString() << "\nseed " << seed << ", events:\n"
                      << log.join('\n').toStdString();
    };

    Session s;
    const auto main = s.waitWindow("Quor 画图");
    ASSERT_TRUE(main);
    s.resize(*main, 1000, 760);
    ASSERT_TRUE(s.widget("frmquoredit/Picture1"));

    for (int i = 0; i < 500; ++i) {
        if (!s.running())
            return fail(QString("the program ended at event %1").arg(i));
        if (s.sinceLastReport() > 10s)
            return fail(QString("no answer for 10 s at event %1").arg(i));
        // A dialog on screen is dismissed most of the time.
        if (s.windows().size() > 1 && pick(4) != 0) {
            log << "Escape (dialog)";
            s.key("Escape");
            continue;
        }
        // Only what lies on the screen: a scrolled canvas or a document
        // window moved partly out of view reaches past its edges.
        QList<std::pair<QString, QRect>> canvases, others;
        for (auto w : s.widgets()) {
            w.second &= screenRect;
            if (w.second.isEmpty())
                continue;
            (w.first.endsWith("Picture1") && w.first.contains("frmquoredit") ? canvases : others)
                << w;
        }
        const QRect canvas = canvases.isEmpty() ? QRect() : canvases.first().second;
        auto inside = [&](const QRect &r) {
            return r.topLeft() + QPoint(pick(std::max(1, r.width())), pick(std::max(1, r.height())));
        };
        switch (pick(8)) {
        case 0:
        case 1: {
            if (others.isEmpty())
                break;
            const auto &w = others[pick(int(others.size()))];
            log << "click " + w.first;
            s.click(inside(w.second));
            break;
        }
        case 2:
            if (canvas.isEmpty())
                break;
            log << "drag on the canvas";
            s.drag(inside(canvas), inside(canvas));
            break;
        case 3:
            if (canvas.isEmpty())
                break;
            log << (pick(2) ? "right click on the canvas" : "double click on the canvas");
            if (log.last().startsWith("right"))
                s.click(inside(canvas), 3);
            else {
                const QPoint p = inside(canvas);
                s.click(p);
                s.click(p);
            }
            break;
        case 4:
            log << QString("type");
            s.type(pick(2) ? "Quor 1+2" : "abc");
            break;
        default: {
            const char *k = keys[pick(int(std::size(keys)))];
            log << QString("key ") + k;
            s.key(k);
            break;
        }
        }
    }

    // Leave: dismiss what is open, then Exit, answering No to every question.
    for (int i = 0; i < 10 && s.windows().size() > 1; ++i)
        s.key("Escape");
    log << "ctrl+q";
    s.key("ctrl+q");
    for (int i = 0; i < 100 && s.running(); ++i) {
        if (s.windows().size() > 1)
            s.key(i % 3 == 2 ? "Escape" : "alt+n");
        if (i % 10 == 9)
            s.key("ctrl+q"); // a question closed another way asks again
        std::this_thread::sleep_for(100ms);
    }
    const auto code = s.waitExit(20s);
    if (!code)
        return fail("the program did not exit");
    if (*code != 0)
        fail(QString("the program exited with %1").arg(*code));
}
