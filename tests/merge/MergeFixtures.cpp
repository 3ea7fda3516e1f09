#include "tests/merge/MergeFixtures.h"

#include <cstddef>
#include <vector>

#include "tests/support/TestSupport.h"

namespace mergefixtures {

using designmatrix::DesignMatrixFile;

std::string baseWithConstant(std::int32_t version) {
    return "FileVersion:             " + std::to_string(version) +
           "\n"
           "\n"
           "NrOfPredictors:          3\n"
           "NrOfDataPoints:          4\n"
           "IncludesConstant:        1\n"
           "FirstConfoundPredictor:  3\n"
           "\n"
           "255 0 0   0 255 0   255 255 255\n"
           "\"Task A\" \"Task B\" \"Constant\"\n"
           "0.123456789 0.5 1\n"
           "1 0 1\n"
           "-2.5 0.0000001 1\n"
           "0 123456789 1\n";
}

std::string baseWithoutConstant() {
    return "FileVersion: 1\r\n"
           "\r\n"
           "NrOfPredictors: 2\r\n"
           "NrOfDataPoints: 4\r\n"
           "IncludesConstant: 0\r\n"
           "FirstConfoundPredictor: 3\r\n"
           "\r\n"
           "255 0 0 128 128 128\r\n"
           "\"Task A\"\t\"Rest\"\r\n"
           "1\t0\r\n"
           "0.5\t1\r\n"
           "0.25\t0\r\n"
           "0\t2\r\n";
}

DesignMatrixFile motionRecord() {
    DesignMatrixFile record;
    record.kind = designmatrix::kMotionEstimatesKind;
    record.nrOfPredictors = 6;
    record.nrOfDataPoints = 4;
    record.motionColors = {
        {{255, 50, 50}, {50, 255, 50}, {50, 50, 255}, {255, 255, 0}, {255, 0, 255}, {0, 255, 255}}};
    record.motionColumns = {{{1, 0.5, 0.123456789, -1},
                             {0, 0.25, 0.75, 1},
                             {10, 20, 30, 40},
                             {-0.001, 0.002, -0.003, 0.004},
                             {1e-05, 2e-05, 3e-05, 4e-05},
                             {100000, 1000000, 1234567, 0}}};
    return record;
}

DesignMatrixFile heartRateRecord(std::int32_t points) {
    DesignMatrixFile record;
    record.kind = designmatrix::kHeartRateKind;
    record.nrOfPredictors = 1;
    record.nrOfDataPoints = points;
    record.predictorColors = {{255, 255, 0}};
    record.predictorNames = {"\"HeartRate\""};
    std::vector<double> values;
    for (std::int32_t i = 1; i <= points; ++i) {
        values.push_back(i);
    }
    record.predictorValues = {values};
    return record;
}

DesignMatrixFile respirationRecord(std::int32_t points) {
    DesignMatrixFile record;
    record.kind = designmatrix::kRespirationKind;
    record.nrOfPredictors = 2;
    record.nrOfDataPoints = points;
    record.predictorColors = {{255, 255, 0}, {255, 255, 20}};
    record.predictorNames = {"\"RVT\"", "\"RVT_Deriv\""};
    const auto length = static_cast<std::ptrdiff_t>(points);
    const std::vector<double> first = {0.5, -0.5, 0.25, 0.125};
    const std::vector<double> second = {1e-7, 3.14159265, -2, 10};
    record.predictorValues = {std::vector<double>(first.begin(), first.begin() + length),
                              std::vector<double>(second.begin(), second.begin() + length)};
    return record;
}

std::string golden(const std::string& name) {
    return textLines(testsupport::readFile(std::string(MERGE_GOLDEN_DIR) + "/" + name));
}

std::string textLines(const std::string& text) {
#if defined(_WIN32)
    std::string converted;
    for (const char c : text) {
        if (c == '\n') {
            converted += '\r';
        }
        converted += c;
    }
    return converted;
#else
    return text;
#endif
}

}  // namespace mergefixtures
