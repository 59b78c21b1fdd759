// The clock picture: a digital clock's case in perspective, whose black
// display area is where the main window puts its clock text.
#include "assets.h"
#include "raster.h"
#include "support/layout.h"

namespace {

// The picture's size at 100 %; the drawing's grid is this many units across at every scale.
int const PictureWidth = 235;
int const PictureHeight = 110;

// The display area the main window's clock text must sit in.
int const DisplayLeft = 46, DisplayTop = 51, DisplayWidth = 112, DisplayHeight = 22;

// The case: the front face, and the back corners pulled towards a vanishing
// point up and to the right, so the top and the right side show.
Point const FrontTopLeft = At(16, 36), FrontTopRight = At(186, 36);
Point const FrontBottomRight = At(186, 98);
Point const BackTopLeft = At(83, 17), BackTopRight = At(215.5, 17), BackBottomRight = At(215.5, 65.5);

Rgb Mix(Rgb a, Rgb b, int weight)
{  // weight of b out of 256
    return {a.r + (b.r - a.r) * weight / 256, a.g + (b.g - a.g) * weight / 256, a.b + (b.b - a.b) * weight / 256};
}

Face const TopFace = {{FrontTopLeft, FrontTopRight, BackTopRight, BackTopLeft}};
Face const RightFace = {{FrontTopRight, BackTopRight, BackBottomRight, FrontBottomRight}};

Inside Patch(const Face& face, int u0, int v0, int u1, int v1)
{
    return Polygon({OnFace(face, u0, v0), OnFace(face, u1, v0), OnFace(face, u1, v1), OnFace(face, u0, v1)});
}

void PaintTop(Canvas& canvas)
{
    Paint(canvas, Polygon({FrontTopLeft, FrontTopRight, BackTopRight, BackTopLeft}),
          Gradient(At(0, 36), At(0, 17), {{0, {168, 30, 30}}, {450, {128, 20, 22}}, {1000, {78, 10, 12}}}));
    // The snooze bar, a slab raised from the top: its lit front, then its top.
    Point const frontLeft = OnFace(TopFace, 300, 300), frontRight = OnFace(TopFace, 700, 300);
    Point const raise = At(0, 2.5);
    Paint(
        canvas,
        Polygon({frontLeft, frontRight, {frontRight.x, frontRight.y + raise.y}, {frontLeft.x, frontLeft.y + raise.y}}),
        Solid({110, 14, 16}));
    Paint(canvas, Patch(TopFace, 300, 300, 700, 640),
          Gradient(frontLeft, OnFace(TopFace, 300, 640), {{0, {222, 80, 72}}, {1000, {150, 34, 32}}}));
}

void PaintRightSide(Canvas& canvas)
{
    Paint(canvas, Polygon({FrontTopRight, BackTopRight, BackBottomRight, FrontBottomRight}),
          Gradient(At(186, 40), At(215, 70), {{0, {118, 16, 20}}, {1000, {52, 6, 8}}}));
    // Speaker slots, grooves running down the side.
    for (int slot = 0; slot < 5; ++slot) {
        int const u = 200 + slot * 140;
        Paint(canvas, Patch(RightFace, u, 300, u + 60, 700), Solid({30, 3, 5}));
    }
}

void PaintEdges(Canvas& canvas)
{
    // Light catching the two edges nearest the viewer.
    Paint(canvas, Polygon({FrontTopLeft, FrontTopRight, At(186.5, 36.75), At(16, 36.75)}), Solid({240, 120, 110}), 200);
    Paint(canvas, Polygon({FrontTopRight, BackTopRight, At(215.5, 18), At(186.75, 37)}), Solid({200, 70, 70}), 160);
}

void PaintFront(Canvas& canvas)
{
    Paint(canvas, Box(FrontTopLeft, FrontBottomRight),
          Gradient(At(0, 36), At(0, 98), {{0, {58, 104, 224}}, {400, {34, 70, 184}}, {1000, {14, 30, 108}}}));
    // Bevel: a lit top and left rim, a shaded bottom and right rim.
    Paint(canvas, Box(At(16, 37), At(186, 39)), Solid({120, 160, 250}), 110);
    Paint(canvas, Box(At(16, 36.75), At(18, 98)), Solid({110, 150, 245}), 120);
    Paint(canvas, Box(At(16, 96), At(186, 98)), Solid({4, 10, 50}), 170);
    Paint(canvas, Box(At(184, 36.75), At(186, 98)), Solid({8, 16, 70}), 130);

    // The recess around the display: its upper lip in shadow, its lower lip lit.
    Point const recessTopLeft = At(DisplayLeft - 5, DisplayTop - 5);
    Point const recessBottomRight = At(DisplayLeft + DisplayWidth + 5, DisplayTop + DisplayHeight + 5);
    Paint(canvas, RoundedBox(recessTopLeft, recessBottomRight, At(3, 0).x),
          Gradient(At(0, DisplayTop - 5), At(0, DisplayTop + DisplayHeight + 5),
                   {{0, {6, 12, 46}}, {500, {16, 34, 110}}, {1000, {96, 136, 236}}}));
    Paint(canvas,
          RoundedBox(At(DisplayLeft - 2, DisplayTop - 2),
                     At(DisplayLeft + DisplayWidth + 2, DisplayTop + DisplayHeight + 2), At(1.5, 0).x),
          Solid({10, 14, 30}));

    // The alarm indicator lamp and two small keys under the display.
    Paint(canvas, Ellipse(At(34, 87), At(4, 0).x, At(4, 0).x), Solid({8, 18, 60}));
    Paint(canvas, Ellipse(At(34, 87), At(3, 0).x, At(3, 0).x),
          Gradient(At(32, 85), At(36, 89), {{0, {150, 255, 140}}, {400, {40, 190, 60}}, {1000, {10, 80, 24}}}));
    for (int key = 0; key < 2; ++key) {
        double const left = 132 + key * 18;
        Paint(canvas, RoundedBox(At(left, 84), At(left + 14, 91), At(2, 0).x), Solid({8, 18, 64}));
        Paint(canvas, RoundedBox(At(left + 0.5, 84.5), At(left + 13.5, 90), At(2, 0).x),
              Gradient(At(0, 84.5), At(0, 90), {{0, {150, 176, 235}}, {1000, {60, 84, 160}}}));
    }
}

void PaintFeetAndReflection(Canvas& canvas)
{
    Rgb const foot = {40, 40, 48};
    Paint(canvas, Polygon({At(26, 98), At(44, 98), At(42, 101.5), At(28, 101.5)}), Solid(foot));
    Paint(canvas, Polygon({At(158, 98), At(176, 98), At(174, 101.5), At(160, 101.5)}), Solid(foot));
    // A faint reflection of the front on a glossy surface.
    Paint(canvas, Box(At(16, 102), At(186, 110)),
          Gradient(At(0, 102), At(0, 110), {{0, Mix({14, 30, 108}, {0, 0, 0}, 128)}, {1000, {0, 0, 0}}}), 70);
}

Canvas DrawClock(PixelSize size)
{
    Canvas canvas = MakeCanvas(size.width, size.height, PictureWidth, {0, 0, 0}, true);
    PaintTop(canvas);
    PaintRightSide(canvas);
    PaintFront(canvas);
    PaintEdges(canvas);
    PaintFeetAndReflection(canvas);
    // Last, so the display area is exactly black whatever was drawn before.
    Paint(canvas, Box(At(DisplayLeft, DisplayTop), At(DisplayLeft + DisplayWidth, DisplayTop + DisplayHeight)),
          Solid({0, 0, 0}));
    return canvas;
}

Bytes ClockBitmapFileAt(int scalePercent)
{
    PixelSize const size = ScaleToDpi(PixelSize{PictureWidth, PictureHeight}, DesignDpi * scalePercent / 100);
    Canvas const canvas = DrawClock(size);
    std::uint32_t const width = static_cast<std::uint32_t>(size.width),
                        height = static_cast<std::uint32_t>(size.height);
    std::uint32_t const rowBytes = (width * 3 + 3) / 4 * 4;
    std::uint32_t const imageBytes = rowBytes * height;
    Bytes out;
    // BITMAPFILEHEADER
    PutTag(out, "BM");
    PutU32(out, 14 + 40 + imageBytes);
    PutU32(out, 0);
    PutU32(out, 14 + 40);
    // BITMAPINFOHEADER
    PutU32(out, 40);
    PutU32(out, width);
    PutU32(out, height);  // positive: bottom-up rows
    PutU16(out, 1);
    PutU16(out, 24);
    PutU32(out, 0);  // BI_RGB
    PutU32(out, imageBytes);
    PutU32(out, 3780);  // 96 dots per inch
    PutU32(out, 3780);
    PutU32(out, 0);
    PutU32(out, 0);
    for (int y = size.height - 1; y >= 0; --y) {
        for (int x = 0; x < size.width; ++x) {
            Rgb const pixel = ColourAt(canvas, x, y);
            PutU8(out, static_cast<unsigned>(pixel.b));
            PutU8(out, static_cast<unsigned>(pixel.g));
            PutU8(out, static_cast<unsigned>(pixel.r));
        }
        for (std::uint32_t pad = width * 3; pad < rowBytes; ++pad) PutU8(out, 0);
    }
    return out;
}

}  // namespace

Bytes MakeClockBitmapFile()
{
    return ClockBitmapFileAt(100);
}

Bytes MakeClockBitmapFile150()
{
    return ClockBitmapFileAt(150);
}

Bytes MakeClockBitmapFile200()
{
    return ClockBitmapFileAt(200);
}
