#pragma once

// Which text layout a confound file is read in, chosen by its path alone.

#include <string_view>

namespace designmatrix {

enum class ConfoundLayout { DesignMatrix, TimeCourse };

// TimeCourse when the path contains ".rtc" anywhere (case-sensitive, folders included), else
// DesignMatrix.
ConfoundLayout confoundLayoutOf(std::string_view path);

}  // namespace designmatrix
