#pragma once

// How log lines name a loaded confound record.

#include <string>

#include "designmatrix/DesignMatrixFile.h"

namespace designmatrix {

// The file the record was read from; for a record made in memory, a description of its kind.
std::string describeRecord(const DesignMatrixFile& record);

}  // namespace designmatrix
