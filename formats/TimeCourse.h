#pragma once

// The time course (*.vtc), version 3 header, little-endian, in file order: int16 file version,
// the source functional run's name (NUL-terminated), int16 number of linked protocols P, P
// protocol names (NUL-terminated), int16 index of the current protocol, int16 data type
// (1 = 16-bit integers, 2 = 32-bit floats), int16 number of volumes, int16 resolution, int16
// XStart, XEnd, YStart, YEnd, ZStart, ZEnd, int8 left-right convention, int8 reference space,
// float32 TR in milliseconds. Then nrOfVolumes values per voxel.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace formats {

inline constexpr std::int16_t kTimeCourseVersion = 3;

struct TimeCourseHeader {
    std::int16_t fileVersion = 0;
    std::string sourceRunName;
    std::vector<std::string> protocolNames;
    std::int16_t currentProtocolIndex = 0;
    std::int16_t dataType = 0;
    std::int16_t nrOfVolumes = 0;
    std::int16_t resolution = 0;
    std::int16_t xStart = 0;
    std::int16_t xEnd = 0;
    std::int16_t yStart = 0;
    std::int16_t yEnd = 0;
    std::int16_t zStart = 0;
    std::int16_t zEnd = 0;
    std::int8_t leftRightConvention = 0;
    std::int8_t referenceSpace = 0;
    float repetitionTimeMs = 0.0f;
    std::uint64_t headerSize = 0;  // bytes before the voxel data
    std::uint64_t voxelCount = 0;

    // The name of the current linked protocol; empty when the index names none.
    std::string currentProtocolName() const;
    // Bytes of voxel data that the header calls for.
    std::uint64_t dataSize() const;
};

struct TimeCourseRead {
    std::optional<TimeCourseHeader> header;
    std::string error;  // why the file was refused, when there is no header
};

// Reads and checks the header of the time course at path: version 3, data type 1 or 2, at least
// one volume, TR a finite number above 0, resolution >= 1, each End >= its Start, and the file at
// least as long as the header plus the voxel data. The voxel data itself is not read.
TimeCourseRead readTimeCourseHeader(const std::string& path);

// The header's bytes, field by field as they stand (headerSize and voxelCount are not written);
// the voxel data follows them in the file.
std::string timeCourseHeaderBytes(const TimeCourseHeader& header);

}  // namespace formats
