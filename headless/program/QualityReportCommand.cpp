// sdmweaver qc: the study's quality report over existing design matrices.

#include <iostream>

#include "headless/program/Commands.h"
#include "headless/program/ExitStatus.h"
#include "headless/program/OptionTable.h"
#include "headless/program/QualityReport.h"

namespace headless {

int runQualityCommand(const std::vector<std::string>& arguments) {
    std::vector<QualitySource> sources;
    std::string folder = ".";
    const CommandSpec spec{
        "qc",
        "sdmweaver qc FILE... [-o DIR]",
        "one page over a whole study's design matrices. Reads each design matrix (*.sdm) or "
        "reference time course (*.rtc) as one run and writes the report into DIR.",
        {{"-o|--output", "DIR",
          "The folder of the report (created when missing; default: the current folder).", "-o qc",
          assign(folder)}},
        [&sources](const std::string& file) {
            QualitySource source;
            source.name = file;
            source.designPath = file;
            sources.push_back(std::move(source));
            return std::string();
        },
        "The report:\n\n"
        "  index.html   one self-contained page: a summary, a sortable table with one row per run\n"
        "               (those that stand out first), each run's picture, figures and correlation\n"
        "               heat map, and a strip of every design;\n"
        "  qc.tsv       one row per run: run, volumes, tr, predictors, condition_number,\n"
        "               max_r_task, max_r_confound, vif, efficiency, zero_predictors,\n"
        "               events_past_end, fd_mean, fd_max, fd_share, stands_out, reasons;\n"
        "  qc.json      the same figures, the study's medians and spreads;\n"
        "  pictures/    the pictures of the designs.\n\n"
        "A run stands out for |r| above 0.9, a VIF above 10, a condition number above 1000, a "
        "predictor zero throughout, more than 20% of volumes with a framewise displacement above "
        "0.5 mm, or a figure beyond 3 scaled median absolute deviations of the study's median. "
        "The displacement comes from a design's motion columns (translations in mm, rotations in "
        "degrees) unless they were z-transformed. The run, check, design and bids-list take --qc "
        "DIR for the same report.\n\n"
        "Exit status: 0 the report was written with every file; 1 a file could not be read (its "
        "row says why) or the report not written; 2 a usage error.",
        {"sdmweaver qc derivatives/*_3DMC.sdm -o qc"}};
    const ParsedArguments parsed = parseArguments(spec, arguments);
    if (parsed.error.empty() && parsed.help) {
        std::cout << helpText(spec);
        return kRunSucceeded;
    }
    if (!parsed.error.empty() || sources.empty()) {
        return usageError(
            parsed.error.empty() ? "qc needs at least one *.sdm or *.rtc file" : parsed.error,
            spec.name);
    }
    const QualityWritten written = writeQualityReport(sources, folder);
    if (!sayQualityWritten(written, folder, show) || written.unreadable > 0) {
        return kRunFailed;
    }
    return kRunSucceeded;
}

}  // namespace headless
