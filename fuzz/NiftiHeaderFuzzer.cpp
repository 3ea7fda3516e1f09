// Any bytes as a NIfTI file, plain and gzip-compressed as the input says: either a header of
// version 1 or 2 with at least one volume and a time step that is a positive finite number when
// there is one; or one refusal that names the file.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "bids/InputError.h"
#include "bids/NiftiHeader.h"
#include "fuzz/FuzzSupport.h"

namespace {

void checkHeader(const bids::NiftiHeader& header) {
    FUZZ_CHECK(header.version == 1 || header.version == 2, "a version other than 1 or 2");
    FUZZ_CHECK(header.dim[0] >= 1 && header.dim[0] <= 7, "dim[0] outside 1..7");
    FUZZ_CHECK(header.volumes >= 1, "fewer than one volume");
    if (header.repetitionTime) {
        FUZZ_CHECK(std::isfinite(*header.repetitionTime) && *header.repetitionTime > 0.0,
                   "a time step that is not a positive finite number");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The bytes as a header in memory, and as a file on disk: a .nii.gz name when they begin as
    // gzip does, so that the inflating reader sees them too.
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const bool gzip = size >= 2 && data[0] == 0x1f && data[1] == 0x8b;
    const std::string path =
        fuzzsupport::scratchFile(gzip ? "sub-01_bold.nii.gz" : "sub-01_bold.nii");
    fuzzsupport::writeBytes(path, bytes);
    for (const bool fromFile : {false, true}) {
        try {
            checkHeader(fromFile ? bids::readNiftiHeader(path)
                                 : bids::parseNiftiHeader(bytes, path));
        } catch (const bids::InputError& error) {
            FUZZ_CHECK(std::string(error.what()).find(path) != std::string::npos,
                       "a refusal names no file");
        }
    }
    FUZZ_CHECK(fuzzsupport::readBytes(path) == bytes, "the file was changed");
    return 0;
}
