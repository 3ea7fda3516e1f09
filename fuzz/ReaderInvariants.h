#pragma once

// What every confound reader guarantees for any file: a record that is readOk holds exactly the
// columns, colours and names its counts promise, with finite values; a record that is not readOk
// comes with the reader's failure message in the log. The file itself is never changed.

#include <cstddef>
#include <cstdint>
#include <functional>

#include "designmatrix/DesignMatrixFile.h"

namespace fuzzsupport {

enum class ReaderRole { Motion, Predictors };

// Writes the input to a file named with `suffix`, reads it with `read`, and checks the record,
// the log and that the file is unchanged.
void checkReader(const std::uint8_t* data, std::size_t size, const char* suffix, ReaderRole role,
                 std::int32_t kind,
                 const std::function<designmatrix::DesignMatrixFilePtr(const char*)>& read);

}  // namespace fuzzsupport
