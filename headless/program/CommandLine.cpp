#include "headless/program/CommandLine.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <string_view>

namespace headless {

namespace {

bool parseFloat(std::string_view text, float& value) {
    if (text.starts_with('+')) {
        text.remove_prefix(1);
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

bool parseVersion(std::string_view text, std::array<int, 3>& version) {
    const char* cursor = text.data();
    const char* const end = text.data() + text.size();
    for (std::size_t i = 0; i < 3; ++i) {
        if (i > 0) {
            if (cursor == end || *cursor != '.') {
                return false;
            }
            ++cursor;
        }
        const auto [next, error] = std::from_chars(cursor, end, version[i]);
        if (error != std::errc() || version[i] < 0) {
            return false;
        }
        cursor = next;
    }
    return cursor == end;
}

}  // namespace

CommandSpec runCommandLine(Options& o) {
    CommandSpec command;
    command.synopsis =
        "sdmweaver --list FILE --vmr FILE [--hrf two-gamma|boynton] [--value X|cancel]\n"
        "          [--skip-first] [--z-transform] [--strict] [--log FILE] [--report FILE]\n"
        "          [--plot DIR] [--qc DIR] [--plugin PATH] [--host-version A.B.C]\n"
        "sdmweaver COMMAND ...\n"
        "sdmweaver --help | --version";
    command.summary =
        "runs the sdmweaver plug-in without the workstation. The program is the host: it loads "
        "the plug-in, answers its dialogs from the options below, writes the plug-in's log on "
        "standard output, and messages, dialogs, its own notes and the run report on standard "
        "error.";
    command.options = {
        {"--list", "FILE",
         "The file list, the answer to the file dialog. Without it the dialog is cancelled and "
         "the run ends early.",
         "--list study.txt", assign(o.list)},
        {"--vmr", "FILE",
         "The volume document (*.vmr) open while the plug-in runs. Without it there is none, "
         "and the plug-in refuses to run.",
         "--vmr anatomy.vmr", assign(o.vmr)},
        {"--hrf", "NAME",
         "The response function: two-gamma (the default; answers Yes) or boynton (answers No).",
         "--hrf boynton",
         oneOf("--hrf", {"two-gamma", "boynton"},
               [&o](std::size_t k) {
                   o.hrf = k == 0 ? response::ResponseFunction::TwoGamma
                                  : response::ResponseFunction::Boynton;
               })},
        {"--value", "X",
         "The predictor value, from -100 to 100 (default 1); cancel cancels that dialog.",
         "--value=-2.5    --value cancel",
         [&o](const std::string& v) -> std::string {
             float value = 0.0f;
             if (v == "cancel") {
                 o.value = {true, 0.0f};
             } else if (!parseFloat(v, value)) {
                 return "--value takes a number or cancel, not '" + v + "'";
             } else if (value < kMinimumPredictorValue || value > kMaximumPredictorValue) {
                 return "--value " + v + " lies outside -100..100";
             } else {
                 o.value = {false, value};
             }
             return "";
         }},
        {"--skip-first", "",
         "Answers Yes to skipping the first condition of each protocol (default No).",
         "--skip-first", raise(o.skipFirst)},
        {"--z-transform", "", "Answers Yes to z-transforming the confounds (default No).",
         "--z-transform", raise(o.zTransform)},
        {"--strict", "",
         "A pair with a warning (events after the run's last volume, a TR under 100 ms or over "
         "30 s, parametric weights, a saved predictor that is zero throughout) fails, in the run "
         "and in check.",
         "--strict", raise(o.strict)},
        {"--log", "FILE",
         "Also writes the log to FILE (created or emptied). Refused when FILE is the list, the "
         "volume document, the plug-in, a file the list names or a design matrix the run writes.",
         "--log run.log", assign(o.log)},
        {"--report", "FILE",
         "Also writes the run report as tab-separated values: a header row, then one row per "
         "protocol/time-course pair of the list. Refused like --log.",
         "--report report.tsv", assign(o.report)},
        {"--plot", "DIR",
         "After the run, draws every design matrix it produced (those the host saved and the "
         "merged ones the plug-in wrote) as an SVG picture in DIR (created when missing), named "
         "after the file with \".svg\" appended, and prints a design check of each on standard "
         "error.",
         "--plot pictures", assign(o.plot)},
        {"--qc", "DIR",
         "After the run, writes the study's quality report into DIR (created when missing): "
         "index.html, one page with a row per pair and the pairs that stand out first; qc.tsv "
         "and qc.json with the same figures (condition number, correlations, VIF, efficiency, "
         "framewise displacement, the run report's result); the pictures in DIR/pictures. See "
         "sdmweaver qc --help.",
         "--qc qc", assign(o.qc)},
        {"--plugin", "PATH", "The plug-in library to load (default: the one beside this program).",
         "--plugin build/debug/sdmweaver.so", assign(o.plugin)},
        {"--host-version", "A.B.C", "The version the host reports to the plug-in (default 3.0.0).",
         "--host-version 2.9.8",
         [&o](const std::string& v) -> std::string {
             std::array<int, 3> version{};
             if (!parseVersion(v, version)) {
                 return "--host-version takes three whole numbers A.B.C, not '" + v + "'";
             }
             o.hostVersion = version;
             return "";
         }},
        {"--version", "", "Shows the plug-in's name text.", "", raise(o.version)},
    };
    command.details =
        "After a run with --list, the run report gives one line per protocol/time-course pair "
        "on standard error (\"report: \"): the design matrix saved or not, the merged design "
        "matrix written and complete (every row of every predictor, one row per volume) or not, "
        "and why, with its warnings (and, with --skip-first, the condition skipped); a pair the "
        "list declares but does not hold fails too.\n\n"
        "Dialogs are answered in the order the plug-in asks: response function, predictor "
        "value, skip first condition, z-transform, file list. Paths in the list are taken as "
        "given, relative to the folder the program runs in. The plug-in hands the host only the "
        "file name of each protocol: the host looks for it beside the time course, then beside "
        "the volume document.\n\n"
        "Exit status: 0 the run succeeded, every pair of the list got every design matrix due, "
        "complete, and the host refused nothing; 1 the plug-in could not start or its run "
        "failed; 2 a usage error (no arguments, unknown option, missing or out-of-range value, "
        "unreadable plug-in, volume document, file list, log or report file, a --log or --report "
        "that would replace an input or an output, or a picture folder that cannot be made); 3 "
        "the run completed but some pair lacks a complete design matrix it should have (the "
        "list declares more pairs than it holds, or none; the host used another protocol than "
        "the list names; a later pair replaced its design matrix; with --strict, it has a "
        "warning), the host refused a step (a link, a protocol, a save), a design matrix it "
        "produced could not be drawn, or the report, the log or standard output could not be "
        "written whole.";
    command.examples = {
        "sdmweaver check --list study.txt --vmr anatomy.vmr --z-transform",
        "sdmweaver --list study.txt --vmr anatomy.vmr --hrf boynton --value 2 --z-transform \\\n"
        "    --report report.tsv --plot pictures",
    };
    return command;
}

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine result;
    const ParsedArguments parsed = parseArguments(runCommandLine(result.options), arguments);
    result.options.help = parsed.help;
    result.error = parsed.error;
    return result;
}

void addDialogAnswers(const Options& options, DialogAnswers& answers) {
    answers.addYesNo(options.hrf == response::ResponseFunction::TwoGamma);
    answers.addNumber(options.value);
    answers.addYesNo(options.skipFirst);
    answers.addYesNo(options.zTransform);
    if (options.list) {
        answers.addFile(options.list);
    }
}

}  // namespace headless
