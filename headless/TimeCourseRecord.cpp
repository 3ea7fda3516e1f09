#include "headless/TimeCourseRecord.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace headless {

namespace {

// The host's own fields in the bytes before the protocol name (after the number of volumes).
struct HostTimeCourseFields {
    std::int32_t dataType;
    std::int32_t resolution;
    std::int32_t box[6];  // XStart, XEnd, YStart, YEnd, ZStart, ZEnd
    std::int32_t leftRightConvention;
    std::int32_t referenceSpace;
    std::int32_t nrOfLinkedProtocols;
    std::int32_t currentProtocolIndex;
    float repetitionTimeMs;
    char sourceRunName[264];  // NUL-terminated, cut to fit
};
static_assert(sizeof(HostTimeCourseFields) == sizeof(host::VtcHeaderRecord::hostBytesBeforeName));

constexpr std::size_t kNameOffset = offsetof(host::VtcHeaderRecord, linkedProtocolName);
constexpr std::size_t kNameField = sizeof(host::VtcHeaderRecord::linkedProtocolName);

}  // namespace

bool fillVtcHeaderRecord(const formats::TimeCourseHeader& header, std::string_view protocolName,
                         host::VtcHeaderRecord& record) {
    std::memset(&record, 0, sizeof record);
    const std::int32_t version = header.fileVersion;
    std::memcpy(record.hostBytesAtStart, &version, sizeof version);
    record.nrOfVolumes = header.nrOfVolumes;

    HostTimeCourseFields fields{};
    fields.dataType = header.dataType;
    fields.resolution = header.resolution;
    const std::int16_t box[6] = {header.xStart, header.xEnd,   header.yStart,
                                 header.yEnd,   header.zStart, header.zEnd};
    std::copy(std::begin(box), std::end(box), std::begin(fields.box));
    fields.leftRightConvention = header.leftRightConvention;
    fields.referenceSpace = header.referenceSpace;
    fields.nrOfLinkedProtocols = static_cast<std::int32_t>(header.protocolNames.size());
    fields.currentProtocolIndex = header.currentProtocolIndex;
    fields.repetitionTimeMs = header.repetitionTimeMs;
    const std::size_t runName =
        std::min(header.sourceRunName.size(), sizeof fields.sourceRunName - 1);
    std::memcpy(fields.sourceRunName, header.sourceRunName.data(), runName);
    std::memcpy(record.hostBytesBeforeName, &fields, sizeof fields);

    const std::size_t length = std::min(protocolName.size(), host::kMaxLinkedProtocolNameLength);
    std::memcpy(record.linkedProtocolName, protocolName.data(), length);
    return length < protocolName.size();
}

bool protocolNameHandedBack(const host::VtcHeaderRecord& handedOut,
                            const host::VtcHeaderRecord& handedBack, std::string& name,
                            std::string& error) {
    const auto* out = reinterpret_cast<const unsigned char*>(&handedOut);
    const auto* back = reinterpret_cast<const unsigned char*>(&handedBack);
    if (std::memcmp(out, back, kNameOffset) != 0) {
        error = "the header record came back with bytes changed that are not the protocol name";
        return false;
    }
    const char* field = handedBack.linkedProtocolName;
    const char* end = static_cast<const char*>(std::memchr(field, '\0', kNameField));
    if (end == nullptr) {
        error = "the header record came back with a protocol name that has no terminating NUL";
        return false;
    }
    for (std::size_t i = kNameOffset + static_cast<std::size_t>(end - field) + 1;
         i < sizeof handedBack; ++i) {
        if (back[i] != out[i] && back[i] != 0) {
            error = "the header record came back with bytes changed after the protocol name";
            return false;
        }
    }
    name.assign(field, end);
    return true;
}

}  // namespace headless
