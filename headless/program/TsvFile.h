#pragma once

// A report as tab-separated values: a header row, then one row per item, every field on one
// line (a tab or a line break inside a field becomes a blank), line ends '\n' on every platform.

#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace headless {

class TsvFile {
  public:
    // Creates or empties the file and writes the header row; ok() tells whether it could.
    TsvFile(const std::string& path, const std::vector<std::string_view>& header);

    // One row of fields.
    void row(const std::vector<std::string_view>& fields);
    void row(const std::vector<std::string>& fields);
    // True while every row so far was written; after close(), also the closing.
    bool ok() const { return static_cast<bool>(out_); }
    // Closes the file; answers ok().
    bool close();

  private:
    std::ofstream out_;
};

}  // namespace headless
