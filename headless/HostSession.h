#pragma once

// The state of the headless host in one process, as the workstation holds it: at most one
// volume document, one linked time course, one current protocol and one design matrix under
// construction, plus the dialog answers, the console and what the host refused.

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "abi/HostRecords.h"
#include "formats/Protocol.h"
#include "formats/TimeCourse.h"
#include "formats/VolumeDocument.h"
#include "headless/Console.h"
#include "headless/DesignMatrix.h"
#include "headless/DialogAnswers.h"
#include "headless/RunObserver.h"
#include "headless/TimeCourseLock.h"

namespace headless {

// The version the host reports unless told otherwise; it passes the plug-in's gate.
inline constexpr std::array<int, 3> kDefaultHostVersion = {3, 0, 0};

struct LinkedTimeCourse {
    std::string path;              // as the plug-in gave it
    std::filesystem::path folder;  // absolute
    formats::TimeCourseHeader header;
    host::VtcHeaderRecord record{};  // as the host hands it out now
    // Held from the link until the next link or the end of the run.
    std::unique_ptr<TimeCourseLock> lock;
};

struct HostSession {
    Console console;
    DialogAnswers answers;
    std::array<int, 3> version = kDefaultHostVersion;
    std::optional<formats::VolumeDocument> volume;
    std::optional<LinkedTimeCourse> timeCourse;
    std::optional<formats::Protocol> protocol;
    DesignMatrix designMatrix;
    int refusedSteps = 0;
    int savedDesignMatrices = 0;      // how many the host saved (the paths: the run report)
    RunObserver* observer = nullptr;  // told every step of the run; none: nobody is told

    // The observer's step, when there is one: observe([&](RunObserver& o) { o.saved(path); }).
    template <typename Step>
    void observe(Step step) {
        if (observer != nullptr) {
            step(*observer);
        }
    }

    // Says on standard error why the host refused a step, and counts it.
    void refuse(std::string_view why);
    // Opens the current volume document. False, with `error`, when the file is refused.
    bool openVolumeDocument(const std::string& path, std::string& error);
};

// The one session of this process.
HostSession& hostSession();

// A fresh session (no documents, no answers, the default version, no observer); the console
// keeps where it writes to.
void resetHostSession();

}  // namespace headless
