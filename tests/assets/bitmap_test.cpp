// The clock picture: its headers, and the black display area in the case; the
// same drawing at 150 % and 200 %.
#include <gtest/gtest.h>

#include "assets.h"
#include "read_le.h"

#include <fstream>
#include <iterator>
#include <string>

namespace {

int const Width = 235, Height = 110, RowBytes = 708;

const Bytes& BitmapFile()
{
    static Bytes const file = MakeClockBitmapFile();
    return file;
}

struct Colour {
    int r, g, b;
    bool black() const { return r == 0 && g == 0 && b == 0; }
};

// Picture coordinates from the top-left; the rows are stored bottom-up.
Colour PixelIn(const Bytes& file, int width, int height, int x, int y)
{
    std::size_t const rowBytes = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    std::size_t const at = 14 + 40 + static_cast<std::size_t>(height - 1 - y) * rowBytes + 3 * x;
    return {file.at(at + 2), file.at(at + 1), file.at(at)};
}

Colour PixelAt(int x, int y)
{
    return PixelIn(BitmapFile(), Width, Height, x, y);
}

bool IsBlue(Colour c)
{
    return c.b > 2 * c.r && c.b > c.g && c.b > 90;
}

bool IsDarkRed(Colour c)
{
    return c.r > 3 * c.g && c.r > 3 * c.b && c.r < 200;
}

TEST(ClockPicture, HeadersHoldEveryField)
{
    Bytes const& file = BitmapFile();
    ASSERT_EQ(file.size(), 14u + 77920u);
    EXPECT_EQ(Tag(file, 0, 2), "BM");
    Field const fields[] = {{"file size", 2, 4, 77934},       {"reserved", 6, 4, 0},
                            {"bits offset", 10, 4, 54},       {"biSize", 14, 4, 40},
                            {"biWidth", 18, 4, 235},          {"biHeight", 22, 4, 110},
                            {"biPlanes", 26, 2, 1},           {"biBitCount", 28, 2, 24},
                            {"biCompression", 30, 4, 0},      {"biSizeImage", 34, 4, 77880},
                            {"biXPelsPerMeter", 38, 4, 3780}, {"biYPelsPerMeter", 42, 4, 3780},
                            {"biClrUsed", 46, 4, 0},          {"biClrImportant", 50, 4, 0}};
    for (Field const& field : fields) EXPECT_EQ(Read(file, field), field.expected) << field.name;
    for (int row = 0; row < Height; ++row)
        for (int pad = 705; pad < RowBytes; ++pad) EXPECT_EQ(file[54 + row * RowBytes + pad], 0) << row;
}

TEST(ClockPicture, DisplayAreaIsBlackAndFramedByTheCase)
{
    int const left = 46, top = 51, right = 157, bottom = 72;  // inclusive
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) EXPECT_TRUE(PixelAt(x, y).black()) << x << "," << y;
    // Every pixel of the case around it, up to 10 pixels out, has colour.
    for (int y = top - 10; y <= bottom + 10; ++y)
        for (int x = left - 10; x <= right + 10; ++x)
            if (x < left || x > right || y < top || y > bottom) {
                EXPECT_FALSE(PixelAt(x, y).black()) << x << "," << y;
            }
}

TEST(ClockPicture, CaseHasABlueFrontAndDarkRedTopAndSide)
{
    struct Spot {
        const char* where;
        int x, y;
        bool blue;  // else red
    };
    Spot const spots[] = {{"front, left of the display", 28, 60, true},
                          {"front, below the display", 100, 88, true},
                          {"top", 60, 30, false},
                          {"top, back", 180, 20, false},
                          {"right side", 190, 80, false},
                          {"right side, back", 212, 40, false}};
    for (Spot const& spot : spots) {
        Colour const c = PixelAt(spot.x, spot.y);
        EXPECT_TRUE(spot.blue ? IsBlue(c) : IsDarkRed(c)) << spot.where;
    }
    for (int x = 0; x < Width; ++x) EXPECT_TRUE(PixelAt(x, 0).black() && PixelAt(x, 5).black()) << "background " << x;
}

TEST(ClockPicture, LargerDrawingsShowTheSameClockAtTheirScale)
{
    // Read as committed, which the generator remakes byte for byte (regenerate_test.cpp).
    struct Drawing {
        const char* name;
        int width, height;  // 235 x 110 scaled as the program scales lengths
    } const drawings[] = {{"clock150.bmp", 353, 165}, {"clock200.bmp", 470, 220}};
    for (Drawing const& d : drawings) {
        SCOPED_TRACE(d.name);
        std::ifstream stream(std::string(RESOURCES_DIR) + "/" + d.name, std::ios::binary);
        Bytes const file((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
        std::uint32_t const rowBytes = (d.width * 3 + 3) / 4 * 4, imageBytes = rowBytes * d.height;
        ASSERT_EQ(file.size(), 14u + 40u + imageBytes);
        Field const fields[] = {{"bits offset", 10, 4, 54},
                                {"biWidth", 18, 4, static_cast<std::uint32_t>(d.width)},
                                {"biHeight", 22, 4, static_cast<std::uint32_t>(d.height)},
                                {"biBitCount", 28, 2, 24},
                                {"biSizeImage", 34, 4, imageBytes}};
        for (Field const& field : fields) EXPECT_EQ(Read(file, field), field.expected) << field.name;
        // The display area, scaled, is black inside its edges, which may blend with the case.
        auto at = [&](int x, int y) {
            return PixelIn(file, d.width, d.height, x * d.width / Width, y * d.width / Width);
        };
        for (int y = 52; y <= 71; ++y)
            for (int x = 47; x <= 156; ++x) EXPECT_TRUE(at(x, y).black()) << x << "," << y;
        // Each spot of the 100 % picture's case has the same colour here.
        struct Spot {
            int x, y;
            bool blue;
        } const spots[] = {{28, 60, true}, {100, 88, true}, {60, 30, false}, {190, 80, false}, {212, 40, false}};
        for (Spot const& spot : spots) {
            Colour const c = at(spot.x, spot.y);
            EXPECT_TRUE(spot.blue ? IsBlue(c) : IsDarkRed(c)) << spot.x << "," << spot.y;
            EXPECT_EQ(spot.blue, IsBlue(PixelAt(spot.x, spot.y)));
        }
    }
}

}  // namespace
