#include "app/mode_menus.h"

namespace quor {

const std::vector<ModeEntry> &drawModeEntries()
{
    static const std::vector<ModeEntry> entries = {
        {"mnudrawvbblackness", "黑色", 1},
        {"mnudrawvbwhiteness", "白色", 16},
        {"mnudrawvbcopypen", "前景色", 13},
        {"mnudrawvbnop", "输出保持不变", 11},
        {"mnudrawmodbar0", "-", 0},
        {"mnudrawvbmergepen", "组合颜色(绘图色与背景色)", 15},
        {"mnudrawvbmergenotpen", "组合颜色(背景色与逆转绘图色)", 12},
        {"mnudrawvbmergepennot", "组合颜色(绘图色与逆转背景色)", 14},
        {"mnudrawvbxorpen", "组合颜色(绘图色和背景色中的颜色)", 7},
        {"mnudrawvbmasknotpen", "组合颜色(背景色与逆转绘图色共有色)", 3},
        {"mnudrawvbmaskpennot", "组合颜色(绘图色与逆转背景色共有色)", 5},
        {"mnudrawvbmaskpen", "组合颜色(绘图色与显示器共有色)", 9},
        {"mnudrawmodbar1", "-", 0},
        {"mnudrawvbnotcopypen", "逆转前景色", 4},
        {"mnudrawvbinvert", "逆转绘图色", 6},
        {"mnudrawvbnotmergepen", "逆转组合色(绘图色与背景色)", 2},
        {"mnudrawvbnotxorpen", "逆转组合色(绘图色和背景色中的颜色)", 10},
        {"mnudrawvbnotmaskpen", "逆转组合色(绘图色与显示器共有色)", 8},
    };
    return entries;
}

const std::vector<ModeEntry> &pasteModeEntries()
{
    static const std::vector<ModeEntry> entries = {
        {"mnuvbsrccopy", "覆盖目标位图", 13369376},
        {"mnudrawmodbar4", "-", 0},
        {"mnuvbsrcpaint", "组合位图(源位图OR目标位图)", 15597702},
        {"mnuvbmergepaint", "组合位图(源位图的逆OR目标位图)", 12255782},
        {"mnuvbsrcinvert", "组合位图(源位图XOR目标位图)", 6684742},
        {"mnuvbsrcerase", "组合位图(源位图AND目标位图的逆)", 4457256},
        {"mnudrawmodbar3", "-", 0},
        {"mnuvbnotsrccopy", "逆转源位图", 3342344},
        {"mnuvbdstinvert", "逆转目标位图", 5570569},
        {"mnuvbnotsrcerase", "逆转组合位图(源位图OR目标位图)", 1114278},
        {"mnuvbsrcand", "逆转组合位图(源位图AND目标位图)", 8913094},
    };
    return entries;
}

const std::vector<const char *> &drawModeTestOrder()
{
    static const std::vector<const char *> order = {
        "mnudrawvbblackness",  "mnudrawvbnotmergepen", "mnudrawvbmasknotpen",
        "mnudrawvbnotcopypen", "mnudrawvbmaskpennot",  "mnudrawvbinvert",
        "mnudrawvbxorpen",     "mnudrawvbnotmaskpen",  "mnudrawvbmaskpen",
        "mnudrawvbnotxorpen",  "mnudrawvbnop",         "mnudrawvbmergenotpen",
        "mnudrawvbcopypen",    "mnudrawvbmergepennot", "mnudrawvbmergepen",
        "mnudrawvbwhiteness",
    };
    return order;
}

const std::vector<const char *> &pasteModeTestOrder()
{
    static const std::vector<const char *> order = {
        "mnuvbsrccopy",     "mnuvbdstinvert", "mnuvbmergepaint",
        "mnuvbnotsrccopy",  "mnuvbnotsrcerase", "mnuvbsrcand",
        "mnuvbsrcerase",    "mnuvbsrcinvert", "mnuvbsrcpaint",
    };
    return order;
}

} // namespace quor
