#pragma once

// A small study on disk (volume document, time course, protocol and one confound file of each
// kind, all valid) and the sdmweaver program run over a file list in it, with what every bad
// input must leave true checked after the run.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/support/ProgramRun.h"
#include "tests/support/TestSupport.h"

namespace robustness {

inline constexpr int kVolumes = 6;

// The log on out; messages, questions and the host's notes on err.
using testsupport::ProgramResult;

// How the program is run.
struct RunOptions {
    std::vector<std::string> arguments;  // after --list and --vmr
    bool volumeDocument = true;          // --vmr anatomy.vmr
    // Without the right to pass over file permissions, as a user other than root runs it.
    bool withoutOverride = false;
};

class Study {
  public:
    Study();

    const std::filesystem::path& folder() const { return dir_.path(); }
    std::string file(const std::string& name) const { return dir_.file(name); }
    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;

    // Writes the list ("{dir}" stands for the study's folder) as list.txt, takes stock of every
    // file, and runs the program on it.
    ProgramResult run(const std::string& listText, const RunOptions& options = {});
    // The same for a list given as it stands on disk.
    ProgramResult runOnListFile(const std::string& listPath, const RunOptions& options = {});

    // Files that were there before the last run and hold other bytes or are gone now.
    std::vector<std::string> changedInputs() const;
    // Files the last run created, relative to the folder, sorted.
    std::vector<std::string> newFiles() const;

  private:
    std::map<std::string, std::string> snapshot() const;

    testsupport::TempDir dir_;
    std::map<std::string, std::string> before_;
};

// What every bad input must leave true: the program ended normally (no crash) with one of its
// statuses, said how the run went, and changed no file that was there before.
void expectSound(const Study& study, const ProgramResult& result);

// "{dir}" replaced by the folder.
std::string inFolder(const std::string& text, const std::string& folder);
bool contains(const std::string& text, const std::string& part);
// True when the program could run without the right to pass over permissions (see RunOptions).
bool canRunWithoutOverride();

// The valid files of the study.
std::string validProtocol();
std::string validMotionDesignMatrix();
std::string validHeartRateTimeCourse();
std::string validRespirationDesignMatrix();
// Bytes of no format at all, NUL and high bytes included.
std::string binaryGarbage();

}  // namespace robustness
