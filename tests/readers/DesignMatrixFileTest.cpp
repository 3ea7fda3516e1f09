#include <gtest/gtest.h>

#include <stdexcept>

#include "designmatrix/ConfoundReaders.h"
#include "designmatrix/DesignMatrixFile.h"
#include "tests/readers/ConfoundFileSamples.h"
#include "tests/support/TestSupport.h"

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

TEST(Release, FreesRecordsInEveryStateTheReadersLeave) {
    testsupport::TempDir dir;
    const testsupport::CapturedLog log;
    const std::string whole = dir.file("whole_HR.sdm");
    const std::string cut = dir.file("cut_HR.sdm");
    const auto& reader = readertest::allReaders().back();
    const readertest::SampleFile file = readertest::completeFile(reader);
    testsupport::writeFile(whole, file.text());
    testsupport::writeFile(cut, file.prefix(file.entries().size() - 1) + std::string(100, ' '));

    release(reader.read(whole.c_str()));
    release(reader.read(cut.c_str()));
    release(readMotionEstimatesSdm(dir.file("missing").c_str()));
    release(nullptr);
    SUCCEED() << "the leak check of the sanitizer build finds nothing left";
}

}  // namespace
