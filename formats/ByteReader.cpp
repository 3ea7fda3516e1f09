#include "formats/ByteReader.h"

#include <bit>
#include <utility>

namespace formats {

bool ByteReader::bytes(const char* field, unsigned char* target, std::size_t count) {
    if (!good()) {
        return false;
    }
    in_.read(reinterpret_cast<char*>(target), static_cast<std::streamsize>(count));
    if (static_cast<std::size_t>(in_.gcount()) != count) {
        failedField_ = field;
        return false;
    }
    offset_ += count;
    return true;
}

bool ByteReader::int8(const char* field, std::int8_t& value) {
    unsigned char byte = 0;
    if (!bytes(field, &byte, 1)) {
        return false;
    }
    value = static_cast<std::int8_t>(byte);
    return true;
}

bool ByteReader::int16(const char* field, std::int16_t& value) {
    unsigned char raw[2] = {};
    if (!bytes(field, raw, sizeof raw)) {
        return false;
    }
    value = static_cast<std::int16_t>(static_cast<std::uint16_t>(raw[0] | (raw[1] << 8)));
    return true;
}

bool ByteReader::float32(const char* field, float& value) {
    unsigned char raw[4] = {};
    if (!bytes(field, raw, sizeof raw)) {
        return false;
    }
    const std::uint32_t bits =
        static_cast<std::uint32_t>(raw[0]) | static_cast<std::uint32_t>(raw[1]) << 8 |
        static_cast<std::uint32_t>(raw[2]) << 16 | static_cast<std::uint32_t>(raw[3]) << 24;
    value = std::bit_cast<float>(bits);
    return true;
}

bool ByteReader::text(const char* field, std::string& value) {
    std::string result;
    unsigned char c = 0;
    while (bytes(field, &c, 1)) {
        if (c == '\0') {
            value = std::move(result);
            return true;
        }
        result.push_back(static_cast<char>(c));
    }
    return false;
}

}  // namespace formats
