#pragma once

// The design matrices a run produced, in the order they appeared: those the host saved itself,
// and the merged ones the plug-in wrote, which the host learns from the log line that names each
// ("New filename: %s").

#include <string>
#include <string_view>
#include <vector>

namespace headless {

class ProducedDesignMatrices {
  public:
    // The host saved a design matrix to `path`.
    void noteSaved(const std::string& path);
    // One log entry as the plug-in logged it. "New filename: PATH" adds PATH; when the next entry
    // says the file could not be opened for writing, PATH is taken back (any file of that name
    // is not this run's).
    void noteLogText(std::string_view text);

    // Each path once, in the order first produced; paths as the plug-in gave them.
    const std::vector<std::string>& paths() const { return paths_; }
    void clear();

  private:
    // Adds path unless it is already there; answers whether it was added.
    bool add(const std::string& path);

    std::vector<std::string> paths_;
    bool lastAddedByLog_ = false;  // the previous log entry added the last path
};

}  // namespace headless
