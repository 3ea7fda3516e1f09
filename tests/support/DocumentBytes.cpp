#include "tests/support/DocumentBytes.h"

#include "formats/TimeCourse.h"
#include "formats/VolumeDocument.h"

namespace testsupport {

std::string volumeDocumentBytes(int dimX, int dimY, int dimZ, std::size_t voxelBytes) {
    formats::VolumeDocument document;
    document.fileVersion = 4;
    document.dimX = dimX;
    document.dimY = dimY;
    document.dimZ = dimZ;
    document.voxels.assign(voxelBytes, 0x40);
    return formats::volumeDocumentBytes(document);
}

std::string volumeDocumentBytes(int dimX, int dimY, int dimZ) {
    return volumeDocumentBytes(dimX, dimY, dimZ, static_cast<std::size_t>(dimX * dimY * dimZ));
}

std::string timeCourseHeaderBytes(const TimeCourseSpec& spec) {
    formats::TimeCourseHeader header;
    header.fileVersion = spec.fileVersion;
    header.sourceRunName = spec.sourceRun;
    header.protocolNames = spec.protocols;
    header.currentProtocolIndex = spec.currentProtocol;
    header.dataType = spec.dataType;
    header.nrOfVolumes = spec.volumes;
    header.resolution = spec.resolution;
    header.xStart = spec.box[0];
    header.xEnd = spec.box[1];
    header.yStart = spec.box[2];
    header.yEnd = spec.box[3];
    header.zStart = spec.box[4];
    header.zEnd = spec.box[5];
    header.leftRightConvention = 1;
    header.referenceSpace = 2;
    header.repetitionTimeMs = spec.repetitionTimeMs;
    return formats::timeCourseHeaderBytes(header);
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

}  // namespace testsupport
