#pragma once

// The files a run reads and writes. The program's own outputs (the log, the report) must never
// replace one of them.

#include <optional>
#include <string>
#include <string_view>

#include "headless/program/FileSet.h"
#include "headless/program/ListPlan.h"

namespace headless {

// The file list, the volume document, the plug-in, every file the list names, and every design
// matrix the run will write for the list's pairs.
FileSet runFiles(const ListPlan* plan, const std::optional<std::string>& volumeDocument,
                 const std::string& plugin, bool zTransform);

// The usage error when `option` names `path`, one of `files`; empty when it names none of them.
std::string refusal(const FileSet& files, std::string_view option, const std::string& path);

}  // namespace headless
