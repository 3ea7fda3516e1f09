#include "headless/program/TsvFile.h"

namespace headless {

TsvFile::TsvFile(const std::string& path, const std::vector<std::string_view>& header)
    : file_(path, paths::WholeFile::Mode::Binary) {
    row(header);
}

void TsvFile::row(const std::vector<std::string_view>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            line += '\t';
        }
        for (char c : fields[i]) {
            line += c == '\t' || c == '\n' || c == '\r' ? ' ' : c;
        }
    }
    line += '\n';
    file_.stream() << line;
}

void TsvFile::row(const std::vector<std::string>& fields) {
    row(std::vector<std::string_view>(fields.begin(), fields.end()));
}

bool TsvFile::close() {
    const bool written = ok();
    if (!written) {
        file_.discard();
        return false;
    }
    failed_ = !file_.commit();
    return !failed_;
}

}  // namespace headless
