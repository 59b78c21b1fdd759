// Sizing and centring arithmetic of the control helpers.
#include "support/layout.h"

#include <gtest/gtest.h>

TEST(DisplayScaling, LengthsScaleAsMulDivRoundsThem)
{
    struct Case {
        int value, fromDpi, toDpi, scaled;
    };
    Case const cases[] = {
        {249, 96, 96, 249},  {183, 96, 96, 183},  // 100 %: the design itself
        {249, 96, 120, 311},  // 311.25
        {183, 96, 120, 229},  // 228.75
        {12, 96, 120, 15},   {235, 96, 144, 353},  // 352.5: halves round up
        {155, 96, 144, 233},  // 232.5
        {183, 96, 192, 366}, {-11, 96, 144, -17},  // font heights: halves round away from zero
        {-11, 96, 120, -14}, {-16, 96, 192, -32}, {0, 96, 192, 0},
        {16, 96, 120, 20},  // small icons from the system's size to a window's DPI
        {24, 144, 96, 16},   {24, 144, 192, 32},  {32, 192, 120, 20},
    };
    for (Case const& c : cases) {
        EXPECT_EQ(ScaleBetweenDpis(c.value, c.fromDpi, c.toDpi), c.scaled)
            << c.value << " from " << c.fromDpi << " to " << c.toDpi;
        if (c.fromDpi == DesignDpi) {
            EXPECT_EQ(ScaleToDpi(c.value, c.toDpi), c.scaled);
        }
    }
}

TEST(DisplayScaling, ControlsKeepTheirScaledSizeAndTheFormItsScaledClientArea)
{
    struct Case {
        PixelBox design;
        int dpi;
        PixelBox scaled;
    };
    Case const cases[] = {
        {{124, 148, 120, 28}, 96, {124, 148, 120, 28}}, {{124, 148, 120, 28}, 120, {155, 185, 150, 35}},
        {{4, 120, 120, 28}, 120, {5, 150, 150, 35}},  // ends where the button beside it begins
        {{52, 155, 12, 16}, 144, {78, 233, 18, 24}},    {{56, 64, 112, 16}, 192, {112, 128, 224, 32}},
        {{0, 0, 249, 183}, 144, {0, 0, 374, 275}},  // 373.5 and 274.5
        {{10, 10, 235, 110}, 168, {18, 18, 411, 193}},  // 175 %
    };
    for (Case const& c : cases) {
        PixelBox const box = ScaleToDpi(c.design, c.dpi);
        EXPECT_EQ(box.x, c.scaled.x) << c.dpi;
        EXPECT_EQ(box.y, c.scaled.y) << c.dpi;
        EXPECT_EQ(box.width, c.scaled.width) << c.dpi;
        EXPECT_EQ(box.height, c.scaled.height) << c.dpi;
        PixelSize const size = ScaleToDpi(PixelSize{c.design.width, c.design.height}, c.dpi);
        EXPECT_EQ(size.width, c.scaled.width);
        EXPECT_EQ(size.height, c.scaled.height);
    }
}

TEST(DisplayScaling, PictureIsTheNearestDrawingAtOrAboveTheScale)
{
    int const scales[] = {100, 150, 200};
    PixelSize const design = {235, 110};
    struct Case {
        int dpi, index;
        PixelSize drawn, shown;
    };
    Case const cases[] = {
        {96, 0, {235, 110}, {235, 110}},
        {120, 1, {353, 165}, {294, 138}},  // 125 %: the 150 % drawing, scaled down
        {144, 1, {353, 165}, {353, 165}},
        {168, 2, {470, 220}, {411, 193}},  // 175 %
        {192, 2, {470, 220}, {470, 220}},
        {288, 2, {470, 220}, {705, 330}},  // beyond the largest: the largest, scaled up
        {72, 0, {235, 110}, {176, 83}},  // below 100 %
        {97, 1, {353, 165}, {237, 111}},
    };
    for (Case const& c : cases) {
        PictureChoice const choice = ChoosePicture(design, scales, 3, c.dpi);
        EXPECT_EQ(choice.index, c.index) << c.dpi;
        EXPECT_EQ(choice.drawn.width, c.drawn.width) << c.dpi;
        EXPECT_EQ(choice.drawn.height, c.drawn.height) << c.dpi;
        EXPECT_EQ(choice.shown.width, c.shown.width) << c.dpi;
        EXPECT_EQ(choice.shown.height, c.shown.height) << c.dpi;
    }
}

TEST(DisplayScaling, ADpiChangeKeepsTheSuggestedCornerAndTakesTheSizeTheLayoutNeeds)
{
    struct Case {
        PixelRect suggested;
        PixelSize outer;
        PixelRect placed;
    };
    Case const cases[] = {
        // 255 x 208 at 96 DPI scaled by the system to 144 DPI: 382.5 x 312; the layout needs a
        // client area of 374 x 275 inside a taller title bar.
        {{1300, 200, 1683, 512}, {380, 309}, {1300, 200, 1680, 509}},
        // Back from 144 to 96 DPI, on a monitor to the left of the main one.
        {{-900, 100, -645, 308}, {255, 208}, {-900, 100, -645, 308}},
        // The suggestion as the system makes it once the form answered with its size.
        {{10, 20, 390, 329}, {380, 309}, {10, 20, 390, 329}},
    };
    for (Case const& c : cases) {
        PixelRect const r = PlaceOnSuggestedRect(c.suggested, c.outer);
        EXPECT_EQ(r.left, c.placed.left);
        EXPECT_EQ(r.top, c.placed.top);
        EXPECT_EQ(r.right, c.placed.right);
        EXPECT_EQ(r.bottom, c.placed.bottom);
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
