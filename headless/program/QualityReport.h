#pragma once

// The study's quality report as the program writes it: from the design matrices a run, a check
// or a BIDS command made (or would make), the page DIR/index.html, the figures DIR/qc.tsv and
// DIR/qc.json, and the pictures in DIR/pictures/.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "formats/DesignTable.h"
#include "formats/Protocol.h"
#include "plot/PlotRun.h"
#include "plot/StudyQuality.h"

namespace headless {

// One run of the report and where its figures come from.
struct QualitySource {
    std::string name;                            // how the report names it
    std::optional<std::string> designPath;       // its design matrix, read from this file ...
    std::optional<formats::DesignTable> design;  // ... or made in memory
    std::string error;                           // why it has neither
    std::optional<std::string> motionPath;       // its motion file, for the displacement ...
    std::optional<formats::DesignTable> motion;  // ... or its motion estimates in memory
    std::optional<double> repetitionTimeMs;
    std::optional<std::size_t> eventsPastEnd;
    plot::PairResult result = plot::PairResult::None;
    std::vector<std::string> resultReasons;
};

struct QualityWritten {
    std::size_t runs = 0;
    std::size_t standingOut = 0;
    std::size_t unreadable = 0;  // design matrix files that could not be read
    std::string error;           // why the report is not (wholly) written; empty when it is
};

// Reads, computes, judges and writes the report into `folder` (made when missing). Each file is
// written whole; a picture that cannot be drawn leaves its run without one.
QualityWritten writeQualityReport(const std::vector<QualitySource>& sources,
                                  const std::string& folder);

// How many events of the protocol begin after the last of `volumes` volumes of `repetitionTimeMs`.
std::size_t eventsPastEnd(const formats::Protocol& protocol, int volumes, double repetitionTimeMs);

// Says what writeQualityReport came to ("sdmweaver: "); answers whether it was written.
bool sayQualityWritten(const QualityWritten& written, const std::string& folder,
                       const plot::Say& say);

}  // namespace headless
