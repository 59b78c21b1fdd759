// The program's icon: a brass bell, drawn once on a 48-unit grid and
// rendered at every size and colour depth the icon file carries.
#include "assets.h"
#include "raster.h"

#include <cstddef>

namespace {

int const Grid = 48;  // the bell's drawing grid, whatever the icon size
Fixed const Centre = 24 * FixedOne;

// The body's half-width: a dome down to y = 15, then sides that flare out
// to the mouth at y = 36, as 10 + 2t + 8t^3 units over t = 0..1.
Fixed const ShoulderY = 16 * FixedOne, MouthY = 36 * FixedOne, DomeTopY = 8 * FixedOne;
Fixed const ShoulderHalfWidth = 10 * FixedOne;

Fixed BodyHalfWidth(Fixed y)
{
    Fixed const t = (y - ShoulderY) * 1000 / (MouthY - ShoulderY);  // per mille
    return ShoulderHalfWidth + 2 * FixedOne * t / 1000 + 8 * FixedOne * t * t / 1000 * t / 1000000;
}

// The bell's parts, widened by `grow` for the dark outline behind them.
Inside Body(Fixed grow)
{
    return [grow](Fixed x, Fixed y) {
        Fixed const dx = x < Centre ? Centre - x : x - Centre;
        if (y < ShoulderY) {
            Fixed const rx = ShoulderHalfWidth + grow, ry = ShoulderY - DomeTopY + grow, dy = ShoulderY - y;
            return dx * dx * ry * ry + dy * dy * rx * rx <= rx * rx * ry * ry;
        }
        return y <= MouthY && dx <= BodyHalfWidth(y) + grow;
    };
}

Inside Rim(Fixed grow)
{
    return RoundedBox({At(2.5, 0).x - grow, At(0, 34).y - grow}, {At(45.5, 0).x + grow, At(0, 39.5).y + grow},
                      At(2.75, 0).x + grow);
}

Inside Clapper(Fixed grow)
{
    return Ellipse(At(24, 41.5), At(4, 0).x + grow, At(4, 0).x + grow);
}

Inside Crown(Fixed grow)
{
    Inside const ring = Ellipse(At(24, 5), At(4, 0).x + grow, At(4, 0).x + grow);
    Fixed const hole = At(1.75, 0).x - grow;
    return hole > 0 ? Without(ring, Ellipse(At(24, 5), hole, hole)) : ring;
}

// Polished brass, lit from the upper left: the shade depends on how far
// across the bell a point lies.
std::vector<Stop> const Brass = {{0, {128, 82, 14}},    {200, {255, 232, 130}}, {330, {246, 206, 84}},
                                 {600, {206, 150, 36}}, {850, {140, 92, 14}},   {1000, {96, 58, 6}}};
Rgb const Outline = {58, 34, 4};

Shade AcrossBody()
{
    return [](Fixed x, Fixed y) {
        Fixed const halfWidth = y < ShoulderY ? ShoulderHalfWidth : BodyHalfWidth(y > MouthY ? MouthY : y);
        return Interpolate(Brass, 500 + (x - Centre) * 500 / halfWidth);
    };
}

Shade AcrossRim()
{
    return [](Fixed x, Fixed) { return Interpolate(Brass, 500 + (x - Centre) * 500 / At(21.5, 0).x); };
}

Canvas DrawBell(int size)
{
    Canvas canvas = MakeCanvas(size, size, Grid, {0, 0, 0}, false);
    // One pixel of outline keeps the bell legible on light and dark taskbars.
    Fixed const outline = FixedOne * Grid / size;
    Paint(canvas, Crown(outline), Solid(Outline));
    Paint(canvas, Clapper(outline), Solid(Outline));
    Paint(canvas, Body(outline), Solid(Outline));
    Paint(canvas, Rim(outline), Solid(Outline));

    Paint(canvas, Crown(0), Gradient(At(20, 2), At(28, 10), {{0, {255, 226, 120}}, {1000, {150, 98, 16}}}));
    Paint(canvas, Clapper(0), Gradient(At(20, 38), At(28, 45), {{0, {240, 196, 80}}, {1000, {110, 68, 8}}}));
    Paint(canvas, Body(0), AcrossBody());
    Paint(canvas, Rim(0), AcrossRim());
    // The rim's upper edge casts a thin shadow line onto the bell.
    Paint(canvas, Both(Rim(0), Box(At(0, 34), At(48, 35.25))), Solid({110, 66, 8}), 150);
    return canvas;
}

// The standard 16-colour Windows palette, which every 4-bit icon carries.
Rgb const WindowsColours[16] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

// The 8-bit palette: the 16 standard colours, then a ramp through every
// brass tone of the drawing, from the outline's dark brown to the highlight.
std::vector<Rgb> BrassPalette()
{
    std::vector<Rgb> palette(WindowsColours, WindowsColours + 16);
    std::vector<Stop> const ramp = {{0, {40, 22, 2}},       {120, Outline},         {250, {96, 58, 6}},
                                    {400, {140, 92, 14}},   {550, {206, 150, 36}},  {700, {246, 206, 84}},
                                    {850, {255, 232, 130}}, {1000, {255, 250, 225}}};
    for (int i = 0; i < 240; ++i) palette.push_back(Interpolate(ramp, i * 1000 / 239));
    return palette;
}

// Four bits cannot shade brass: the bell becomes yellow with olive shadows
// and a black outline, the way 16-colour icons were drawn by hand.
std::size_t FourBitTone(Rgb colour)
{
    int const lightness = (3 * colour.r + 4 * colour.g + 2 * colour.b) / 9;
    if (lightness < 45) return 0;  // black
    if (lightness < 135) return 3;  // olive
    return 11;  // yellow
}

std::size_t NearestColour(const std::vector<Rgb>& palette, Rgb colour)
{
    std::size_t best = 0;
    long bestDistance = -1;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        long const dr = palette[i].r - colour.r, dg = palette[i].g - colour.g, db = palette[i].b - colour.b;
        long const distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;  // green counts most to the eye
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

struct IconImage {
    int size;
    int bits;
    Bytes data;  // BITMAPINFOHEADER, colour table, colour bits, AND mask
};

std::size_t RowBytes(int size, int bits)
{
    return (static_cast<std::size_t>(size) * bits + 31) / 32 * 4;
}

IconImage EncodeImage(int size, int bits)
{
    Canvas const canvas = DrawBell(size);
    std::vector<Rgb> palette;
    if (bits == 4) palette.assign(WindowsColours, WindowsColours + 16);
    if (bits == 8) palette = BrassPalette();

    std::size_t const colourRow = RowBytes(size, bits), maskRow = RowBytes(size, 1);
    IconImage image{size, bits, {}};
    Bytes& out = image.data;
    PutU32(out, 40);
    PutU32(out, static_cast<std::uint32_t>(size));
    PutU32(out, static_cast<std::uint32_t>(2 * size));  // colour bits and mask stacked
    PutU16(out, 1);
    PutU16(out, static_cast<unsigned>(bits));
    PutU32(out, 0);
    PutU32(out, static_cast<std::uint32_t>((colourRow + maskRow) * size));
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, 0);
    for (Rgb const& entry : palette) {
        PutU8(out, static_cast<unsigned>(entry.b));
        PutU8(out, static_cast<unsigned>(entry.g));
        PutU8(out, static_cast<unsigned>(entry.r));
        PutU8(out, 0);
    }

    auto opaque = [&](int x, int y) { return CoverageAt(canvas, x, y) >= 128; };
    for (int y = size - 1; y >= 0; --y) {
        Bytes row(colourRow, 0);
        for (int x = 0; x < size; ++x) {
            // Masked pixels stay black, so drawing them changes nothing on screen.
            if (!opaque(x, y)) continue;
            Rgb const colour = ColourAt(canvas, x, y);
            if (bits == 24) {
                std::size_t const at = 3 * static_cast<std::size_t>(x);
                row[at] = static_cast<std::uint8_t>(colour.b);
                row[at + 1] = static_cast<std::uint8_t>(colour.g);
                row[at + 2] = static_cast<std::uint8_t>(colour.r);
            } else if (bits == 8) {
                row[x] = static_cast<std::uint8_t>(NearestColour(palette, colour));
            } else {
                row[x / 2] |= static_cast<std::uint8_t>(FourBitTone(colour) << (x % 2 == 0 ? 4 : 0));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = size - 1; y >= 0; --y) {
        Bytes row(maskRow, 0);
        for (int x = 0; x < size; ++x)
            if (!opaque(x, y)) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return image;
}

}  // namespace

Bytes MakeBellIcon()
{
    // The order of the icon group: 4-bit, 8-bit, then 24-bit images, the last
    // two the same 32 x 32 picture.
    struct Entry {
        int size, bits;
    };
    Entry const entries[] = {{16, 4}, {24, 4}, {32, 4},  {48, 4},  {16, 8},  {24, 8},
                             {32, 8}, {48, 8}, {16, 24}, {24, 24}, {32, 24}, {32, 24}};
    std::vector<IconImage> images;
    for (Entry const& entry : entries) images.push_back(EncodeImage(entry.size, entry.bits));

    Bytes out;
    PutU16(out, 0);
    PutU16(out, 1);  // icon, not cursor
    PutU16(out, static_cast<unsigned>(images.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (IconImage const& image : images) {
        PutU8(out, static_cast<unsigned>(image.size));
        PutU8(out, static_cast<unsigned>(image.size));
        PutU8(out, image.bits == 4 ? 16 : 0);  // colour count, 0 from 256 colours up
        PutU8(out, 0);
        PutU16(out, 1);
        PutU16(out, static_cast<unsigned>(image.bits));
        PutU32(out, static_cast<std::uint32_t>(image.data.size()));
        PutU32(out, offset);
        offset += static_cast<std::uint32_t>(image.data.size());
    }
    for (IconImage const& image : images) out.insert(out.end(), image.data.begin(), image.data.end());
    return out;
}
