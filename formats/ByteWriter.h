#pragma once

// Little-endian fields appended one by one to a byte text: the writing side of ByteReader.

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>

namespace formats {

inline void appendInt8(std::string& bytes, std::int8_t value) {
    bytes.push_back(static_cast<char>(value));
}

inline void appendInt16(std::string& bytes, std::int16_t value) {
    const auto bits = static_cast<std::uint16_t>(value);
    bytes.push_back(static_cast<char>(bits & 0xFF));
    bytes.push_back(static_cast<char>(bits >> 8));
}

inline void appendFloat32(std::string& bytes, float value) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<char>((bits >> shift) & 0xFF));
    }
}

// The characters and a terminating NUL.
inline void appendText(std::string& bytes, std::string_view value) {
    bytes += value;
    bytes.push_back('\0');
}

}  // namespace formats
