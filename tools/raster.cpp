// Supersampled painting of implicit shapes, integers only.
#include "raster.h"

#include <cstdint>
#include <utility>

namespace {

int const SamplesPerAxis = 8;
int const SamplesPerPixel = SamplesPerAxis * SamplesPerAxis;
Fixed const Full = 4096;  // coverage of an opaque pixel

Fixed DivideRounded(Fixed numerator, Fixed denominator)
{
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    Fixed const half = denominator / 2;
    return numerator >= 0 ? (numerator + half) / denominator : -((-numerator + half) / denominator);
}

// Position of sample `step` (0..2*SamplesPerAxis) of pixel `pixel` on the
// drawing's grid, in fixed point.
Fixed GridPosition(const Canvas& canvas, int pixel, int step)
{
    Fixed const pixelFixed = Fixed{pixel} * FixedOne + Fixed{step} * FixedOne / (Fixed{2} * SamplesPerAxis);
    return pixelFixed * canvas.units / canvas.width;
}

int Clamp255(Fixed value)
{
    return value < 0 ? 0 : value > 255 ? 255 : static_cast<int>(value);
}

}  // namespace

Canvas MakeCanvas(int width, int height, int units, Rgb background, bool opaque)
{
    Canvas canvas;
    canvas.width = width;
    canvas.height = height;
    canvas.units = units;
    std::size_t const count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    Fixed const cover = opaque ? Full : 0;
    canvas.red.assign(count, background.r * cover);
    canvas.green.assign(count, background.g * cover);
    canvas.blue.assign(count, background.b * cover);
    canvas.alpha.assign(count, cover);
    return canvas;
}

void Paint(Canvas& canvas, const Inside& inside, const Shade& shade, int opacity)
{
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            int hits = 0;
            for (int j = 0; j < SamplesPerAxis; ++j) {
                Fixed const sampleY = GridPosition(canvas, y, 2 * j + 1);
                for (int i = 0; i < SamplesPerAxis; ++i)
                    if (inside(GridPosition(canvas, x, 2 * i + 1), sampleY)) ++hits;
            }
            if (hits == 0) continue;
            Rgb const colour = shade(GridPosition(canvas, x, SamplesPerAxis), GridPosition(canvas, y, SamplesPerAxis));
            // Coverage of this layer out of Full.
            Fixed const cover = DivideRounded(Full * hits * opacity, Fixed{SamplesPerPixel} * 256);
            std::size_t const at = static_cast<std::size_t>(y) * canvas.width + x;
            auto blend = [&](Fixed& channel, Fixed value) {
                channel = value * cover + DivideRounded(channel * (Full - cover), Full);
            };
            blend(canvas.red[at], colour.r);
            blend(canvas.green[at], colour.g);
            blend(canvas.blue[at], colour.b);
            blend(canvas.alpha[at], 1);
        }
    }
}

Rgb ColourAt(const Canvas& canvas, int x, int y)
{
    std::size_t const at = static_cast<std::size_t>(y) * canvas.width + x;
    Fixed const cover = canvas.alpha[at];
    if (cover == 0) return {0, 0, 0};
    return {Clamp255(DivideRounded(canvas.red[at], cover)), Clamp255(DivideRounded(canvas.green[at], cover)),
            Clamp255(DivideRounded(canvas.blue[at], cover))};
}

int CoverageAt(const Canvas& canvas, int x, int y)
{
    return Clamp255(DivideRounded(canvas.alpha[static_cast<std::size_t>(y) * canvas.width + x] * 255, Full));
}

Inside Polygon(std::vector<Point> corners)
{
    // Even-odd crossing test, exact in 64-bit integers.
    return [corners = std::move(corners)](Fixed x, Fixed y) {
        bool in = false;
        std::size_t const count = corners.size();
        for (std::size_t i = 0, j = count - 1; i < count; j = i++) {
            Point const a = corners[i], b = corners[j];
            if ((a.y > y) == (b.y > y)) continue;
            Fixed const lhs = Fixed{x - a.x} * (b.y - a.y);
            Fixed const rhs = Fixed{y - a.y} * (b.x - a.x);
            if (b.y > a.y ? lhs < rhs : lhs > rhs) in = !in;
        }
        return in;
    };
}

Inside Ellipse(Point centre, Fixed radiusX, Fixed radiusY)
{
    return [=](Fixed x, Fixed y) {
        Fixed const dx = x - centre.x, dy = y - centre.y;
        Fixed const rx = radiusX, ry = radiusY;
        return dx * dx * ry * ry + dy * dy * rx * rx <= rx * rx * ry * ry;
    };
}

Inside Box(Point topLeft, Point bottomRight)
{
    return [=](Fixed x, Fixed y) { return x >= topLeft.x && x < bottomRight.x && y >= topLeft.y && y < bottomRight.y; };
}

Inside RoundedBox(Point topLeft, Point bottomRight, Fixed radius)
{
    return [=](Fixed x, Fixed y) {
        if (x < topLeft.x || x >= bottomRight.x || y < topLeft.y || y >= bottomRight.y) return false;
        Fixed const cx = x < topLeft.x + radius       ? topLeft.x + radius
                         : x > bottomRight.x - radius ? bottomRight.x - radius
                                                      : x;
        Fixed const cy = y < topLeft.y + radius       ? topLeft.y + radius
                         : y > bottomRight.y - radius ? bottomRight.y - radius
                                                      : y;
        Fixed const dx = x - cx, dy = y - cy;
        return dx * dx + dy * dy <= Fixed{radius} * radius;
    };
}

Inside Both(Inside a, Inside b)
{
    return [a = std::move(a), b = std::move(b)](Fixed x, Fixed y) { return a(x, y) && b(x, y); };
}

Inside Without(Inside a, Inside b)
{
    return [a = std::move(a), b = std::move(b)](Fixed x, Fixed y) { return a(x, y) && !b(x, y); };
}

Shade Solid(Rgb colour)
{
    return [colour](Fixed, Fixed) { return colour; };
}

Rgb Interpolate(const std::vector<Stop>& stops, Fixed at)
{
    if (at <= stops.front().at) return stops.front().colour;
    for (std::size_t i = 1; i < stops.size(); ++i) {
        Stop const& a = stops[i - 1];
        Stop const& b = stops[i];
        if (at > b.at) continue;
        Fixed const span = b.at - a.at, offset = at - a.at;
        auto mix = [&](int from, int to) { return static_cast<int>(from + DivideRounded((to - from) * offset, span)); };
        return {mix(a.colour.r, b.colour.r), mix(a.colour.g, b.colour.g), mix(a.colour.b, b.colour.b)};
    }
    return stops.back().colour;
}

Shade Gradient(Point from, Point to, std::vector<Stop> stops)
{
    return [=, stops = std::move(stops)](Fixed x, Fixed y) {
        Fixed const dx = to.x - from.x, dy = to.y - from.y;
        Fixed const along = (x - from.x) * dx + (y - from.y) * dy;
        Fixed const length = dx * dx + dy * dy;
        return Interpolate(stops, DivideRounded(along * 1000, length));
    };
}

Point OnFace(const Face& face, int u, int v)
{
    auto along = [](Point a, Point b, int t) {
        return Point{a.x + DivideRounded((b.x - a.x) * t, 1000), a.y + DivideRounded((b.y - a.y) * t, 1000)};
    };
    Point const near = along(face.corner[0], face.corner[1], u);
    Point const far = along(face.corner[3], face.corner[2], u);
    return along(near, far, v);
}
