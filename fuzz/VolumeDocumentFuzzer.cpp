// Any bytes as a volume document: either every dimension at least 1 and exactly as many voxel
// bytes as they call for, all within the file, or a refusal that names the file.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/VolumeDocument.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzzsupport::scratchFile("anatomy.vmr");
    fuzzsupport::writeBytes(path, data, size);
    const formats::VolumeDocumentRead read = formats::readVolumeDocument(path);
    if (!read.document) {
        FUZZ_CHECK(read.error.find(path) != std::string::npos,
                   "the refusal does not name the file: " + read.error);
        return 0;
    }
    const formats::VolumeDocument& document = *read.document;
    FUZZ_CHECK(document.dimX >= 1 && document.dimY >= 1 && document.dimZ >= 1,
               "a dimension below 1");
    const auto voxels = static_cast<std::size_t>(document.dimX) *
                        static_cast<std::size_t>(document.dimY) *
                        static_cast<std::size_t>(document.dimZ);
    FUZZ_CHECK(document.voxels.size() == voxels, "voxels differ from the dimensions");
    FUZZ_CHECK(8 + voxels <= size, "voxels beyond the file's end");
    FUZZ_CHECK(std::equal(document.voxels.begin(), document.voxels.end(), data + 8),
               "the voxels are not the file's bytes");
    return 0;
}
