// A tiny supersampling rasteriser in integer arithmetic, so the drawn assets
// come out byte-identical on every compiler and machine.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

struct Rgb {
    int r, g, b;
};

// Fixed-point coordinates: 16 steps per unit of the drawing's own grid;
// 64 bits, since products of coordinates and colour sums pass 2^31.
using Fixed = std::int64_t;
Fixed const FixedOne = 16;

struct Point {
    Fixed x, y;  // fixed point
};

// Drawings give their corners in whole or dyadic units (x.5, x.25), so the
// conversion to fixed point is exact.
constexpr Point At(double x, double y)
{
    return {static_cast<Fixed>(x * FixedOne), static_cast<Fixed>(y * FixedOne)};
}

// Pixels hold premultiplied colour and coverage at 12 bits, so many layers
// of partial coverage do not pile up rounding errors.
struct Canvas {
    int width = 0, height = 0;
    int units = 0;  // the drawing's grid is `units` wide across `width` pixels
    std::vector<Fixed> red, green, blue, alpha;
};

Canvas MakeCanvas(int width, int height, int units, Rgb background, bool opaque);

using Inside = std::function<bool(Fixed x, Fixed y)>;
using Shade = std::function<Rgb(Fixed x, Fixed y)>;

// Covers every pixel by the fraction of its 8 x 8 samples that lie inside the
// shape, with the shade taken at the pixel's centre; opacity is out of 256.
void Paint(Canvas& canvas, const Inside& inside, const Shade& shade, int opacity = 256);

// Straight colour and coverage (0..255) of one pixel.
Rgb ColourAt(const Canvas& canvas, int x, int y);
int CoverageAt(const Canvas& canvas, int x, int y);

// Shapes, all in fixed point.
Inside Polygon(std::vector<Point> corners);
Inside Ellipse(Point centre, Fixed radiusX, Fixed radiusY);
Inside Box(Point topLeft, Point bottomRight);
Inside RoundedBox(Point topLeft, Point bottomRight, Fixed radius);
Inside Both(Inside a, Inside b);
Inside Without(Inside a, Inside b);

// Shades.
Shade Solid(Rgb colour);
struct Stop {
    int at;  // position along the gradient, 0..1000
    Rgb colour;
};
Shade Gradient(Point from, Point to, std::vector<Stop> stops);

// Colour between stops at `at` (0..1000), rounded; shared by the shaders.
Rgb Interpolate(const std::vector<Stop>& stops, Fixed at);

// The point at (u, v) per mille across a four-cornered face, given as its
// corners at (0,0), (1000,0), (1000,1000) and (0,1000): lays details onto
// faces seen in perspective.
struct Face {
    Point corner[4];
};
Point OnFace(const Face& face, int u, int v);
