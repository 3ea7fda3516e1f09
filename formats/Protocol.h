#pragma once

// A stimulation protocol as the host holds it: header values and conditions with their
// intervals, in file order.

#include <cstdint>
#include <string>
#include <vector>

namespace formats {

enum class TimeResolution : std::int32_t {
    Volumes = 1,       // intervals in volumes, counted from 1, both ends included
    Milliseconds = 2,  // intervals in milliseconds
};

struct ProtocolCondition {
    std::string name;
    // One entry per interval, in file order. The host hands the two arrays out as they are.
    std::vector<std::int32_t> starts;
    std::vector<std::int32_t> ends;
    // parametricWeights values per interval, interval after interval.
    std::vector<double> weights;
    std::int32_t color = 0;  // 0xRRGGBB
};

struct Protocol {
    std::string fileName;  // the full path it was loaded from
    int fileVersion = 1;
    TimeResolution resolution = TimeResolution::Volumes;
    std::string experimentName;
    std::int32_t backgroundColor = 0x000000;
    std::int32_t textColor = 0xFFFFFF;
    std::int32_t timeCourseColor = 0xFFFFFF;
    std::int32_t timeCourseThick = 3;
    std::int32_t referenceFuncColor = 0xC0C0C0;
    std::int32_t referenceFuncThick = 2;
    int parametricWeights = 0;  // weight columns after each interval
    std::vector<ProtocolCondition> conditions;
};

}  // namespace formats
