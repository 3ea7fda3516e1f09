#include "tests/headless/DocumentBytes.h"

#include <bit>

namespace headlesstest {

namespace {

void int16(std::string& bytes, std::int16_t value) {
    const auto bits = static_cast<std::uint16_t>(value);
    bytes.push_back(static_cast<char>(bits & 0xFF));
    bytes.push_back(static_cast<char>(bits >> 8));
}

void float32(std::string& bytes, float value) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<char>((bits >> shift) & 0xFF));
    }
}

void text(std::string& bytes, const std::string& value) {
    bytes += value;
    bytes.push_back('\0');
}

}  // namespace

std::string volumeDocumentBytes(int dimX, int dimY, int dimZ, std::size_t voxelBytes) {
    std::string bytes;
    int16(bytes, 4);
    int16(bytes, static_cast<std::int16_t>(dimX));
    int16(bytes, static_cast<std::int16_t>(dimY));
    int16(bytes, static_cast<std::int16_t>(dimZ));
    bytes.append(voxelBytes, '\x40');
    return bytes;
}

std::string volumeDocumentBytes(int dimX, int dimY, int dimZ) {
    return volumeDocumentBytes(dimX, dimY, dimZ, static_cast<std::size_t>(dimX * dimY * dimZ));
}

std::string timeCourseHeaderBytes(const TimeCourseSpec& spec) {
    std::string bytes;
    int16(bytes, spec.fileVersion);
    text(bytes, spec.sourceRun);
    int16(bytes, static_cast<std::int16_t>(spec.protocols.size()));
    for (const auto& protocol : spec.protocols) {
        text(bytes, protocol);
    }
    int16(bytes, spec.currentProtocol);
    int16(bytes, spec.dataType);
    int16(bytes, spec.volumes);
    int16(bytes, spec.resolution);
    for (const std::int16_t bound : spec.box) {
        int16(bytes, bound);
    }
    bytes.push_back(1);  // left-right convention
    bytes.push_back(2);  // reference space
    float32(bytes, spec.repetitionTimeMs);
    return bytes;
}

std::string timeCourseBytes(const TimeCourseSpec& spec) {
    std::string bytes = timeCourseHeaderBytes(spec);
    // A header the host refuses (resolution below 1, an inverted box) gets no voxels.
    const auto extent = [&](int start, int end) {
        return spec.resolution < 1 || end < start ? 0 : (end - start) / spec.resolution;
    };
    const int voxels = extent(spec.box[0], spec.box[1]) * extent(spec.box[2], spec.box[3]) *
                       extent(spec.box[4], spec.box[5]);
    const int bytesPerValue = spec.dataType == 1 ? 2 : 4;
    bytes.append(static_cast<std::size_t>(voxels * spec.volumes * bytesPerValue), '\x01');
    return bytes;
}

}  // namespace headlesstest
