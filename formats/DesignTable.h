#pragma once

// A design matrix read back from one of the two text layouts, the design matrix (*.sdm) and the
// reference time course (*.rtc): the predictors' names and value columns, and which predictors
// are confounds and which the constant. The one reader of those files outside the plug-in (which
// keeps its own): for the pictures, the design check, the run report and the quality report.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace formats {

enum class PredictorRole { Task, Confound, Constant };

struct DesignTable {
    std::string path;                          // as given
    std::vector<std::string> names;            // without their enclosing double quotes
    std::vector<std::vector<double>> columns;  // one per predictor, one value per volume
    std::vector<PredictorRole> roles;          // one per predictor
    int firstConfound = 0;  // the file's FirstConfoundPredictor (from 1); 1 for a time course

    std::size_t nrOfPredictors() const { return columns.size(); }
    std::size_t nrOfVolumes() const { return columns.empty() ? 0 : columns.front().size(); }
};

struct DesignTableRead {
    std::optional<DesignTable> table;
    std::string error;  // why there is no table: names the file and the place
};

// Reads a *.sdm or *.rtc file (extension in any case), in the layout the plug-in reads it in: a
// reference time course when the path holds ".rtc", else a design matrix. Every header entry,
// colour, name and value the header declares must be there; names with blanks are read whole
// inside their quotes. In a design matrix the last predictor is the constant when
// IncludesConstant is non-zero, and the predictors from FirstConfoundPredictor on are confounds;
// every predictor of a time course is a confound.
DesignTableRead readDesignTable(const std::string& path);

// The role of predictor `index` (from 0) of `count`, as the header entries give it.
PredictorRole roleOf(std::size_t index, std::size_t count, bool includesConstant,
                     int firstConfound);

}  // namespace formats
