// The main window's placement as the settings file gives it.
#include "app/placement.h"

#include <gtest/gtest.h>

using namespace quor;

TEST(Placement, AValueNoScreenCouldShowGivesTheDefaultPlacement)
{
    for (const char *left : {"nan", "-inf", "1e30"}) {
        {
            QSettings s = settingsFile();
            s.setValue("Settings/MainLeft", left);
            s.setValue("Settings/MainTop", "450");
            s.setValue("Settings/MainWidth", "15000");
            s.setValue("Settings/MainHeight", "9000");
        }
        const Placement p = readPlacement(), defaults;
        EXPECT_EQ(p.left, defaults.left) << left;
        EXPECT_EQ(p.top, defaults.top) << left;
        EXPECT_EQ(p.width, defaults.width) << left;
    }
}
