#pragma once

// What the host tells whoever accounts for a run (the program's run report): each step the
// plug-in had the host take, as the host took it, with what it took. The host works the same
// without one.

#include <string>
#include <string_view>

#include "formats/Protocol.h"
#include "formats/TimeCourse.h"
#include "headless/DesignMatrix.h"

namespace headless {

class RunObserver {
  public:
    virtual ~RunObserver();

    // The file dialog handed the plug-in this path.
    virtual void fileChosen(const std::string& path) = 0;
    // The time course at `path` (as the plug-in named it) was linked.
    virtual void linked(const std::string& path, const formats::TimeCourseHeader& header) = 0;
    // The protocol was loaded from `path` (absolute), found at `where`.
    virtual void protocolLoaded(const std::string& path, std::string_view where,
                                const formats::Protocol& protocol) = 0;
    // The host saved its design matrix to `path` (as the plug-in named it).
    virtual void saved(const std::string& path, const DesignMatrix& matrix) = 0;
    // The host refused a step; `why` is the note it gave (it may hold line breaks).
    virtual void refused(std::string_view why) = 0;
};

}  // namespace headless
