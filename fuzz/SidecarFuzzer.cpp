// Any text as a JSON sidecar: either no RepetitionTime, or a positive finite one; or one refusal
// that names the file.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "bids/InputError.h"
#include "bids/Sidecar.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr char kPath[] = "task-x_bold.json";
    try {
        const std::optional<double> time = bids::parseSidecarRepetitionTime(
            std::string(reinterpret_cast<const char*>(data), size), kPath);
        if (time) {
            FUZZ_CHECK(std::isfinite(*time) && *time > 0.0,
                       "a RepetitionTime that is not a positive finite number");
        }
    } catch (const bids::InputError& error) {
        FUZZ_CHECK(std::string(error.what()).find(kPath) != std::string::npos,
                   "a refusal names no file");
    }
    return 0;
}
