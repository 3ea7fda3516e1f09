#pragma once

// The sdmweaver command line: what the host answers to the plug-in's dialogs and which
// documents it holds.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "headless/DialogAnswers.h"
#include "headless/program/OptionTable.h"
#include "response/ResponseFunction.h"

namespace headless {

inline constexpr float kMinimumPredictorValue = -100.0f;
inline constexpr float kMaximumPredictorValue = 100.0f;

struct Options {
    bool help = false;
    bool version = false;
    std::optional<std::string> list;  // the file dialog's answer; none: the dialog is cancelled
    std::optional<std::string> vmr;   // the current volume document; none: there is none
    response::ResponseFunction hrf = response::ResponseFunction::TwoGamma;
    NumberAnswer value{false, 1.0f};
    bool skipFirst = false;
    bool zTransform = false;
    bool strict = false;  // a pair with a warning fails
    std::optional<std::string> log;
    std::optional<std::string> plugin;
    std::optional<std::array<int, 3>> hostVersion;
    std::optional<std::string> plot;    // the folder for pictures of the design matrices produced
    std::optional<std::string> report;  // the run report (or the check) as TSV
    std::optional<std::string> qc;      // the folder for the study's quality report
};

struct CommandLine {
    Options options;
    std::string error;  // a usage error; empty when the arguments are fine
};

// The run's options, setting `options`; the check takes the same.
CommandSpec runCommandLine(Options& options);

// Reads the arguments after the program name.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The dialog answers the options give, in the order the plug-in asks: response function
// (yes/no), predictor value, skip first condition (yes/no), z-transform (yes/no), file list.
void addDialogAnswers(const Options& options, DialogAnswers& answers);

}  // namespace headless
