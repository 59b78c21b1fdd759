// Little-endian field reads for the asset tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline unsigned U16(const Bytes& b, std::size_t at)
{
    return b.at(at) | b.at(at + 1) << 8;
}
inline std::uint32_t U32(const Bytes& b, std::size_t at)
{
    return U16(b, at) | std::uint32_t{U16(b, at + 2)} << 16;
}
inline std::string Tag(const Bytes& b, std::size_t at, std::size_t length)
{
    return std::string(b.begin() + static_cast<std::ptrdiff_t>(at),
                       b.begin() + static_cast<std::ptrdiff_t>(at + length));
}

// A header field: where it is, how wide, what it must hold.
struct Field {
    const char* name;
    std::size_t offset;
    int width;  // 2 or 4 bytes
    std::uint32_t expected;
};

inline std::uint32_t Read(const Bytes& b, const Field& field)
{
    return field.width == 2 ? U16(b, field.offset) : U32(b, field.offset);
}
