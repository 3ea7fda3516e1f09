#include "headless/ProducedDesignMatrices.h"

#include <algorithm>
#include <filesystem>

namespace headless {

namespace {

constexpr std::string_view kMergedLine = "New filename: ";
constexpr std::string_view kNotWritten = "Unable to open a file for writing.";

std::string normal(const std::string& path) {
    return std::filesystem::path(path).lexically_normal().string();
}

}  // namespace

bool ProducedDesignMatrices::add(const std::string& path) {
    const std::string key = normal(path);
    const bool known = std::any_of(paths_.begin(), paths_.end(),
                                   [&](const std::string& seen) { return normal(seen) == key; });
    if (!known) {
        paths_.push_back(path);
    }
    return !known;
}

void ProducedDesignMatrices::noteSaved(const std::string& path) {
    add(path);
    lastAddedByLog_ = false;
}

void ProducedDesignMatrices::noteLogText(std::string_view text) {
    if (lastAddedByLog_ && text == kNotWritten) {
        paths_.pop_back();
    }
    lastAddedByLog_ = false;
    if (text.starts_with(kMergedLine) && text.size() > kMergedLine.size()) {
        lastAddedByLog_ = add(std::string(text.substr(kMergedLine.size())));
    }
}

void ProducedDesignMatrices::clear() {
    paths_.clear();
    lastAddedByLog_ = false;
}

}  // namespace headless
