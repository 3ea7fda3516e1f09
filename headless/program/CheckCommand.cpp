#include "headless/program/CheckCommand.h"

#include <iostream>

#include "formats/VolumeDocument.h"
#include "headless/HostSession.h"
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

constexpr char kPrefix[] = "sdmweaver: ";

}  // namespace

int runCheckCommand(const std::vector<std::string>& arguments) {
    CommandLine commandLine = parseCommandLine(arguments);
    if (!commandLine.error.empty()) {
        return usageError(commandLine.error);
    }
    Options& options = commandLine.options;
    if (options.help) {
        std::cout << helpText();
        return kRunSucceeded;
    }
    if (!options.list || !options.vmr) {
        return usageError(
            "check needs the file list (--list FILE) and the volume document "
            "(--vmr FILE)");
    }
    const formats::VolumeDocumentRead volume = formats::readVolumeDocument(*options.vmr);
    if (!volume.document) {
        return usageError(volume.error);
    }
    if (std::string error = prepareListFile(options.list); !error.empty()) {
        return usageError(error);
    }
    const ListRun list = readListRun(*options.list, options.zTransform);
    if (options.report) {
        for (const std::string& error : {refusal("--report", *options.report, &list, options.vmr,
                                                 options.plugin.value_or(defaultPluginPath())),
                                         checkOutputFile("report", *options.report)}) {
            if (!error.empty()) {
                return usageError(error);
            }
        }
    }
    if (options.log || options.plot) {
        hostSession().console.show(kPrefix,
                                   "check writes no log and draws no picture: --log and --plot "
                                   "are not used");
    }
    const CheckResult result =
        checkList(list, *options.vmr, CheckOptions{options.skipFirst, options.strict});
    printCheck(result, std::cout);
    bool written = true;
    if (options.report && !writeCheckTsv(result, *options.report)) {
        hostSession().console.show(kPrefix, "cannot write the report file " + *options.report);
        written = false;
    }
    std::cout.flush();
    if (!std::cout.good()) {
        hostSession().console.show(kPrefix, "cannot write standard output");
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
