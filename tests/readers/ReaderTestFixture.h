#pragma once

// A folder for the test's files and a log that records what the readers report.

#include <gtest/gtest.h>

#include <string>

#include "designmatrix/DesignMatrixFile.h"
#include "tests/support/TestSupport.h"

namespace readertest {

class ReaderTest : public ::testing::Test {
  protected:
    // Writes the bytes to a file of that name in the test's folder and answers its path.
    std::string write(const std::string& name, const std::string& bytes) const {
        const std::string path = dir_.file(name);
        testsupport::writeFile(path, bytes);
        return path;
    }
    std::string pathOf(const std::string& name) const { return dir_.file(name); }

    const std::vector<std::string>& logged() const { return log_.entries(); }
    void clearLog() { log_.clear(); }

  private:
    testsupport::TempDir dir_;
    testsupport::CapturedLog log_;
};

// Every field and every column of the two records agree, apart from the path read.
void expectSameRecord(const designmatrix::DesignMatrixFile& actual,
                      const designmatrix::DesignMatrixFile& expected);

}  // namespace readertest
