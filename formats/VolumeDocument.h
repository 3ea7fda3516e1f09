#pragma once

// The volume document (*.vmr): int16 file version, int16 DimX, DimY, DimZ, then DimX x DimY x
// DimZ bytes of voxel data, little-endian. Anything after the voxels is not read.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace formats {

struct VolumeDocument {
    std::string path;  // as opened
    std::int16_t fileVersion = 0;
    int dimX = 0;
    int dimY = 0;
    int dimZ = 0;
    std::vector<unsigned char> voxels;  // dimX x dimY x dimZ bytes
};

struct VolumeDocumentRead {
    std::optional<VolumeDocument> document;
    std::string error;  // why the file was refused, when there is no document
};

// Opens the volume document at path. Refused: a missing or unreadable file, a dimension <= 0,
// or fewer voxel bytes than the dimensions call for.
VolumeDocumentRead readVolumeDocument(const std::string& path);

// The file's bytes: the version, the three dimensions and the voxels as they stand (which need not
// be as many as the dimensions call for).
std::string volumeDocumentBytes(const VolumeDocument& document);

}  // namespace formats
