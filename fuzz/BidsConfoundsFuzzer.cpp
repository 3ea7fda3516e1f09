// Any bytes as an fMRIPrep confound table: either a table whose every column reads as one finite
// value per row, n/a only in its first rows, or is refused naming the file; or one refusal of the
// whole table that names the file.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "bids/ConfoundsFile.h"
#include "bids/InputError.h"
#include "bids/TsvTable.h"
#include "fuzz/FuzzSupport.h"

namespace {

constexpr char kPath[] = "sub-01_task-x_desc-confounds_timeseries.tsv";

bool namesTheFile(const bids::InputError& error) {
    return std::string(error.what()).starts_with(kPath);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    bids::TsvTable table;
    try {
        table =
            bids::TsvTable::parse(kPath, std::string(reinterpret_cast<const char*>(data), size));
    } catch (const bids::InputError& error) {
        FUZZ_CHECK(namesTheFile(error), "a refusal of the table names no file");
        return 0;
    }
    FUZZ_CHECK(table.columnCount() > 0, "a table without columns is read");
    const std::size_t rows = table.rowCount();
    for (std::size_t column = 0; column < table.columnCount(); ++column) {
        // From the first row, and from the second as after a dummy volume.
        for (std::size_t firstRow : {std::size_t{0}, std::size_t{1}}) {
            if (firstRow > rows) {
                continue;
            }
            try {
                const bids::ConfoundColumn picked = bids::confoundColumn(table, column, firstRow);
                FUZZ_CHECK(picked.values.size() == rows - firstRow, "rows are lost or added");
                FUZZ_CHECK(picked.leadingMissing < picked.values.size() || picked.values.empty(),
                           "a column of n/a alone is read");
                for (std::size_t row = 0; row < picked.values.size(); ++row) {
                    FUZZ_CHECK(std::isfinite(picked.values[row]), "a value is not finite");
                    if (row < picked.leadingMissing) {
                        FUZZ_CHECK(picked.values[row] == 0.0, "n/a does not become 0");
                    }
                }
            } catch (const bids::InputError& error) {
                FUZZ_CHECK(namesTheFile(error), "a column's refusal names no file");
            }
        }
    }
    try {
        const auto picked = bids::pickColumns(table, {"*", "trans_?", "rot_*"});
        FUZZ_CHECK(picked.size() == table.columnCount(), "'*' does not pick every column once");
    } catch (const bids::InputError& error) {
        FUZZ_CHECK(namesTheFile(error), "a pattern's refusal names no file");
    }
    return 0;
}
