#pragma once

// Expected log transcripts, kept as files under tests/batchrun/transcripts/ so that a reader can
// see what a run prints. The test's temporary folder stands in them as "{dir}".

#include <string>

namespace batchrun {

// text with every "{dir}" replaced by dir.
std::string withDir(const std::string& text, const std::string& dir);

// Expects actual, with dir written as "{dir}", to equal transcripts/<name>.txt. With the
// environment variable SDMWEAVER_UPDATE_TRANSCRIPTS set, writes the file first.
void expectTranscript(const std::string& name, const std::string& actual, const std::string& dir);

}  // namespace batchrun
