#pragma once

// Little-endian fields read one by one from a binary stream. A field that the stream cannot
// deliver in full makes the read fail; the reader keeps the name of the first field that failed.

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>

namespace formats {

class ByteReader {
  public:
    explicit ByteReader(std::istream& in) : in_(in) {}

    // Each read answers false (and leaves `value` as it was) once any read has failed.
    bool int8(const char* field, std::int8_t& value);
    bool int16(const char* field, std::int16_t& value);
    bool float32(const char* field, float& value);
    // Characters up to the next NUL, which is consumed; fails at the end of the stream.
    bool text(const char* field, std::string& value);

    bool good() const { return failedField_.empty(); }
    // The field at which reading stopped; empty while every read succeeded.
    const std::string& failedField() const { return failedField_; }
    // Bytes consumed so far.
    std::size_t offset() const { return offset_; }

  private:
    bool bytes(const char* field, unsigned char* target, std::size_t count);

    std::istream& in_;
    std::size_t offset_ = 0;
    std::string failedField_;
};

}  // namespace formats
