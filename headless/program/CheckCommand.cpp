#include "headless/program/Commands.h"

#include <iostream>

#include "formats/VolumeDocument.h"
#include "headless/program/CheckText.h"
#include "headless/program/CommandLine.h"
#include "headless/program/ExitStatus.h"
#include "headless/program/InputFiles.h"
#include "headless/program/PluginLibrary.h"
#include "headless/program/PreflightCheck.h"
#include "headless/program/QualityCommand.h"
#include "headless/program/RunFiles.h"

namespace headless {

namespace {

// The run's options, so that "check" can go in front of the same command line.
CommandSpec checkCommandLine(Options& options) {
    CommandSpec command = runCommandLine(options);
    command.name = "check";
    command.synopsis =
        "sdmweaver check --list FILE --vmr FILE [--skip-first] [--z-transform] [--strict]\n"
        "          [--report FILE] [--qc DIR] [the run's other options]";
    command.summary =
        "checks the list before a run, without the plug-in and without writing a file: per "
        "pair the time course (volumes, TR), the protocol the host will really use, each "
        "confound file (read as the plug-in reads it; data points against volumes), the design "
        "matrices it would write and any of them that would replace an input or another pair's; "
        "then every entry that takes no part. It prints its report on standard output.";
    std::erase_if(command.options, [](const Option& option) { return option.name == "--version"; });
    command.details =
        "The run's options are accepted, so that \"check\" can go in front of the same command; "
        "--z-transform changes the merged names, --skip-first names the condition skipped, "
        "--strict fails a pair with a warning, the rest is not used. With --report it writes one "
        "row per finding (pair, list entry, file, result, finding). With --qc DIR it also writes "
        "the quality report of the designs the list would give, made in memory with the host's "
        "model from the protocols and the time courses' headers (--hrf, --value, --skip-first "
        "and --z-transform count).\n\n"
        "Exit status: 0 nothing fails, 3 something would, 2 a usage error.";
    command.examples = {
        "sdmweaver check --list study.txt --vmr anatomy.vmr --z-transform \\\n"
        "    --report check.tsv"};
    return command;
}

}  // namespace

int runCheckCommand(const std::vector<std::string>& arguments) {
    Options options;
    const CommandSpec command = checkCommandLine(options);
    const ParsedArguments parsed = parseArguments(command, arguments);
    if (!parsed.error.empty()) {
        return usageError(parsed.error, "check");
    }
    if (parsed.help) {
        std::cout << helpText(command);
        return kRunSucceeded;
    }
    if (!options.list || !options.vmr) {
        return usageError(
            "check needs the file list (--list FILE) and the volume document "
            "(--vmr FILE)",
            "check");
    }
    const formats::VolumeDocumentRead volume = formats::readVolumeDocument(*options.vmr);
    if (!volume.document) {
        return usageError(volume.error, "check");
    }
    if (std::string error = prepareListFile(options.list); !error.empty()) {
        return usageError(error, "check");
    }
    const ListRun list = readListRun(*options.list, options.zTransform);
    if (options.report) {
        for (const std::string& error : {refusal("--report", *options.report, &list, options.vmr,
                                                 options.plugin.value_or(defaultPluginPath())),
                                         checkOutputFile("report", *options.report)}) {
            if (!error.empty()) {
                return usageError(error, "check");
            }
        }
    }
    if (options.log || options.plot) {
        say("check writes no log and draws no picture: --log and --plot "
            "are not used");
    }
    const CheckResult result =
        checkList(list, *options.vmr, CheckOptions{options.skipFirst, options.strict});
    printCheck(result, std::cout);
    bool written = true;
    if (options.report && !writeCheckTsv(result, *options.report)) {
        say("cannot write the report file " + *options.report);
        written = false;
    }
    std::cout.flush();
    if (!std::cout.good()) {
        say("cannot write standard output");
        written = false;
    }
    const int status = result.verdict() == Verdict::Fail || !written ? kStepRefused : kRunSucceeded;
    if (options.qc) {
        return publishQuality(checkQualitySources(result, list.plan, *options.vmr, options),
                              *options.qc, status);
    }
    return status;
}

}  // namespace headless
