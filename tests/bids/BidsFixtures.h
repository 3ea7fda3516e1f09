#pragma once

// Where the real BIDS files are, for the tests that read them: they skip when the folder is
// absent.

#include <filesystem>
#include <string>

namespace bidstest {

// The folder of the real BIDS files (../shared/fixtures/bids from the repository).
inline std::filesystem::path fixtureFolder() {
    return SDMWEAVER_BIDS_FIXTURES;
}

inline bool haveFixtures() {
    std::error_code code;
    return std::filesystem::is_directory(fixtureFolder(), code);
}

inline std::string fixture(const std::string& relative) {
    return (fixtureFolder() / relative).generic_string();
}

}  // namespace bidstest

// Skips the test, saying why, when the real files are not there.
#define SKIP_WITHOUT_BIDS_FIXTURES()                                                      \
    if (!bidstest::haveFixtures()) {                                                      \
        GTEST_SKIP() << "no real BIDS files in " << bidstest::fixtureFolder().string()    \
                     << " (../shared/fixtures/bids beside the repository); test skipped"; \
    }
