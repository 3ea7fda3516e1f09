#pragma once

// A report as tab-separated values: a header row, then one row per item, every field on one
// line (a tab or a line break inside a field becomes a blank), line ends '\n' on every platform.
// Written whole: the file appears under its name at close(), never in part.

#include <string>
#include <string_view>
#include <vector>

#include "paths/WholeFile.h"

namespace headless {

class TsvFile {
  public:
    // Begins the file and writes the header row; ok() tells whether it could.
    TsvFile(const std::string& path, const std::vector<std::string_view>& header);

    // One row of fields.
    void row(const std::vector<std::string_view>& fields);
    void row(const std::vector<std::string>& fields);
    // True while every row so far was written; after close(), also the closing.
    bool ok() const { return file_.good() && !failed_; }
    // Puts the file under its name; true when all of it is there.
    bool close();

  private:
    paths::WholeFile file_;
    bool failed_ = false;
};

}  // namespace headless
