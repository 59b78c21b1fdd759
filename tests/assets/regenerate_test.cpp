// The committed assets are exactly what the generator makes today.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string Slurp(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST(Assets, GeneratorRemakesTheCommittedFilesByteForByte)
{
    std::filesystem::path const out = SCRATCH_DIR;
    std::filesystem::remove_all(out);
    std::filesystem::create_directories(out);
    std::string const command = std::string("\"") + MAKE_ASSETS_EXE + "\" \"" + out.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (const char* name : {"silence.wav", "alarm.wav", "clock.bmp", "clock150.bmp", "clock200.bmp", "bell.ico"}) {
        std::string const made = Slurp(out / name);
        std::string const committed = Slurp(std::filesystem::path(RESOURCES_DIR) / name);
        EXPECT_FALSE(made.empty()) << name;
        EXPECT_TRUE(made == committed) << name << " differs from resources/; run the `assets` target and commit";
    }
}

}  // namespace
