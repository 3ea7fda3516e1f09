#include <gtest/gtest.h>

#include <stdexcept>

#include "designmatrix/DesignMatrixFile.h"

namespace {

using namespace designmatrix;

TEST(NewIntTable, GivesRowsOfTheRequestedWidth) {
    EXPECT_TRUE(newIntTable(0, 3).empty());
    const IntTable table = newIntTable(4, 3);
    ASSERT_EQ(table.size(), 4u);
    for (const auto& row : table) {
        EXPECT_EQ(row.size(), 3u);
    }
    EXPECT_EQ(newIntTable(2, 0), (IntTable{{}, {}}));
}

TEST(NewIntTable, RefusesANegativeSize) {
    EXPECT_THROW(newIntTable(-1, 3), std::length_error);
    EXPECT_THROW(newIntTable(2, -3), std::length_error);
}

}  // namespace
