// Size and position arithmetic of the control helpers: scaling to a display's
// DPI, choosing a picture and centring a window.
// Portable code, no <windows.h>.
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

// A place given as position and size, as the layout's numbers are written.
struct PixelBox {
    int x;
    int y;
    int width;
    int height;
};

// The DPI the layout's numbers are written for: a display at 100 % scale.
int const DesignDpi = 96;

// value x toDpi / fromDpi rounded to the nearest integer, halves away from zero,
// as MulDiv rounds.
int ScaleBetweenDpis(int value, int fromDpi, int toDpi);
// A design length at the given DPI: MulDiv(value, dpi, 96).
int ScaleToDpi(int value, int dpi);
PixelSize ScaleToDpi(PixelSize design, int dpi);
// Position and size are each scaled on their own, so a control keeps its
// scaled size wherever it sits.
PixelBox ScaleToDpi(PixelBox design, int dpi);

// Of a picture drawn at several scales (percent of its design size, ascending),
// the one to show at a DPI: the first drawn at or above the DPI's scale, else the
// largest. It is shown at the design size scaled to the DPI, so a larger drawing
// is scaled down to it.
struct PictureChoice {
    int index;  // into the scales
    PixelSize drawn;  // the chosen drawing's own size
    PixelSize shown;  // the size it is shown at
};
PictureChoice ChoosePicture(PixelSize design, const int* scalePercents, int count, int dpi);

// Where the form goes when the DPI changes: at the suggested rectangle's top
// left, at the size the layout needs there (which the suggestion may round
// differently).
PixelRect PlaceOnSuggestedRect(PixelRect suggested, PixelSize outerSize);

// Position that centres a window of the given size in the work area. Not
// clamped: a window larger than the work area gets a negative position.
PixelPoint CenterInWorkArea(PixelRect workArea, int width, int height);

// Position that centres a window over a reference rectangle (vertically over
// the second one when given), then keeps it on a screen of the given size:
// left and top are clamped first, so for a window larger than the screen the
// right and bottom edges win.
PixelPoint CenterOverReference(PixelRect reference, const PixelRect* verticalReference, int width, int height,
                               int screenWidth, int screenHeight);
