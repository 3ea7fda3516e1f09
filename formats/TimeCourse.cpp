#include "formats/TimeCourse.h"

#include <cmath>
#include <filesystem>
#include <fstream>

#include "formats/ByteReader.h"
#include "formats/ByteWriter.h"
#include "paths/RegularFile.h"

namespace formats {

namespace {

// Refusal text for a header value outside what the host accepts.
std::string badValue(const std::string& path, const std::string& what) {
    return "the time course " + path + " " + what;
}

}  // namespace

std::string TimeCourseHeader::currentProtocolName() const {
    if (currentProtocolIndex < 0 ||
        static_cast<std::size_t>(currentProtocolIndex) >= protocolNames.size()) {
        return {};
    }
    return protocolNames[static_cast<std::size_t>(currentProtocolIndex)];
}

std::uint64_t TimeCourseHeader::dataSize() const {
    const std::uint64_t bytesPerValue = dataType == 1 ? 2 : 4;
    return voxelCount * static_cast<std::uint64_t>(nrOfVolumes) * bytesPerValue;
}

TimeCourseRead readTimeCourseHeader(const std::string& path) {
    TimeCourseRead result;
    if (paths::isIrregularFile(path)) {
        result.error = paths::irregularFileText(path);
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.error = "cannot open the time course " + path;
        return result;
    }
    TimeCourseHeader header;
    ByteReader reader(in);
    if (reader.int16("file version", header.fileVersion) &&
        header.fileVersion != kTimeCourseVersion) {
        result.error = badValue(path, "has file version " + std::to_string(header.fileVersion) +
                                          "; only version 3 is supported");
        return result;
    }
    reader.text("name of the source functional run", header.sourceRunName);
    std::int16_t protocolCount = 0;
    reader.int16("number of linked protocols", protocolCount);
    for (std::int16_t i = 0; i < protocolCount && reader.good(); ++i) {
        std::string name;
        if (reader.text("linked protocol names", name)) {
            header.protocolNames.push_back(std::move(name));
        }
    }
    reader.int16("index of the current protocol", header.currentProtocolIndex);
    reader.int16("data type", header.dataType);
    reader.int16("number of volumes", header.nrOfVolumes);
    reader.int16("resolution", header.resolution);
    reader.int16("XStart", header.xStart);
    reader.int16("XEnd", header.xEnd);
    reader.int16("YStart", header.yStart);
    reader.int16("YEnd", header.yEnd);
    reader.int16("ZStart", header.zStart);
    reader.int16("ZEnd", header.zEnd);
    reader.int8("left-right convention", header.leftRightConvention);
    reader.int8("reference space", header.referenceSpace);
    reader.float32("repetition time", header.repetitionTimeMs);
    if (!reader.good()) {
        result.error =
            badValue(path, "ends inside its header (at the " + reader.failedField() + ")");
        return result;
    }
    header.headerSize = reader.offset();

    if (protocolCount < 0) {
        result.error = badValue(path, "declares a negative number of linked protocols");
        return result;
    }
    if (header.dataType != 1 && header.dataType != 2) {
        result.error = badValue(path, "has data type " + std::to_string(header.dataType) +
                                          "; only 1 (16-bit integers) and 2 (32-bit floats) "
                                          "are supported");
        return result;
    }
    if (header.nrOfVolumes < 1) {
        result.error = badValue(
            path, "has " + std::to_string(header.nrOfVolumes) + " volumes; at least 1 is needed");
        return result;
    }
    if (!(header.repetitionTimeMs > 0.0f) || !std::isfinite(header.repetitionTimeMs)) {
        result.error =
            badValue(path, "has a repetition time that is not a finite number above 0 ms");
        return result;
    }
    if (header.resolution < 1) {
        result.error = badValue(path, "has the resolution " + std::to_string(header.resolution) +
                                          "; it must be at least 1");
        return result;
    }
    if (header.xEnd < header.xStart || header.yEnd < header.yStart || header.zEnd < header.zStart) {
        result.error = badValue(path, "has a voxel box whose end lies before its start");
        return result;
    }
    const auto extent = [&](std::int16_t start, std::int16_t end) {
        return static_cast<std::uint64_t>((end - start) / header.resolution);
    };
    header.voxelCount = extent(header.xStart, header.xEnd) * extent(header.yStart, header.yEnd) *
                        extent(header.zStart, header.zEnd);

    std::error_code sizeError;
    const std::uintmax_t fileSize = std::filesystem::file_size(path, sizeError);
    if (sizeError || fileSize < header.headerSize + header.dataSize()) {
        result.error = badValue(
            path, "is too short: its header calls for " + std::to_string(header.dataSize()) +
                      " bytes of voxel data (" + std::to_string(header.voxelCount) + " voxels x " +
                      std::to_string(header.nrOfVolumes) + " volumes)");
        return result;
    }
    result.header = std::move(header);
    return result;
}

std::string timeCourseHeaderBytes(const TimeCourseHeader& header) {
    std::string bytes;
    appendInt16(bytes, header.fileVersion);
    appendText(bytes, header.sourceRunName);
    appendInt16(bytes, static_cast<std::int16_t>(header.protocolNames.size()));
    for (const std::string& name : header.protocolNames) {
        appendText(bytes, name);
    }
    appendInt16(bytes, header.currentProtocolIndex);
    appendInt16(bytes, header.dataType);
    appendInt16(bytes, header.nrOfVolumes);
    appendInt16(bytes, header.resolution);
    for (const std::int16_t bound :
         {header.xStart, header.xEnd, header.yStart, header.yEnd, header.zStart, header.zEnd}) {
        appendInt16(bytes, bound);
    }
    appendInt8(bytes, header.leftRightConvention);
    appendInt8(bytes, header.referenceSpace);
    appendFloat32(bytes, header.repetitionTimeMs);
    return bytes;
}

}  // namespace formats
