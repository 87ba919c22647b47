#include "palettes/style_boxes.h"

namespace quor {

namespace {

const char *const fillTips[8] = {"实心",       "空心",       "水平线底纹",   "垂直线底纹",
                                 "下斜线底纹", "上斜线底纹", "正网格线底纹", "斜网格线底纹"};
const char *const lineTips[6] = {"实线", "虚线", "点线", "点划线", "点点划线", "内实线"};
// Boxes 9..15 of the box, circle and sector families: the inside-solid
// line comes before the invisible one.
const LineStyle familyLineStyles[7] = {LineStyle::Solid,      LineStyle::Dash,
                                       LineStyle::Dot,        LineStyle::DashDot,
                                       LineStyle::DashDotDot, LineStyle::InsideSolid,
                                       LineStyle::Invisible};
const LineStyle lineStyles[6] = {LineStyle::Solid,   LineStyle::Dash,       LineStyle::Dot,
                                 LineStyle::DashDot, LineStyle::DashDotDot, LineStyle::InsideSolid};

bool isShapeFamily(StyleFamily f)
{
    return f == StyleFamily::Rectangle || f == StyleFamily::Ellipse || f == StyleFamily::Sector;
}

} // namespace

int styleBoxCount(StyleFamily f)
{
    return isShapeFamily(f) ? 15 : 6;
}

QString styleBoxName(StyleFamily f, int i)
{
    switch (f) {
    case StyleFamily::Rectangle: return QStringLiteral("Picturebox%1").arg(i);
    case StyleFamily::Ellipse: return QStringLiteral("Picturecircle%1").arg(i);
    case StyleFamily::Sector: return QStringLiteral("Picturehu%1").arg(i);
    case StyleFamily::Line: return QStringLiteral("Pictureline%1").arg(i);
    case StyleFamily::GradientLine: return QStringLiteral("Pictureline0%1").arg(i);
    }
    return {};
}

int styleFamilyFrame(StyleFamily f)
{
    switch (f) {
    case StyleFamily::Ellipse: return 1;
    case StyleFamily::GradientLine: return 2;
    case StyleFamily::Line: return 3;
    case StyleFamily::Rectangle: return 4;
    case StyleFamily::Sector: return 5;
    }
    return 0;
}

bool isFillBox(StyleFamily f, int i)
{
    return isShapeFamily(f) && i <= 8;
}

FillStyle boxFillStyle(int i)
{
    return FillStyle(i - 1);
}

LineStyle boxLineStyle(StyleFamily f, int i)
{
    return isShapeFamily(f) ? familyLineStyles[i - 9] : lineStyles[i - 1];
}

QString styleBoxTip(StyleFamily f, int i)
{
    if (isShapeFamily(f)) {
        if (i <= 8)
            return QString::fromUtf8(fillTips[i - 1]);
        return QString::fromUtf8(i == 15 ? "隐线" : "实线");
    }
    return QString::fromUtf8(lineTips[i - 1]);
}

BoxPlace styleBoxPlace(StyleFamily f, int i)
{
    switch (f) {
    case StyleFamily::Line:
        return {60, 150 + 420.0 * (i - 1), 720, 315};
    case StyleFamily::GradientLine:
        return {60, 2100 + 210.0 * (i - 1), 720, 165};
    default:
        // A small gap between the fill group and the line group.
        return {60, 150 + 210.0 * (i - 1) + (i > 8 ? 60 : 0), 720, 195};
    }
}

} // namespace quor
