#pragma once

// Binary volume documents and time courses for the tests, with defaults that the host accepts and
// any field open to change, written by the formats' own writers.

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// An int16 file version, the three dimensions and voxelBytes bytes of voxels.
std::string volumeDocumentBytes(int dimX, int dimY, int dimZ, std::size_t voxelBytes);
// The same with as many voxel bytes as the dimensions call for.
std::string volumeDocumentBytes(int dimX, int dimY, int dimZ);

struct TimeCourseSpec {
    std::int16_t fileVersion = 3;
    std::string sourceRun = "run1.fmr";
    std::vector<std::string> protocols;
    std::int16_t currentProtocol = 0;
    std::int16_t dataType = 2;
    std::int16_t volumes = 10;
    std::int16_t resolution = 3;
    std::int16_t box[6] = {0, 6, 0, 3, 0, 3};  // 2 x 1 x 1 voxels
    float repetitionTimeMs = 2000.0f;
};

// The header alone.
std::string timeCourseHeaderBytes(const TimeCourseSpec& spec);
// The header and as many voxel values as it calls for.
std::string timeCourseBytes(const TimeCourseSpec& spec);

}  // namespace testsupport
