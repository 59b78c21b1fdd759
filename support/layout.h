// Size and position arithmetic of the control helpers: scaling, sizing a
// control to its text and centring a window. Portable code, no <windows.h>.
#pragma once

struct PixelSize {
    int width;
    int height;
};

struct PixelPoint {
    int x;
    int y;
};

struct PixelRect {
    int left;
    int top;
    int right;
    int bottom;
};

// Outer size of a form made for a client-like size: the frame allowance of
// 4 x 12 is added before scaling.
PixelSize FormSizeFor(int width, int height, int scaleX, int scaleY);

// Size of a push button sized to its text: 1.5 and 1.32 times the text
// extent, truncated toward zero.
PixelSize ButtonSizeFor(int textWidth, int textHeight);

// Position that centres a window of the given size in the work area. Not
// clamped: a window larger than the work area gets a negative position.
PixelPoint CenterInWorkArea(PixelRect workArea, int width, int height);

// Position that centres a window over a reference rectangle (vertically over
// the second one when given), then keeps it on a screen of the given size:
// left and top are clamped first, so for a window larger than the screen the
// right and bottom edges win.
PixelPoint CenterOverReference(PixelRect reference, const PixelRect* verticalReference, int width, int height,
                               int screenWidth, int screenHeight);
