// make_assets DIR: writes the program's sounds, picture and icon into DIR.
#include "assets.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

bool WriteFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_assets DIRECTORY\n");
        return 2;
    }
    std::string const directory = argv[1];
    struct Asset {
        const char* name;
        Bytes (*make)();
    };
    Asset const assets[] = {{"silence.wav", MakeSilenceWave},         {"alarm.wav", MakeAlarmWave},
                            {"clock.bmp", MakeClockBitmapFile},       {"clock150.bmp", MakeClockBitmapFile150},
                            {"clock200.bmp", MakeClockBitmapFile200}, {"bell.ico", MakeBellIcon}};
    for (Asset const& asset : assets) {
        std::string const path = directory + "/" + asset.name;
        if (!WriteFile(path, asset.make())) {
            std::fprintf(stderr, "make_assets: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
