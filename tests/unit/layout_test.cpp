// Sizing and centring arithmetic of the control helpers.
#include "support/layout.h"

#include <gtest/gtest.h>

TEST(ControlSizing, FormGetsFrameAllowanceBeforeScaling)
{
    struct Case {
        int width, height, scaleX, scaleY, outerWidth, outerHeight;
    };
    Case const cases[] = {
        {251, 196, 1, 1, 255, 208},
        {251, 196, 2, 3, 510, 624},
        {0, 0, 1, 1, 4, 12},
    };
    for (Case const& c : cases) {
        PixelSize size = FormSizeFor(c.width, c.height, c.scaleX, c.scaleY);
        EXPECT_EQ(size.width, c.outerWidth) << c.width << "x" << c.height;
        EXPECT_EQ(size.height, c.outerHeight) << c.width << "x" << c.height;
    }
}

TEST(ControlSizing, ButtonIsOneAndAHalfByOnePointThreeTwoOfItsTextTruncated)
{
    struct Case {
        int textWidth, textHeight, width, height;
    };
    Case const cases[] = {
        {45, 16, 67, 21},  // 67.5 and 21.12
        {0, 0, 0, 0},       {1, 1, 1, 1},  // 1.5 and 1.32
        {2, 25, 3, 33},  // 3.0 and 33.0 exactly
        {100, 50, 150, 66},
    };
    for (Case const& c : cases) {
        PixelSize size = ButtonSizeFor(c.textWidth, c.textHeight);
        EXPECT_EQ(size.width, c.width) << c.textWidth << "x" << c.textHeight;
        EXPECT_EQ(size.height, c.height) << c.textWidth << "x" << c.textHeight;
    }
}

TEST(WindowCentring, WorkAreaCentreIsNotClamped)
{
    struct Case {
        PixelRect work;
        int width, height, x, y;
    };
    Case const cases[] = {
        {{0, 0, 1024, 738}, 255, 208, 384, 265},
        {{0, 0, 1024, 748}, 255, 208, 384, 270},
        {{100, 30, 1124, 798}, 255, 208, 484, 310},
        {{0, 0, 200, 100}, 255, 208, -27, -54},  // larger than the work area
        {{0, 0, 1024, 768}, 1025, 769, 0, 0},  // -0.5 truncates toward zero
    };
    for (Case const& c : cases) {
        PixelPoint p = CenterInWorkArea(c.work, c.width, c.height);
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
    }
}

TEST(WindowCentring, OverReferenceIsKeptOnScreenRightAndBottomWinning)
{
    PixelRect const nearTopLeft{-50, -40, 50, 40};
    PixelRect const nearBottomRight{950, 700, 1050, 780};
    PixelRect const middle{400, 300, 600, 500};
    PixelRect const lowStrip{0, 600, 1024, 700};
    struct Case {
        PixelRect reference;
        const PixelRect* vertical;
        int width, height, x, y;
    };
    Case const cases[] = {
        {middle, nullptr, 100, 50, 450, 375},
        {nearTopLeft, nullptr, 200, 100, 0, 0},
        {nearBottomRight, nullptr, 200, 100, 824, 668},
        {middle, &lowStrip, 100, 50, 450, 625},  // only y follows the vertical reference
        {middle, nullptr, 1200, 900, -176, -132},  // larger than the screen: right, bottom win
    };
    for (Case const& c : cases) {
        PixelPoint p = CenterOverReference(c.reference, c.vertical, c.width, c.height, 1024, 768);
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
    }
}
