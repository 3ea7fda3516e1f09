#include "bids/TsvTable.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <unordered_set>

#include "bids/InputError.h"
#include "paths/RegularFile.h"

namespace bids {

namespace {

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

// The place of line `lineIndex` (from 0) as a message names it.
std::string linePlace(const std::string& path, std::size_t lineIndex) {
    return lineIndex == 0 ? path + ": line 1 (the header)" : rowPlace(path, lineIndex - 1);
}

void splitCells(std::string_view line, std::vector<std::string_view>& cells) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        cells.push_back(trimBlanks(line.substr(start, tab - start)));
        if (tab == std::string_view::npos) {
            return;
        }
        start = tab + 1;
    }
}

}  // namespace

std::optional<double> parseNumber(std::string_view text) {
    if (text.starts_with('+')) {
        text.remove_prefix(1);
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string readWholeFile(const std::string& path) {
    if (paths::isIrregularFile(path)) {
        throw InputError(paths::irregularFileText(path));
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw InputError("cannot open " + path);
    }
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        throw InputError("cannot read " + path);
    }
    return bytes;
}

std::optional<std::string> readingNoteOf(const std::string& path, bool byteOrderMark, bool crLf) {
    if (!byteOrderMark && !crLf) {
        return std::nullopt;
    }
    return path + ": read " +
           (byteOrderMark && crLf ? "past a UTF-8 byte-order mark and with CR LF line ends"
            : byteOrderMark       ? "past a UTF-8 byte-order mark"
                                  : "with CR LF line ends");
}

std::optional<std::size_t> TsvTable::column(std::string_view name) const {
    const auto found = std::find(header_.begin(), header_.end(), name);
    if (found == header_.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - header_.begin());
}

double TsvTable::number(std::size_t row, std::size_t column) const {
    const std::string_view text = cell(row, column);
    const std::optional<double> value = parseNumber(text);
    if (!value) {
        throw InputError(cellPlace(path_, row, header_[column]) + ": '" + std::string(text) +
                         "' is not a number");
    }
    return *value;
}

std::optional<double> TsvTable::optionalNumber(std::size_t row, std::size_t column) const {
    if (cell(row, column) == kMissing) {
        return std::nullopt;
    }
    return number(row, column);
}

TsvTable TsvTable::parse(std::string path, std::string text) {
    TsvTable table;
    table.path_ = std::move(path);
    table.text_ = std::make_shared<const std::string>(std::move(text));
    std::string_view rest = *table.text_;
    // Files saved on Windows and by spreadsheets: a byte-order mark and CR LF line ends are read
    // through; a CR anywhere else stays an error.
    const bool byteOrderMark = rest.starts_with("\xEF\xBB\xBF");
    if (byteOrderMark) {
        rest.remove_prefix(3);
    }
    bool crLf = false;
    while (!rest.empty() && rest.back() == '\n') {
        rest.remove_suffix(1);  // empty lines at the end
        if (rest.ends_with('\r')) {
            rest.remove_suffix(1);
            crLf = true;
        }
    }
    if (rest.find_first_not_of(" \t\n") == std::string_view::npos) {
        throw InputError(table.path_ +
                         ": the file is empty; a table begins with a header line of column "
                         "names");
    }
    std::vector<std::string_view> row;
    for (std::size_t lineIndex = 0; !rest.empty() || lineIndex == 0; ++lineIndex) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (end != std::string_view::npos && line.ends_with('\r')) {
            line.remove_suffix(1);
            crLf = true;
        }
        if (line.find('\r') != std::string_view::npos) {
            throw InputError(linePlace(table.path_, lineIndex) +
                             " holds a CR that does not end the line; tables end their lines "
                             "with LF or CR LF");
        }
        row.clear();
        splitCells(line, row);
        if (lineIndex == 0) {
            std::unordered_set<std::string_view> seen;
            for (std::size_t c = 0; c < row.size(); ++c) {
                if (row[c].empty()) {
                    throw InputError(table.path_ + ": line 1 (the header): column " +
                                     std::to_string(c + 1) + " has no name");
                }
                if (!seen.insert(row[c]).second) {
                    throw InputError(table.path_ + ": line 1 (the header): the column name " +
                                     std::string(row[c]) + " appears twice");
                }
            }
            table.header_ = row;
            continue;
        }
        if (row.size() != table.header_.size()) {
            throw InputError(linePlace(table.path_, lineIndex) + " has " +
                             std::to_string(row.size()) + " cells; the header has " +
                             std::to_string(table.header_.size()) + " columns");
        }
        table.cells_.insert(table.cells_.end(), row.begin(), row.end());
    }
    table.readingNote_ = readingNoteOf(table.path_, byteOrderMark, crLf);
    return table;
}

TsvTable TsvTable::read(const std::string& path) {
    return parse(path, readWholeFile(path));
}

}  // namespace bids
