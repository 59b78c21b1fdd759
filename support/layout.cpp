// Size and position arithmetic of the control helpers.
#include "support/layout.h"

PixelSize FormSizeFor(int width, int height, int scaleX, int scaleY)
{
    return PixelSize{(width + 4) * scaleX, (height + 12) * scaleY};
}

PixelSize ButtonSizeFor(int textWidth, int textHeight)
{
    double width = textWidth + textWidth * 0.5;
    double height = textHeight + textHeight * 0.32;
    return PixelSize{static_cast<int>(width), static_cast<int>(height)};
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
