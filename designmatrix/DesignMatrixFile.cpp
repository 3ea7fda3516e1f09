#include "designmatrix/DesignMatrixFile.h"

#include <stdexcept>

namespace designmatrix {

IntTable newIntTable(std::int32_t rows, std::int32_t columns) {
    if (rows < 0 || columns < 0) {
        throw std::length_error("a table cannot have a negative size");
    }
    return IntTable(static_cast<std::size_t>(rows),
                    std::vector<std::int32_t>(static_cast<std::size_t>(columns)));
}

void release(DesignMatrixFilePtr record) {
    // The record owns its columns, colour table and names through its containers; letting the
    // pointer go frees them together with the record.
    record.reset();
}

}  // namespace designmatrix
