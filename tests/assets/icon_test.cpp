// The bell icon: directory, every image header, palettes and masks.
#include <gtest/gtest.h>

#include "assets.h"
#include "read_le.h"

namespace {

const Bytes& IconFile()
{
    static Bytes const file = MakeBellIcon();
    return file;
}

struct Entry {
    std::uint32_t size, bits, colourCount;
};
Entry const Entries[12] = {{16, 4, 16}, {24, 4, 16}, {32, 4, 16}, {48, 4, 16}, {16, 8, 0},  {24, 8, 0},
                           {32, 8, 0},  {48, 8, 0},  {16, 24, 0}, {24, 24, 0}, {32, 24, 0}, {32, 24, 0}};

std::size_t RowBytes(std::uint32_t size, std::uint32_t bits)
{
    return (size * bits + 31) / 32 * 4;
}
std::size_t PaletteBytes(std::uint32_t bits)
{
    return bits == 24 ? 0 : std::size_t{4} << bits;
}
std::size_t ImageOffset(int entry)
{
    return U32(IconFile(), 6 + 16 * static_cast<std::size_t>(entry) + 12);
}

// 0xRRGGBB of a colour table entry or a 24-bit pixel.
std::uint32_t ColourAt(std::size_t at)
{
    return IconFile().at(at + 2) << 16 | IconFile().at(at + 1) << 8 | IconFile().at(at);
}

bool Brassy(std::uint32_t c)
{
    std::uint32_t const r = c >> 16, g = c >> 8 & 255, b = c & 255;
    return r >= g && g >= b && r >= 100;
}

TEST(BellIcon, DirectoryAndImageHeadersHoldEveryField)
{
    Bytes const& file = IconFile();
    EXPECT_EQ(U16(file, 0) << 16 | U16(file, 2), 1u);  // reserved 0, type icon
    ASSERT_EQ(U16(file, 4), 12u);
    std::size_t image = 6 + 12 * 16;
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE(i + 1);
        Entry const& e = Entries[i];
        std::size_t const at = 6 + 16 * static_cast<std::size_t>(i);
        auto const bytes = static_cast<std::uint32_t>(40 + PaletteBytes(e.bits) +
                                                      (RowBytes(e.size, e.bits) + RowBytes(e.size, 1)) * e.size);
        EXPECT_EQ(U16(file, at), e.size | e.size << 8);
        EXPECT_EQ(U16(file, at + 2), e.colourCount);
        Field const fields[] = {{"planes", at + 4, 2, 1},
                                {"bit count", at + 6, 2, e.bits},
                                {"bytes", at + 8, 4, bytes},
                                {"offset", at + 12, 4, static_cast<std::uint32_t>(image)},
                                {"biSize", image, 4, 40},
                                {"biWidth", image + 4, 4, e.size},
                                {"biHeight", image + 8, 4, 2 * e.size},
                                {"biPlanes", image + 12, 2, 1},
                                {"biBitCount", image + 14, 2, e.bits},
                                {"biCompression", image + 16, 4, 0}};
        for (Field const& field : fields) EXPECT_EQ(Read(file, field), field.expected) << field.name;
        image += bytes;
    }
    EXPECT_EQ(file.size(), image);
    EXPECT_TRUE(
        std::equal(file.begin() + ImageOffset(10), file.begin() + ImageOffset(11), file.begin() + ImageOffset(11)))
        << "entries 11 and 12 differ";
}

TEST(BellIcon, PalettesAreTheWindowsSixteenAndBrassTones)
{
    std::uint32_t const windows[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                                       0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    for (int entry = 0; entry < 4; ++entry)
        for (std::size_t i = 0; i < 16; ++i)
            EXPECT_EQ(ColourAt(ImageOffset(entry) + 40 + 4 * i), windows[i]) << entry << ":" << i;
    int brass = 0;
    for (std::size_t i = 0; i < 256; ++i) brass += Brassy(ColourAt(ImageOffset(4) + 40 + 4 * i));
    EXPECT_GE(brass, 128);
}

TEST(BellIcon, BellIsOpaqueBrassOnATransparentBackground)
{
    Bytes const& file = IconFile();
    for (int i = 0; i < 12; ++i) {
        Entry const& e = Entries[i];
        SCOPED_TRACE(std::to_string(e.size) + " px, " + std::to_string(e.bits) + " bits");
        std::size_t const palette = ImageOffset(i) + 40, bits = palette + PaletteBytes(e.bits);
        std::size_t const mask = bits + RowBytes(e.size, e.bits) * e.size;
        auto transparent = [&](std::uint32_t x, std::uint32_t y) {  // y from the top; rows are stored bottom-up
            return (file.at(mask + RowBytes(e.size, 1) * (e.size - 1 - y) + x / 8) >> (7 - x % 8) & 1) == 1;
        };
        auto colour = [&](std::uint32_t x, std::uint32_t y) {
            std::size_t const row = bits + RowBytes(e.size, e.bits) * (e.size - 1 - y);
            if (e.bits == 24) return ColourAt(row + 3 * x);
            std::uint32_t const index =
                e.bits == 8 ? file.at(row + x) : file.at(row + x / 2) >> (x % 2 == 0 ? 4 : 0) & 15;
            return ColourAt(palette + 4 * index);
        };
        for (std::uint32_t y = 0; y < e.size; ++y) {
            for (std::uint32_t x = 0; x < e.size; ++x) {
                bool const corner = (x == 0 || x == e.size - 1) && (y == 0 || y == e.size - 1);
                EXPECT_TRUE(transparent(x, y) || !corner) << x << "," << y;
                // Black under the mask leaves the screen as it was.
                EXPECT_TRUE(!transparent(x, y) || colour(x, y) == 0) << x << "," << y;
            }
        }
        // The bell's shoulder, middle and flare are solid brass.
        for (std::uint32_t y : {e.size / 3, e.size / 2, e.size * 3 / 4}) {
            EXPECT_FALSE(transparent(e.size / 2, y)) << y;
            EXPECT_TRUE(Brassy(colour(e.size / 2, y))) << std::hex << colour(e.size / 2, y);
        }
    }
}

}  // namespace
