// Any bytes as a file for readMotionEstimatesSdm: the record is complete or not readOk, the failure
// is logged, the file is left as it was.

#include <cstddef>
#include <cstdint>

#include "designmatrix/ConfoundReaders.h"
#include "fuzz/ReaderInvariants.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::checkReader(
        data, size, ".sdm", fuzzsupport::ReaderRole::Motion, designmatrix::kMotionEstimatesKind,
        [](const char* path) { return designmatrix::readMotionEstimatesSdm(path); });
    return 0;
}
