#include "bids/InputError.h"

namespace bids {

std::string rowPlace(std::string_view file, std::size_t rowIndex) {
    return std::string(file) + ": row " + std::to_string(rowIndex + 1) + " (line " +
           std::to_string(rowIndex + 2) + ")";
}

std::string cellPlace(std::string_view file, std::size_t rowIndex, std::string_view column) {
    return rowPlace(file, rowIndex) + ", column " + std::string(column);
}

}  // namespace bids
