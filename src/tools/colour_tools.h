// The two toolbar tools that work with a picture's colours: the flood fill
// (16) and the colour picker (17). Both take the right button as well.
#pragma once

#include "tools/tool.h"

namespace quor {

class FillTool : public Tool
{
public:
    void press(ToolContext &t, const CanvasEvent &e) override;
};

// One pick, then the tool chosen before is back.
class PickerTool : public Tool
{
public:
    void press(ToolContext &t, const CanvasEvent &e) override;
    void release(ToolContext &t, const CanvasEvent &e) override;

private:
    static void handBack(ToolContext &t);
};

} // namespace quor
