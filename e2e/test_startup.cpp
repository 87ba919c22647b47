#include "harness.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

TEST(Startup, ShowsMainWindowAndQuitsWithCtrlQ)
{
    e2e::Session session;
    const auto main = session.waitWindow("Quor 画图");
    ASSERT_TRUE(main);
    EXPECT_FALSE(session.geometry(*main).isEmpty());
    session.key("ctrl+q");
    EXPECT_EQ(session.waitExit(5s), 0);
}
