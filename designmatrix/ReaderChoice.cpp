#include "designmatrix/ReaderChoice.h"

namespace designmatrix {

ConfoundLayout confoundLayoutOf(std::string_view path) {
    return path.find(".rtc") != std::string_view::npos ? ConfoundLayout::TimeCourse
                                                       : ConfoundLayout::DesignMatrix;
}

}  // namespace designmatrix
