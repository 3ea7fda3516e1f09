#include "tests/batchrun/Transcripts.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/TestSupport.h"

namespace batchrun {

namespace {

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

}  // namespace

std::string withDir(const std::string& text, const std::string& dir) {
    return replaceAll(text, "{dir}", dir);
}

void expectTranscript(const std::string& name, const std::string& actual, const std::string& dir) {
    const std::string path = std::string(SDMWEAVER_TRANSCRIPT_DIR) + "/" + name + ".txt";
    const std::string generic = replaceAll(actual, dir, "{dir}");
    if (std::getenv("SDMWEAVER_UPDATE_TRANSCRIPTS") != nullptr) {
        testsupport::writeFile(path, generic);
    }
    EXPECT_EQ(testsupport::readFile(path), generic) << "transcript " << path;
}

}  // namespace batchrun
