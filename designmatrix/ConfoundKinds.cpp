#include "designmatrix/ConfoundKinds.h"

#include "designmatrix/ConfoundReaders.h"
#include "paths/PathOperations.h"
#include "text/DesignFileHeader.h"

namespace designmatrix {

namespace {

constexpr std::array<const char*, kMotionColumnCount> kMotionNames = {
    "\"Translation ZM-X [mm]\"", "\"Translation ZM-Y [mm]\"", "\"Translation ZM-Z [mm]\"",
    "\"Rotation ZM-X [deg]\"",   "\"Rotation ZM-Y [deg]\"",   "\"Rotation ZM-Z [deg]\"",
};

DesignMatrixFilePtr motionRtc(const char* path, std::int32_t /*kind*/) {
    return readMotionEstimatesRtc(path);
}
DesignMatrixFilePtr motionSdm(const char* path, std::int32_t /*kind*/) {
    return readMotionEstimatesSdm(path);
}

// clang-format off
const std::array<ConfoundKindRow, kConfoundKinds> kRows = {{
    {3, kMotionEstimatesKind, "_3DMC", "_3DMC", "_3DMC_z", "motion estimates",
     &motionRtc, &motionSdm, ValueFormat::Default, kMotionNames},
    {4, kHeartRateKind, "_HR", "_HR", "_HR_z", "heart rate",
     &readConfoundsRtc, &readConfoundsSdm, ValueFormat::SixDecimals, {}},
    {5, kRespirationKind, "_RVT", "_RVT", "_RVT_z", "respiration",
     &readConfoundsRtc, &readConfoundsSdm, ValueFormat::SixDecimals, {}},
}};
// clang-format on

}  // namespace

const ConfoundKindRow& confoundKind(ConfoundKind kind) {
    return kRows[static_cast<std::size_t>(kind)];
}

const std::array<ConfoundKindRow, kConfoundKinds>& confoundKinds() {
    return kRows;
}

std::optional<ConfoundKind> confoundKindOfList(int listKind) {
    for (std::size_t i = 0; i < kConfoundKinds; ++i) {
        if (kRows[i].listKind == listKind) {
            return static_cast<ConfoundKind>(i);
        }
    }
    return std::nullopt;
}

DesignMatrixFilePtr readConfound(ConfoundKind kind, const char* path) {
    const char* file = path != nullptr ? path : "";
    const ConfoundKindRow& row = confoundKind(kind);
    return text::designFileLayoutOf(file) == text::DesignFileLayout::TimeCourse
               ? row.readTimeCourseLayout(file, row.recordKind)
               : row.readDesignMatrixLayout(file, row.recordKind);
}

std::string mergedDesignMatrixName(const std::string& base, const MergedKinds& kinds) {
    std::string suffixes;
    for (std::size_t i = 0; i < kConfoundKinds; ++i) {
        if (kinds[i]) {
            suffixes += *kinds[i] ? kRows[i].zSuffix : kRows[i].suffix;
        }
    }
    return paths::insertBeforeExtension(base, suffixes);
}

}  // namespace designmatrix
