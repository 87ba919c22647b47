// Dispatches the canvas's mouse events to the tool family of hTool.
#pragma once

#include "tools/tool.h"

#include <map>
#include <memory>

namespace quor {

class ToolEngine
{
public:
    ToolEngine();
    ~ToolEngine();

    void mouseDown(frmquoredit &doc, int shift, double x, double y);
    void mouseMove(frmquoredit &doc, int shift, double x, double y);
    void mouseUp(frmquoredit &doc, int shift, double x, double y);
    void dblClick(frmquoredit &doc);

private:
    Tool *current(frmquoredit &doc) const;
    std::map<int, std::shared_ptr<Tool>> m_tools;
};

} // namespace quor
