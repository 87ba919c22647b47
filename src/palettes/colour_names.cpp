#include "palettes/colour_names.h"

namespace quor {

namespace {

struct Named
{
    Colour colour;
    const char *name;
};

// Only exact matches: a near colour read out under a wrong name would
// mislead more than the bare numbers.
const Named names[] = {
    {rgbColour(255, 255, 255), "白色"},   {rgbColour(0, 0, 0), "黑色"},
    {rgbColour(192, 192, 192), "浅灰色"}, {rgbColour(128, 128, 128), "灰色"},
    {rgbColour(64, 64, 64), "深灰色"},    {rgbColour(255, 0, 0), "红色"},
    {rgbColour(128, 0, 0), "褐红色"},     {rgbColour(255, 128, 0), "橙色"},
    {rgbColour(255, 255, 0), "黄色"},     {rgbColour(128, 128, 0), "橄榄色"},
    {rgbColour(0, 255, 0), "绿色"},       {rgbColour(0, 128, 0), "深绿色"},
    {rgbColour(0, 255, 255), "青色"},     {rgbColour(0, 128, 128), "蓝绿色"},
    {rgbColour(0, 0, 255), "蓝色"},       {rgbColour(0, 0, 128), "藏青色"},
    {rgbColour(255, 0, 255), "洋红色"},   {rgbColour(128, 0, 128), "紫色"},
};

} // namespace

QString colourName(Colour c)
{
    const QString numbers =
        QStringLiteral("(%1, %2, %3)").arg(redOf(c)).arg(greenOf(c)).arg(blueOf(c));
    for (const Named &n : names)
        if (n.colour == c)
            return QString::fromUtf8(n.name) + QLatin1Char(' ') + numbers;
    return numbers;
}

} // namespace quor
