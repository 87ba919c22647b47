// Dispatches the canvas's mouse events to the tool family of hTool.
#pragma once

#include "core/tool_id.h"
#include "tools/tool.h"

#include <map>
#include <memory>

namespace quor {

class ToolEngine : public ToolHandler
{
public:
    ToolEngine();
    ~ToolEngine() override;

    void mouseDown(ToolContext &t, int shift, double x, double y) override;
    void mouseMove(ToolContext &t, int shift, double x, double y) override;
    void mouseUp(ToolContext &t, int shift, double x, double y) override;
    void dblClick(ToolContext &t) override;

private:
    Tool *current(const ToolContext &t) const;
    std::map<ToolId, std::unique_ptr<Tool>> m_tools;
};

} // namespace quor
