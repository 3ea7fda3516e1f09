#pragma once

// Records exchanged with the host, as byte layouts of the host's own definitions
// (x86-64, little-endian). The plug-in allocates them and the host fills them.

#include <cstddef>
#include <cstdint>

namespace host {

static_assert(sizeof(void*) == 8, "the host's records are laid out for 64-bit pointers");

// Header of the time course linked to the current volume document. The plug-in uses two fields
// and hands every other byte back exactly as the host filled it.
struct VtcHeaderRecord {
    unsigned char hostBytesAtStart[4];
    std::int32_t nrOfVolumes;
    unsigned char hostBytesBeforeName[316];
    char linkedProtocolName[524];  // NUL-terminated; the plug-in writes at most 511 characters
};
static_assert(offsetof(VtcHeaderRecord, nrOfVolumes) == 4);
static_assert(offsetof(VtcHeaderRecord, linkedProtocolName) == 324);
static_assert(sizeof(VtcHeaderRecord) == 848);

inline constexpr std::size_t kMaxLinkedProtocolNameLength = 511;
static_assert(kMaxLinkedProtocolNameLength < sizeof(VtcHeaderRecord::linkedProtocolName));

// The host's current stimulation protocol.
struct ProtocolRecord {
    std::int32_t nrOfConditions;
    char fileName[261];
    char experimentName[303];
    std::int32_t timeResolution;   // 1 = intervals in volumes, anything else = milliseconds
    std::int32_t backgroundColor;  // colours are 0xRRGGBB
    std::int32_t textColor;
    std::int32_t timeCourseColor;
    std::int32_t timeCoursePenThickness;
    std::int32_t referenceTimeCourseColor;
    std::int32_t referenceTimeCoursePenThickness;
};
static_assert(offsetof(ProtocolRecord, nrOfConditions) == 0);
static_assert(offsetof(ProtocolRecord, fileName) == 4);
static_assert(offsetof(ProtocolRecord, experimentName) == 265);
static_assert(offsetof(ProtocolRecord, timeResolution) == 568);
static_assert(offsetof(ProtocolRecord, backgroundColor) == 572);
static_assert(offsetof(ProtocolRecord, textColor) == 576);
static_assert(offsetof(ProtocolRecord, timeCourseColor) == 580);
static_assert(offsetof(ProtocolRecord, timeCoursePenThickness) == 584);
static_assert(offsetof(ProtocolRecord, referenceTimeCourseColor) == 588);
static_assert(offsetof(ProtocolRecord, referenceTimeCoursePenThickness) == 592);
static_assert(sizeof(ProtocolRecord) == 596);

// One condition of the current protocol. The interval arrays belong to the host and stay valid
// until the protocol is cleared or replaced.
struct ProtocolConditionRecord {
    char name[256];
    std::int32_t nrOfIntervals;
    unsigned char unused1[4];
    std::int32_t* intervalStarts;
    std::int32_t* intervalEnds;
    std::int32_t color;
    unsigned char unused2[4];
};
static_assert(offsetof(ProtocolConditionRecord, name) == 0);
static_assert(offsetof(ProtocolConditionRecord, nrOfIntervals) == 256);
static_assert(offsetof(ProtocolConditionRecord, intervalStarts) == 264);
static_assert(offsetof(ProtocolConditionRecord, intervalEnds) == 272);
static_assert(offsetof(ProtocolConditionRecord, color) == 280);
static_assert(sizeof(ProtocolConditionRecord) == 288);

}  // namespace host
