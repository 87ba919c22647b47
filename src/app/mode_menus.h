// The draw-mode and paste-mode submenus: entries in menu order, and the
// order in which the program looks for the checked one.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace quor {

struct ModeEntry
{
    const char *name;    // object name
    const char *caption; // "-" for a separator
    std::uint32_t value; // draw mode 1..16, or a paste raster operation
};

const std::vector<ModeEntry> &drawModeEntries();  // menu order, with separators
const std::vector<ModeEntry> &pasteModeEntries(); // menu order, with separators

// Names tested, in order, for the mode in force.
const std::vector<const char *> &drawModeTestOrder();
const std::vector<const char *> &pasteModeTestOrder();

// The value of the first name in testOrder for which isChecked is true;
// fallback when none is.
template <typename Pred>
std::uint32_t firstCheckedMode(const std::vector<ModeEntry> &entries,
                               const std::vector<const char *> &testOrder, Pred isChecked,
                               std::uint32_t fallback)
{
    for (const char *name : testOrder)
        if (isChecked(name))
            for (const ModeEntry &e : entries)
                if (std::string_view(e.name) == name)
                    return e.value;
    return fallback;
}

} // namespace quor
