// Little-endian byte output shared by the asset writers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline void PutU8(Bytes& out, unsigned value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFFu));
}

inline void PutU16(Bytes& out, unsigned value)
{
    PutU8(out, value);
    PutU8(out, value >> 8);
}

inline void PutU32(Bytes& out, std::uint32_t value)
{
    PutU16(out, value & 0xFFFFu);
    PutU16(out, value >> 16);
}

inline void PutTag(Bytes& out, const std::string& tag)
{
    for (char c : tag) PutU8(out, static_cast<unsigned char>(c));
}
