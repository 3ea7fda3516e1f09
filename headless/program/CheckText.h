#pragma once

// The pre-flight check as the user reads it: grouped by pair on standard output, and one row per
// finding as tab-separated values.

#include <ostream>
#include <string>

#include "headless/program/PreflightCheck.h"
#include "headless/program/TsvFile.h"

namespace headless {

// The whole report: the list's findings, each pair with its findings, the entries that take no
// part, and a closing count.
void printCheck(const CheckResult& result, std::ostream& out);

// Writes every finding as a row: pair, list entry, file, result (ok, warning, fail), finding.
// False when the file could not be written.
bool writeCheckTsv(const CheckResult& result, const std::string& path);

}  // namespace headless
