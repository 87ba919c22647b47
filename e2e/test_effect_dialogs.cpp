// The custom filter and gradient fill dialogs driven with the real keyboard
// and mouse, each checked in the bitmap the program saves.
#include "steps.h"

#include "effects/custom_kernel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

using namespace std::chrono_literals;
using namespace e2e;

namespace {



int differing(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += (a.pixel(x, y) & 0xffffff) != (b.pixel(x, y) & 0xffffff);
    return n;
}

} // namespace

TEST(EffectDialogs, CustomFilterTypedWithTheKeyboard)
{
    Session s;
    ASSERT_TRUE(s.waitWindow("Quor 画图"));
    const auto canvas = s.widget("frmquoredit/Picture1");
    ASSERT_TRUE(canvas);
    s.click(s.widget("frmquortoolsInner/Command4")->center()); // rectangle
    s.drag(onCanvas(*canvas, 10, 10), onCanvas(*canvas, 30, 30));
    const QImage before = saveNew(s, "保存 New Quor1", "picture.bmp");
    ASSERT_FALSE(before.isNull());

    s.click(s.widget("frmquortoolsInner/Command1")->center()); // selection
    s.drag(onCanvas(*canvas, 5, 5), onCanvas(*canvas, 40, 40));
    s.key("ctrl+g");
    ASSERT_TRUE(s.widget("FrmQuorCustomFilter/Text1"));
    // 3 x 3: the focus starts in Text7 and Enter skips the outer boxes.
    s.click(s.widget("FrmQuorCustomFilter/Frame1/Option1")->center());
    for (const char *w : {"1", "2", "1", "2", "4", "2", "1", "2", "1"}) {
        s.type(w);
        s.key("Return");
    }
    s.type("16"); // the divisor's "1", selected, is replaced
    s.key("Return");
    s.key("Return"); // the addend stays 0
    s.click(s.widget("FrmQuorCustomFilter/Command1")->center());
    s.click(s.widget("FrmQuorCustomFilter/Command2")->center());
    std::this_thread::sleep_for(300ms); // the dialog goes, the focus returns
    s.key("Return"); // puts the selection down
    const QImage after = saveAgain(s, s.home() + "/picture.bmp", before);
    ASSERT_FALSE(after.isNull());

    // The lifted 35 x 35 square blurred with the typed kernel, put back.
    const QRect lifted(5, 5, 35, 35);
    const QImage source = before.convertToFormat(QImage::Format_RGB32).copy(lifted);
    QImage filtered = source;
    quor::effects::Kernel k;
    k.radius = 1;
    const int weights[9] = {1, 2, 1, 2, 4, 2, 1, 2, 1};
    for (int i = 0; i < 9; ++i)
        k.weight(i % 3 - 1, i / 3 - 1) = weights[i];
    k.divisor = 16;
    ASSERT_TRUE(quor::effects::applyKernel(source, filtered, k));
    QImage expected = before.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < lifted.height(); ++y)
        for (int x = 0; x < lifted.width(); ++x)
            expected.setPixel(lifted.x() + x, lifted.y() + y, filtered.pixel(x, y));
    EXPECT_EQ(differing(after, expected), 0);
    EXPECT_NE(after.pixel(11, 11) & 0xffffff, 0u) << "the corner really is blurred";

    s.key("ctrl+q");
    EXPECT_EQ(s.waitExit(5s), 0);
}

TEST(EffectDialogs, GradientFillOfASelection)
{
    Session s;
    ASSERT_TRUE(s.waitWindow("Quor 画图"));
    const auto canvas = s.widget("frmquoredit/Picture1");
    ASSERT_TRUE(canvas);
    s.click(s.widget("frmquortoolsInner/Command1")->center()); // selection
    s.drag(onCanvas(*canvas, 10, 10), onCanvas(*canvas, 70, 50));
    s.key("ctrl+j");
    ASSERT_TRUE(s.widget("FrmQuorJianbian/Command1"));
    // One-way lines at 0 degrees: vertical, start colour left.
    s.click(s.widget("FrmQuorJianbian/Frame1/hdancornerboxOption")->center());
    s.click(s.widget("FrmQuorJianbian/Command1")->center());
    s.click(s.widget("FrmQuorJianbian/Command2")->center());
    std::this_thread::sleep_for(300ms);
    s.key("Return");
    const QImage saved = saveNew(s, "保存 New Quor1", "gradient.bmp");
    ASSERT_FALSE(saved.isNull());
    const QImage got = saved.convertToFormat(QImage::Format_RGB32);

    // Column c of the 60 x 40 selection (900 twips wide) last took the
    // line at twip 15c + 14: 239 towards 127 grey by (15c + 14) / 900.
    int wrong = 0;
    for (int c = 0; c < 60; ++c) {
        const int grey = int(std::nearbyint(239 + (127 - 239) * ((15 * c + 14) / 900.0)));
        for (int r = 0; r < 40; ++r)
            wrong += got.pixel(10 + c, 10 + r) != qRgb(grey, grey, grey);
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(isWhite(got.pixel(9, 20)));
    EXPECT_TRUE(isWhite(got.pixel(70, 20)));
    EXPECT_TRUE(isWhite(got.pixel(40, 50)));

    s.key("ctrl+q");
    EXPECT_EQ(s.waitExit(5s), 0);
}
