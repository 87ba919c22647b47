#include "palettes/tool_buttons.h"

#include <stdexcept>

namespace quor {

namespace {

const ToolButtonSpec buttons[ToolButtonCount] = {
    {1, 1, 0, "选择图片", ToolId::Select, 300, 250, 2},
    {2, 1, 1, "直线", ToolId::Line, 750, 250, 3},
    {3, 2, 0, "(椭)圆形(框)", ToolId::Ellipse, 300, 560, 1},
    {4, 2, 1, "方形(框)", ToolId::Rectangle, 750, 560, 4},
    {5, 3, 0, "连线", ToolId::Polyline, 300, 880, 3},
    {6, 3, 1, "划线", ToolId::Freehand, 750, 880, 3},
    {7, 4, 0, "渐变色(椭)圆形", ToolId::GradientEllipse, 300, 1210, 2},
    {8, 4, 1, "渐变色方形(内外)", ToolId::GradientBox, 750, 1210, 2},
    {9, 5, 0, "星点", ToolId::Dots, 300, 1540, 3},
    {10, 5, 1, "弧线 ( 画出直径，按顺时针方向指出弧线末端位置。 )", ToolId::Arc, 750, 1540, 3},
    {11, 6, 0, "渐变色方形", ToolId::GradientDirectional, 300, 1870, 2},
    {14, 6, 1, "扇形", ToolId::Sector, 750, 1870, 5},
    {15, 7, 0, "渐变色弧线", ToolId::GradientArcBand, 300, 2200, 2},
    {16, 7, 1, "渐变色扇形", ToolId::GradientArcBand, 750, 2200, 2},
    {13, 8, 0, "文字 ( 录完文字后，点击右键菜单的“确定”命令。)", ToolId::Text, 300, 2540, 2},
    {12, 8, 1, "放缩图像", ToolId::Zoom, 750, 2540, 2},
};

} // namespace

const ToolButtonSpec &toolButtonAt(int layoutIndex)
{
    return buttons[layoutIndex];
}

const ToolButtonSpec &toolButton(int command)
{
    for (const ToolButtonSpec &b : buttons)
        if (b.command == command)
            return b;
    throw std::out_of_range("no such tool button");
}

namespace {
// Explanations stand after a blank in brackets with blanks inside; the
// brackets of "(椭)圆形(框)" are part of the name.
const QString HintOpen = QStringLiteral(" ( ");
} // namespace

QString toolButtonName(const ToolButtonSpec &b)
{
    const QString tip = QString::fromUtf8(b.tip);
    return tip.left(tip.indexOf(HintOpen)).trimmed();
}

QString toolButtonHint(const ToolButtonSpec &b)
{
    const QString tip = QString::fromUtf8(b.tip);
    const qsizetype at = tip.indexOf(HintOpen);
    if (at < 0)
        return {};
    QString hint = tip.mid(at + HintOpen.size()).trimmed();
    if (hint.endsWith(QLatin1Char(')')))
        hint.chop(1);
    return hint.trimmed();
}

double toolButtonLeft(const ToolButtonSpec &b)
{
    return b.column == 0 ? 30 : 480;
}

double toolButtonTop(const ToolButtonSpec &b)
{
    return 60 + 330.0 * (b.row - 1);
}

} // namespace quor
