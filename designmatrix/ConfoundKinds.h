#pragma once

// The three confound kinds, one row each: how a list entry is known to be one, how the merged
// design matrix's name says it holds one, how its file is read and how its columns are written.
// A new kind is one row here.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "designmatrix/DesignMatrixFile.h"

namespace designmatrix {

// In merge order: the merged design matrix holds the kinds' columns in this order.
enum class ConfoundKind : std::size_t { Motion = 0, HeartRate = 1, Respiration = 2 };
inline constexpr std::size_t kConfoundKinds = 3;

enum class ValueFormat {
    Default,      // the stream's general notation, six significant digits
    SixDecimals,  // "%4.6lf"
};

struct ConfoundKindRow {
    int listKind;              // the file-list kind code of an entry of this kind
    std::int32_t recordKind;   // DesignMatrixFile::kind of its record
    std::string_view mark;     // the fragment of a list entry that makes it this kind
    std::string_view suffix;   // in the merged design matrix's name
    std::string_view zSuffix;  // ... when the record was z-transformed
    std::string_view role;     // how messages name the kind
    // Read a file of the kind (given as recordKind) in either layout.
    DesignMatrixFilePtr (*readTimeCourseLayout)(const char* path, std::int32_t kind);
    DesignMatrixFilePtr (*readDesignMatrixLayout)(const char* path, std::int32_t kind);
    ValueFormat format;  // of its values in the merged design matrix
    // The names its columns take in the merged design matrix; empty: the file's own.
    std::span<const char* const> fixedNames;
};

const ConfoundKindRow& confoundKind(ConfoundKind kind);
// The rows in merge order.
const std::array<ConfoundKindRow, kConfoundKinds>& confoundKinds();
// The kind whose list code is `listKind`; none for any other code.
std::optional<ConfoundKind> confoundKindOfList(int listKind);

// Reads the confound file with the reader its path calls for (the reference time-course layout
// when the path holds ".rtc"); the record remembers the path.
DesignMatrixFilePtr readConfound(ConfoundKind kind, const char* path);

// Which kinds a merge holds and whether each was z-transformed; none: not merged.
using MergedKinds = std::array<std::optional<bool>, kConfoundKinds>;

// The merged design matrix's name: `base` with one suffix per kind it holds, in merge order, in
// front of the extension.
std::string mergedDesignMatrixName(const std::string& base, const MergedKinds& kinds);

}  // namespace designmatrix
