#include "bids/ConfoundsFile.h"

#include <algorithm>

#include "bids/InputError.h"

namespace bids {

TsvTable readConfoundsFile(const std::string& path) {
    TsvTable table = TsvTable::read(path);
    if (table.rowCount() == 0) {
        throw InputError(path + ": the file holds a header line but no rows");
    }
    return table;
}

bool matchesWildcard(std::string_view pattern, std::string_view name) {
    // Greedy matching with one point to return to: the last '*' seen.
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starAt = std::string_view::npos;
    std::size_t starMatch = 0;
    while (n < name.size()) {
        // A '*' of the pattern stands for any run, even where the name holds a '*' itself.
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            starMatch = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            n = ++starMatch;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

std::vector<std::size_t> pickColumns(const TsvTable& table,
                                     const std::vector<std::string>& patterns) {
    std::vector<std::size_t> picked;
    std::vector<bool> taken(table.columnCount(), false);
    for (const std::string& pattern : patterns) {
        bool matched = false;
        for (std::size_t c = 0; c < table.columnCount(); ++c) {
            if (matchesWildcard(pattern, table.header()[c])) {
                matched = true;
                if (!taken[c]) {
                    taken[c] = true;
                    picked.push_back(c);
                }
            }
        }
        if (!matched) {
            throw InputError(table.path() + ": no column matches the pattern '" + pattern + "'");
        }
    }
    return picked;
}

ConfoundColumn confoundColumn(const TsvTable& table, std::size_t column, std::size_t firstRow) {
    ConfoundColumn result;
    result.name = std::string(table.header()[column]);
    const std::size_t rows = table.rowCount();
    result.values.reserve(rows > firstRow ? rows - firstRow : 0);
    bool numberSeen = false;
    for (std::size_t row = firstRow; row < rows; ++row) {
        if (table.cell(row, column) == kMissing) {
            if (numberSeen) {
                throw InputError(cellPlace(table.path(), row, result.name) +
                                 ": n/a after a number; n/a is accepted only in the first rows "
                                 "of a confound column");
            }
            ++result.leadingMissing;
            result.values.push_back(0.0);
            continue;
        }
        numberSeen = true;
        result.values.push_back(table.number(row, column));
    }
    if (!numberSeen && !result.values.empty()) {
        throw InputError(
            table.path() + ": column " + result.name + " holds n/a in every row" +
            (firstRow > 0 ? " after the " + std::to_string(firstRow) + " dropped" : std::string()));
    }
    return result;
}

}  // namespace bids
