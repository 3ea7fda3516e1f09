// Any bytes as a time course: either a header that passes every check the host relies on
// (version 3, data type 1 or 2, at least one volume, a finite TR above 0, a voxel box that lies
// within the file) or a refusal that says why.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/TimeCourse.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzzsupport::scratchFile("run.vtc");
    fuzzsupport::writeBytes(path, data, size);
    const formats::TimeCourseRead read = formats::readTimeCourseHeader(path);
    if (!read.header) {
        FUZZ_CHECK(read.error.find(path) != std::string::npos,
                   "the refusal does not name the file: " + read.error);
        return 0;
    }
    const formats::TimeCourseHeader& header = *read.header;
    FUZZ_CHECK(read.error.empty(), "a header comes with an error");
    FUZZ_CHECK(header.fileVersion == formats::kTimeCourseVersion, "a version other than 3");
    FUZZ_CHECK(header.dataType == 1 || header.dataType == 2, "an unknown data type");
    FUZZ_CHECK(header.nrOfVolumes >= 1, "no volume");
    FUZZ_CHECK(std::isfinite(header.repetitionTimeMs) && header.repetitionTimeMs > 0.0f,
               "a repetition time that is not a finite number above 0");
    FUZZ_CHECK(header.resolution >= 1, "a resolution below 1");
    FUZZ_CHECK(header.headerSize <= size, "a header longer than the file");
    FUZZ_CHECK(header.dataSize() <= size - header.headerSize, "voxel data beyond the file's end");
    FUZZ_CHECK(
        header.currentProtocolName().empty() ||
            static_cast<std::size_t>(header.currentProtocolIndex) < header.protocolNames.size(),
        "a current protocol outside the list");
    return 0;
}
