#pragma once

// A tab-separated table as BIDS and fMRIPrep write them: UTF-8 text (a byte-order mark read
// through), LF or CR LF line ends, a header line of column names and one line per row, "n/a" for a
// missing value. The events and the confounds readers build on it; it knows nothing of either.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bids {

inline constexpr std::string_view kMissing = "n/a";

class TsvTable {
  public:
    const std::string& path() const { return path_; }
    const std::vector<std::string_view>& header() const { return header_; }
    std::size_t columnCount() const { return header_.size(); }
    std::size_t rowCount() const { return header_.empty() ? 0 : cells_.size() / header_.size(); }

    // The cell, blanks around it removed; row and column count from 0.
    std::string_view cell(std::size_t row, std::size_t column) const {
        return cells_[row * header_.size() + column];
    }
    // The column of that name; none when the header has no such column.
    std::optional<std::size_t> column(std::string_view name) const;

    // The cell as a finite number; an InputError naming file, row and column when it is not one
    // (n/a included).
    double number(std::size_t row, std::size_t column) const;
    // The same, with none for n/a.
    std::optional<double> optionalNumber(std::size_t row, std::size_t column) const;

    // The note that the file was read past a byte-order mark or with CR LF line ends; none when
    // neither.
    const std::optional<std::string>& readingNote() const { return readingNote_; }

    // Parses `text` as the contents of the file `path`. InputError, naming the file and the
    // line, for an empty file, a CR that does not end a line, a header with an empty or
    // repeated name, or a row whose cells do not match the header. Empty lines at the end are
    // ignored.
    static TsvTable parse(std::string path, std::string text);
    // Reads and parses the file; InputError when it cannot be read.
    static TsvTable read(const std::string& path);

  private:
    std::string path_;
    std::shared_ptr<const std::string> text_;  // the cells point into it
    std::vector<std::string_view> header_;
    std::vector<std::string_view> cells_;  // row after row
    std::optional<std::string> readingNote_;
};

// A finite number in the text's whole length, '.' as the decimal point whatever the locale;
// none otherwise.
std::optional<double> parseNumber(std::string_view text);

// The note for a text file read past a UTF-8 byte-order mark or with CR LF line ends; none for
// neither.
std::optional<std::string> readingNoteOf(const std::string& path, bool byteOrderMark, bool crLf);

// Reads a whole file as bytes; InputError naming it when it cannot be read.
std::string readWholeFile(const std::string& path);

}  // namespace bids
