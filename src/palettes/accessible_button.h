// Widgets assistive tools should take for buttons although their classes
// are none (picture boxes), and buttons that report a current choice
// without drawing a pressed face (the tool buttons, the style boxes).
#pragma once

#include <functional>

class QWidget;

namespace quor {

struct AccessibleButton
{
    // What the press action does.
    std::function<void()> press;
    // When set, the button is one of a group, checked while it answers true.
    std::function<bool()> checked;
};

// Makes `w` a focusable button for assistive tools (a radio button when
// it can be checked); its name and description stay the widget's own.
void makeAccessibleButton(QWidget *w, AccessibleButton how);

// Tells assistive tools that `w`'s checked state may have changed.
void announceCheckedChange(QWidget *w);

} // namespace quor
