#pragma once

// The files a run reads and writes. The program's own outputs (the log, the report) must never
// replace one of them.

#include <optional>
#include <string>
#include <string_view>

#include "headless/program/FileIdentity.h"
#include "headless/program/PreflightCheck.h"

namespace headless {

// What `path` is among the files a run reads and writes (the file list, the volume document, the
// plug-in, every file the list names, every design matrix the run will write for the list's
// pairs); none when it is none of them. One pass over the list, nothing kept.
std::optional<std::string> runFileAt(const std::string& path, const ListRun* list,
                                     const std::optional<std::string>& volumeDocument,
                                     const std::string& plugin);

// The usage error when `option` names one of the run's files at `path`; empty when it names
// none of them.
std::string refusal(std::string_view option, const std::string& path, const ListRun* list,
                    const std::optional<std::string>& volumeDocument, const std::string& plugin);

}  // namespace headless
