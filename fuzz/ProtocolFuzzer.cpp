// Any bytes as a protocol: either a protocol whose conditions hold as many starts as ends, each
// end at or after its start, the declared weights per interval, finite weights and colours
// within 0xRRGGBB; or no protocol and a message naming the line.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "formats/ProtocolReader.h"
#include "fuzz/FuzzSupport.h"

namespace {

bool isColour(std::int32_t colour) {
    return colour >= 0 && colour <= 0xFFFFFF;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const formats::ProtocolRead read = formats::parseProtocol(text);
    if (!read.protocol) {
        FUZZ_CHECK(read.errorLine >= 1, "a refusal names no line");
        FUZZ_CHECK(read.error.starts_with("line " + std::to_string(read.errorLine) + ": "),
                   "the message does not begin with its line: " + read.error);
        return 0;
    }
    const formats::Protocol& protocol = *read.protocol;
    FUZZ_CHECK(read.error.empty(), "a protocol comes with an error");
    FUZZ_CHECK(protocol.fileVersion >= 1 && protocol.fileVersion <= 3,
               "a file version outside 1-3");
    FUZZ_CHECK(protocol.resolution == formats::TimeResolution::Volumes ||
                   protocol.resolution == formats::TimeResolution::Milliseconds,
               "an unknown time resolution");
    FUZZ_CHECK(protocol.parametricWeights >= 0, "a negative weight count");
    for (std::int32_t colour : {protocol.backgroundColor, protocol.textColor,
                                protocol.timeCourseColor, protocol.referenceFuncColor}) {
        FUZZ_CHECK(isColour(colour), "a header colour outside 0xRRGGBB");
    }
    const auto weights = static_cast<std::size_t>(protocol.parametricWeights);
    for (const auto& condition : protocol.conditions) {
        FUZZ_CHECK(isColour(condition.color), "a condition colour outside 0xRRGGBB");
        FUZZ_CHECK(condition.starts.size() == condition.ends.size(), "starts and ends differ");
        FUZZ_CHECK(condition.weights.size() == condition.starts.size() * weights,
                   "weights differ from intervals x ParametricWeights");
        for (std::size_t k = 0; k < condition.starts.size(); ++k) {
            FUZZ_CHECK(condition.starts[k] <= condition.ends[k],
                       "an interval ends before it starts");
        }
        for (double weight : condition.weights) {
            FUZZ_CHECK(std::isfinite(weight), "a weight is not a finite number");
        }
        FUZZ_CHECK(condition.name.find('\n') == std::string::npos,
                   "a condition name holds a line break");
    }
    return 0;
}
