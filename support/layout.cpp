// Size and position arithmetic of the control helpers.
#include "support/layout.h"

int ScaleBetweenDpis(int value, int fromDpi, int toDpi)
{
    long long const product = static_cast<long long>(value) * toDpi;
    long long const half = fromDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / fromDpi : (product - half) / fromDpi);
}

int ScaleToDpi(int value, int dpi)
{
    return ScaleBetweenDpis(value, DesignDpi, dpi);
}

PixelSize ScaleToDpi(PixelSize design, int dpi)
{
    return PixelSize{ScaleToDpi(design.width, dpi), ScaleToDpi(design.height, dpi)};
}

PixelBox ScaleToDpi(PixelBox design, int dpi)
{
    return PixelBox{ScaleToDpi(design.x, dpi), ScaleToDpi(design.y, dpi), ScaleToDpi(design.width, dpi),
                    ScaleToDpi(design.height, dpi)};
}

PictureChoice ChoosePicture(PixelSize design, const int* scalePercents, int count, int dpi)
{
    int index = count - 1;
    for (int i = 0; i < count; ++i) {
        // The drawing's scale covers the DPI's: percent / 100 >= dpi / 96.
        if (scalePercents[i] * DesignDpi >= dpi * 100) {
            index = i;
            break;
        }
    }
    PixelSize const drawn = ScaleToDpi(design, DesignDpi * scalePercents[index] / 100);
    return PictureChoice{index, drawn, ScaleToDpi(design, dpi)};
}

PixelRect PlaceOnSuggestedRect(PixelRect suggested, PixelSize outerSize)
{
    return PixelRect{suggested.left, suggested.top, suggested.left + outerSize.width, suggested.top + outerSize.height};
}

PixelPoint CenterInWorkArea(PixelRect workArea, int width, int height)
{
    int x = workArea.left + ((workArea.right - workArea.left) - width) / 2;
    int y = workArea.top + ((workArea.bottom - workArea.top) - height) / 2;
    return PixelPoint{x, y};
}

PixelPoint CenterOverReference(PixelRect reference, const PixelRect* verticalReference, int width, int height,
                               int screenWidth, int screenHeight)
{
    PixelRect vertical = verticalReference ? *verticalReference : reference;
    int x = reference.left + ((reference.right - reference.left) - width) / 2;
    int y = vertical.top + ((vertical.bottom - vertical.top) - height) / 2;
    if (x < 0) x = 0;
    if (y < 0) y = 0;
    if (x + width > screenWidth) x = screenWidth - width;
    if (y + height > screenHeight) y = screenHeight - height;
    return PixelPoint{x, y};
}
