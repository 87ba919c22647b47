// Where the whole-picture window opens and where its picture sits.
#include "app/whole_picture_layout.h"

#include <gtest/gtest.h>

using namespace quor;

TEST(SeeAllLayout, PictureCentredWhereTheWindowIsLargerAnchoredElsewhere)
{
    EXPECT_EQ(wholePicturePlace({300, 200}, {100, 50}), QPoint(100, 75));
    EXPECT_EQ(wholePicturePlace({301, 201}, {100, 50}), QPoint(100, 75)); // halves down
    EXPECT_EQ(wholePicturePlace({100, 50}, {100, 50}), QPoint(0, 0));
    // Narrower than the picture: anchored at 0 across, still centred down.
    EXPECT_EQ(wholePicturePlace({80, 200}, {100, 50}), QPoint(0, 75));
    EXPECT_EQ(wholePicturePlace({300, 40}, {100, 50}), QPoint(100, 0));
    EXPECT_EQ(wholePicturePlace({80, 40}, {100, 50}), QPoint(0, 0));
}

TEST(SeeAllLayout, OpensAtThePictureSizeCentredOnTheMainWindow)
{
    const QRect screen(0, 0, 1280, 1024);
    const QMargins frame(2, 20, 2, 2);
    const WholePictureOpening o = wholePictureOpening({200, 100}, screen, QRect(100, 100, 600, 400), frame);
    EXPECT_EQ(o.shown, QSize(200, 100));
    EXPECT_EQ(o.inner.size(), QSize(200, 100));
    // The frame's centre is the main window's.
    EXPECT_EQ(o.inner.marginsAdded(frame).center(), QRect(100, 100, 600, 400).center());
}

TEST(SeeAllLayout, KeptOnTheScreenWhenTheMainWindowIsNearItsEdge)
{
    const QRect screen(0, 30, 1280, 994); // a panel above
    const QMargins frame(2, 20, 2, 2);
    const WholePictureOpening o = wholePictureOpening({600, 500}, screen, QRect(-300, 0, 400, 300), frame);
    EXPECT_EQ(o.shown, QSize(600, 500));
    EXPECT_EQ(o.inner.marginsAdded(frame).topLeft(), QPoint(0, 30));
    const WholePictureOpening r = wholePictureOpening({600, 500}, screen, QRect(1100, 900, 400, 300), frame);
    const QRect outer = r.inner.marginsAdded(frame);
    EXPECT_EQ(outer.right(), screen.right());
    EXPECT_EQ(outer.bottom(), screen.bottom());
}

TEST(SeeAllLayout, LargerThanTheScreenIsScaledToFitWithItsAspect)
{
    const QRect screen(0, 0, 1280, 1024);
    const QMargins frame(4, 24, 4, 4);
    // Too wide: the width decides.
    WholePictureOpening o = wholePictureOpening({2400, 600}, screen, screen, frame);
    EXPECT_EQ(o.shown, QSize(1272, 318));
    EXPECT_LE(o.inner.marginsAdded(frame).width(), screen.width());
    // Too tall: the height decides, and the window fills the screen's height.
    o = wholePictureOpening({1000, 2000}, screen, screen, frame);
    EXPECT_EQ(o.shown, QSize(498, 996));
    EXPECT_EQ(o.inner.marginsAdded(frame).top(), 0);
    EXPECT_EQ(o.inner.marginsAdded(frame).bottom(), 1023);
    // A sliver never vanishes.
    o = wholePictureOpening({100000, 2}, screen, screen, frame);
    EXPECT_EQ(o.shown, QSize(1272, 1));
}

TEST(SeeAllLayout, TitleSaysWhenThePictureIsShownSmaller)
{
    EXPECT_EQ(wholePictureTitle({200, 100}, {200, 100}), QStringLiteral("查看全图"));
    EXPECT_EQ(wholePictureTitle({2400, 600}, {1272, 318}), QStringLiteral("查看全图（缩小显示 53%）"));
    EXPECT_EQ(wholePictureTitle({100000, 2}, {1272, 1}), QStringLiteral("查看全图（缩小显示 1%）"));
}
