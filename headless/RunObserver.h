#pragma once

// What the host tells whoever accounts for a run (the program's run report): each step the
// plug-in had the host take, as the host took it. The host works the same without one.

#include <string>
#include <string_view>

namespace headless {

class RunObserver {
  public:
    virtual ~RunObserver();

    // The file dialog handed the plug-in this path.
    virtual void fileChosen(const std::string& path) = 0;
    // One log entry, exactly as the plug-in logged it.
    virtual void logged(std::string_view text) = 0;
    // The time course at `path` (as the plug-in named it) was linked; it has `volumes` volumes.
    virtual void linked(const std::string& path, int volumes) = 0;
    // The protocol named `name` was loaded from `path` (absolute), found at `where`.
    virtual void protocolLoaded(const std::string& name, const std::string& path,
                                std::string_view where) = 0;
    // The host saved its design matrix to `path` (as the plug-in named it).
    virtual void saved(const std::string& path) = 0;
    // The host refused a step; `why` is the note it gave (it may hold line breaks).
    virtual void refused(std::string_view why) = 0;
};

}  // namespace headless
