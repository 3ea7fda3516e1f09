#pragma once

// The state of the headless host in one process, as the workstation holds it: at most one
// volume document, one linked time course, one current protocol and one design matrix under
// construction, plus the dialog answers, the console and what the host refused.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "abi/HostRecords.h"
#include "headless/Console.h"
#include "headless/DesignMatrix.h"
#include "headless/DialogAnswers.h"
#include "headless/ProducedDesignMatrices.h"
#include "headless/formats/Protocol.h"
#include "headless/formats/TimeCourse.h"
#include "headless/formats/VolumeDocument.h"

namespace headless {

// The version the host reports unless told otherwise; it passes the plug-in's gate.
inline constexpr std::array<int, 3> kDefaultHostVersion = {3, 0, 0};

struct LinkedTimeCourse {
    std::string path;              // as the plug-in gave it
    std::filesystem::path folder;  // absolute
    TimeCourseHeader header;
    host::VtcHeaderRecord record{};  // as the host hands it out now
};

struct HostSession {
    Console console;
    DialogAnswers answers;
    std::array<int, 3> version = kDefaultHostVersion;
    std::optional<VolumeDocument> volume;
    std::optional<LinkedTimeCourse> timeCourse;
    std::optional<Protocol> protocol;
    DesignMatrix designMatrix;
    int refusedSteps = 0;
    std::vector<std::string> savedDesignMatrices;
    ProducedDesignMatrices produced;  // saved by the host and merged by the plug-in

    // Says on standard error why the host refused a step, and counts it.
    void refuse(std::string_view why);
    // Opens the current volume document. False, with `error`, when the file is refused.
    bool openVolumeDocument(const std::string& path, std::string& error);
};

// The one session of this process.
HostSession& hostSession();

// A fresh session (no documents, no answers, the default version); the console keeps where it
// writes to.
void resetHostSession();

}  // namespace headless
