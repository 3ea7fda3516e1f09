#include "formats/VolumeDocument.h"

#include <filesystem>
#include <fstream>

#include "formats/ByteReader.h"
#include "formats/ByteWriter.h"
#include "paths/RegularFile.h"

namespace formats {

VolumeDocumentRead readVolumeDocument(const std::string& path) {
    VolumeDocumentRead result;
    if (paths::isIrregularFile(path)) {
        result.error = paths::irregularFileText(path);
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.error = "cannot open the volume document " + path;
        return result;
    }
    VolumeDocument document;
    document.path = path;
    ByteReader reader(in);
    std::int16_t dims[3] = {};
    reader.int16("file version", document.fileVersion);
    reader.int16("DimX", dims[0]);
    reader.int16("DimY", dims[1]);
    reader.int16("DimZ", dims[2]);
    if (!reader.good()) {
        result.error = "the volume document " + path + " ends inside its header (at " +
                       reader.failedField() + ")";
        return result;
    }
    document.dimX = dims[0];
    document.dimY = dims[1];
    document.dimZ = dims[2];
    if (document.dimX <= 0 || document.dimY <= 0 || document.dimZ <= 0) {
        result.error = "the volume document " + path + " has the dimensions " +
                       std::to_string(document.dimX) + " x " + std::to_string(document.dimY) +
                       " x " + std::to_string(document.dimZ) + "; each must be at least 1";
        return result;
    }
    // Check the length before allocating: dimensions up to 32767 each could ask for terabytes.
    const auto voxelCount = static_cast<std::uintmax_t>(document.dimX) *
                            static_cast<std::uintmax_t>(document.dimY) *
                            static_cast<std::uintmax_t>(document.dimZ);
    std::error_code sizeError;
    const std::uintmax_t fileSize = std::filesystem::file_size(path, sizeError);
    if (sizeError || fileSize < reader.offset() + voxelCount) {
        result.error = "the volume document " + path + " is too short: its dimensions call for " +
                       std::to_string(voxelCount) + " voxel bytes after the 8-byte header";
        return result;
    }
    document.voxels.resize(static_cast<std::size_t>(voxelCount));
    in.read(reinterpret_cast<char*>(document.voxels.data()),
            static_cast<std::streamsize>(document.voxels.size()));
    if (static_cast<std::uintmax_t>(in.gcount()) != voxelCount) {
        result.error = "cannot read the voxels of the volume document " + path;
        return result;
    }
    result.document = std::move(document);
    return result;
}

std::string volumeDocumentBytes(const VolumeDocument& document) {
    std::string bytes;
    appendInt16(bytes, document.fileVersion);
    appendInt16(bytes, static_cast<std::int16_t>(document.dimX));
    appendInt16(bytes, static_cast<std::int16_t>(document.dimY));
    appendInt16(bytes, static_cast<std::int16_t>(document.dimZ));
    bytes.append(document.voxels.begin(), document.voxels.end());
    return bytes;
}

}  // namespace formats
