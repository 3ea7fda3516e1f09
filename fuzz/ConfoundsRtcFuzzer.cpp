// Any bytes as a file for readConfoundsRtc: the record is complete or not readOk, the failure is
// logged, the file is left as it was.

#include <cstddef>
#include <cstdint>

#include "designmatrix/ConfoundReaders.h"
#include "fuzz/ReaderInvariants.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::checkReader(data, size, ".rtc", fuzzsupport::ReaderRole::Predictors,
                             designmatrix::kHeartRateKind, [](const char* path) {
                                 return designmatrix::readConfoundsRtc(
                                     path, designmatrix::kHeartRateKind);
                             });
    return 0;
}
