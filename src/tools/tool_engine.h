// Dispatches the canvas's mouse events to the tool family of tool.
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

    void press(ToolContext &t, const CanvasEvent &e) override;
    void move(ToolContext &t, const CanvasEvent &e) override;
    void release(ToolContext &t, const CanvasEvent &e) override;
    void doubleClick(ToolContext &t) override;

private:
    Tool *current(const ToolContext &t) const;
    std::map<ToolId, std::unique_ptr<Tool>> m_tools;
};

} // namespace quor
