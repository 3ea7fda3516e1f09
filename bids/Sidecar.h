#pragma once

// Reader of BIDS JSON sidecars: the timing of a BOLD run (RepetitionTime, StartTime) and, for a
// confound table, its components' descriptions in the sidecar's own order.

#include <optional>
#include <string>
#include <vector>

namespace bids {

struct SidecarTiming {
    std::optional<double> repetitionTime;    // seconds
    std::optional<double> startTime;         // seconds, from the volume's start to its reference
    std::optional<std::string> readingNote;  // a byte-order mark or CR LF line ends read through
};

// The sidecar's timing. InputError naming the file and the place for text that is not JSON, a
// document that is not an object, a RepetitionTime that is not a positive number or a StartTime
// that is not a number from 0.
SidecarTiming sidecarTiming(const std::string& path);
SidecarTiming parseSidecarTiming(const std::string& text, const std::string& path);

// The RepetitionTime alone; none when the sidecar has none.
std::optional<double> sidecarRepetitionTime(const std::string& path);
std::optional<double> parseSidecarRepetitionTime(const std::string& text, const std::string& path);

// One entry of a confound table's sidecar: the column it describes and what it says of it.
struct ComponentEntry {
    std::string column;
    std::optional<std::string> method;  // "aCompCor", "tCompCor", ...
    std::optional<std::string> mask;    // "combined", "CSF", "WM", ...
    bool retained = true;               // false when marked "Retained": false
};

// The entries in the file's order. InputError as for sidecarTiming.
std::vector<ComponentEntry> confoundComponents(const std::string& path,
                                               std::optional<std::string>& readingNote);

}  // namespace bids
