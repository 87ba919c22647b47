#include "palettes/palette_rules.h"
#include "palettes/style_boxes.h"

#include <Qt>
#include <gtest/gtest.h>

using namespace quor;

TEST(DigitKeys, OnlyDigitsTypeWhileNavigationStillWorks)
{
    EXPECT_TRUE(digitKeyAllowed(Qt::Key_7, QStringLiteral("7")));
    EXPECT_FALSE(digitKeyAllowed(Qt::Key_A, QStringLiteral("a")));
    EXPECT_FALSE(digitKeyAllowed(Qt::Key_Space, QStringLiteral(" ")));
    EXPECT_FALSE(digitKeyAllowed(Qt::Key_Minus, QStringLiteral("-")));
    EXPECT_FALSE(digitKeyAllowed(Qt::Key_Backspace, QStringLiteral("\b")));
    EXPECT_FALSE(digitKeyAllowed(Qt::Key_Backspace, QString()));
    // A full-width digit is not one of "0".."9".
    EXPECT_FALSE(digitKeyAllowed(0, QStringLiteral("７")));
    EXPECT_TRUE(digitKeyAllowed(Qt::Key_Left, QString()));
    EXPECT_TRUE(digitKeyAllowed(Qt::Key_Delete, QStringLiteral("\x7f")));
}

TEST(DigitKeys, WithoutADocumentNothingThatEditsGetsThrough)
{
    EXPECT_FALSE(keyAllowedWithoutDocument(Qt::Key_5, QStringLiteral("5")));
    EXPECT_FALSE(keyAllowedWithoutDocument(Qt::Key_Delete, QString()));
    EXPECT_FALSE(keyAllowedWithoutDocument(Qt::Key_Backspace, QString()));
    EXPECT_TRUE(keyAllowedWithoutDocument(Qt::Key_End, QString()));
}

TEST(NumberBoxRules, EmptyAndOutOfRangeTextsAreReplaced)
{
    EXPECT_EQ(lineWidthText(""), "1");
    EXPECT_EQ(lineWidthText("0"), "1");
    EXPECT_EQ(lineWidthText("00"), "1");
    EXPECT_EQ(lineWidthText("10"), "10");
    EXPECT_EQ(bandWidthText(""), "0");
    EXPECT_EQ(bandWidthText("0450"), "0450");
    EXPECT_EQ(gradientAngleText(""), "0");
    EXPECT_EQ(gradientAngleText("180"), "0");
    EXPECT_EQ(gradientAngleText("99999999999999999999999"), "0");
    EXPECT_EQ(gradientAngleText("179"), "179");
    EXPECT_EQ(gradientAngleText("0"), "0");
}

TEST(SizeEntry, SplitsAtTheFirstBlankAndClamps)
{
    auto s = parseSizeEntry(QStringLiteral("40000  500"));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->width, 36035);
    EXPECT_EQ(s->height, 500);
    EXPECT_EQ(sizeEntryText(*s), "36035 500");

    s = parseSizeEntry(QStringLiteral("1200 99999999999999999999"));
    ASSERT_TRUE(s);
    EXPECT_EQ(sizeEntryText(*s), "1200 30035");

    EXPECT_FALSE(parseSizeEntry(QStringLiteral("4000")));
    EXPECT_FALSE(parseSizeEntry(QStringLiteral(" 500")));
    EXPECT_FALSE(parseSizeEntry(QStringLiteral("500 ")));
    EXPECT_FALSE(parseSizeEntry(QStringLiteral("500 abc")));
    EXPECT_FALSE(parseSizeEntry(QStringLiteral("5x0 300")));
}

TEST(StyleBoxes, ShapeFamiliesPutTheInvisibleLineLast)
{
    for (StyleFamily f : {StyleFamily::Rectangle, StyleFamily::Ellipse, StyleFamily::Sector}) {
        EXPECT_TRUE(isFillBox(f, 8));
        EXPECT_FALSE(isFillBox(f, 9));
        EXPECT_EQ(boxLineStyle(f, 14), LineStyle::InsideSolid);
        EXPECT_EQ(boxLineStyle(f, 15), LineStyle::Invisible);
        EXPECT_EQ(styleBoxTip(f, 15), "隐线");
    }
    EXPECT_EQ(boxLineStyle(StyleFamily::Line, 6), LineStyle::InsideSolid);
    EXPECT_EQ(boxFillStyle(8), FillStyle::DiagonalCross);
    EXPECT_EQ(styleBoxName(StyleFamily::GradientLine, 3), "Pictureline03");
}

TEST(StyleBoxes, EveryBoxFitsInsideItsPanel)
{
    for (StyleFamily f : AllStyleFamilies)
        for (int i = 1; i <= styleBoxCount(f); ++i) {
            const BoxPlace p = styleBoxPlace(f, i);
            EXPECT_LE(p.left + p.width, 825);
            EXPECT_LE(p.top + p.height, 3405);
            if (i > 1)
                EXPECT_GE(p.top, styleBoxPlace(f, i - 1).top + styleBoxPlace(f, i - 1).height);
        }
}
