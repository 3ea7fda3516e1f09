#pragma once

// Reader of fMRIPrep confound tables (*_desc-confounds_timeseries.tsv and the older names): one
// row per volume of the BOLD run, non-steady-state volumes included, "n/a" where a value is not
// defined (the first row of derivatives, framewise displacement, standardised DVARS).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "bids/TsvTable.h"

namespace bids {

struct ConfoundColumn {
    std::string name;
    std::vector<double> values;      // the rows kept, n/a as 0
    std::size_t leadingMissing = 0;  // how many of them were n/a (all at the start)
};

// Reads the table; InputError as TsvTable gives it, and for a table without rows.
TsvTable readConfoundsFile(const std::string& path);

// True when `name` matches `pattern` in which '*' stands for any run of characters and '?' for
// one character; everything else is compared exactly.
bool matchesWildcard(std::string_view pattern, std::string_view name);

// The columns that the patterns pick, pattern after pattern in the order given and, for one
// pattern, in the table's order; a column picked before is not picked again. InputError naming
// the file and the pattern when one matches no column.
std::vector<std::size_t> pickColumns(const TsvTable& table,
                                     const std::vector<std::string>& patterns);

// The column's values from row `firstRow` on. n/a is allowed in the first rows kept alone and
// becomes 0; n/a after a number, a column of n/a alone, or a cell that is not a number, is an
// InputError naming file, row and column.
ConfoundColumn confoundColumn(const TsvTable& table, std::size_t column, std::size_t firstRow);

}  // namespace bids
