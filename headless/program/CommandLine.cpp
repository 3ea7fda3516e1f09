#include "headless/program/CommandLine.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <string_view>

namespace headless {

namespace {

// Every line of text behind two blanks.
std::string indented(const std::string& text) {
    std::string result;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::size_t stop = end == std::string::npos ? text.size() : end + 1;
        result += "  " + text.substr(start, stop - start);
        start = stop;
    }
    return result;
}

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

// One option: its name, whether it takes a value, and what it does with it. A handler answers
// the usage error, empty when the value is fine.
struct OptionRule {
    std::string_view name;
    bool takesValue;
    std::function<std::string(Options&, const std::string&)> apply;
};

const std::vector<OptionRule>& rules() {
    static const std::vector<OptionRule> kRules = {
        {"--help", false, [](Options& o, const std::string&) { return o.help = true, ""; }},
        {"--version", false, [](Options& o, const std::string&) { return o.version = true, ""; }},
        {"--list", true, [](Options& o, const std::string& v) { return o.list = v, ""; }},
        {"--vmr", true, [](Options& o, const std::string& v) { return o.vmr = v, ""; }},
        {"--log", true, [](Options& o, const std::string& v) { return o.log = v, ""; }},
        {"--plugin", true, [](Options& o, const std::string& v) { return o.plugin = v, ""; }},
        {"--plot", true, [](Options& o, const std::string& v) { return o.plot = v, ""; }},
        {"--report", true, [](Options& o, const std::string& v) { return o.report = v, ""; }},
        {"--qc", true, [](Options& o, const std::string& v) { return o.qc = v, ""; }},
        {"--skip-first", false,
         [](Options& o, const std::string&) { return o.skipFirst = true, ""; }},
        {"--z-transform", false,
         [](Options& o, const std::string&) { return o.zTransform = true, ""; }},
        {"--strict", false, [](Options& o, const std::string&) { return o.strict = true, ""; }},
        {"--hrf", true,
         [](Options& o, const std::string& v) -> std::string {
             if (v == "two-gamma") {
                 o.hrf = response::ResponseFunction::TwoGamma;
             } else if (v == "boynton") {
                 o.hrf = response::ResponseFunction::Boynton;
             } else {
                 return "--hrf takes two-gamma or boynton, not '" + v + "'";
             }
             return "";
         }},
        {"--value", true,
         [](Options& o, const std::string& v) -> std::string {
             if (v == "cancel") {
                 o.value = {true, 0.0f};
                 return "";
             }
             float value = 0.0f;
             if (!parseFloat(v, value)) {
                 return "--value takes a number or cancel, not '" + v + "'";
             }
             if (value < kMinimumPredictorValue || value > kMaximumPredictorValue) {
                 return "--value " + v + " lies outside -100..100";
             }
             o.value = {false, value};
             return "";
         }},
        {"--host-version", true,
         [](Options& o, const std::string& v) -> std::string {
             std::array<int, 3> version{};
             if (!parseVersion(v, version)) {
                 return "--host-version takes three whole numbers A.B.C, not '" + v + "'";
             }
             o.hostVersion = version;
             return "";
         }},
    };
    return kRules;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine result;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const std::size_t equals = argument.find('=');
        const std::string_view name = std::string_view(argument).substr(0, equals);
        const OptionRule* rule = nullptr;
        for (const OptionRule& candidate : rules()) {
            if (candidate.name == name && name.starts_with("--")) {
                rule = &candidate;
            }
        }
        if (rule == nullptr) {
            result.error = argument.starts_with("-") ? "unknown option " + std::string(name)
                                                     : "unexpected argument '" + argument + "'";
            return result;
        }
        std::string value;
        if (equals != std::string::npos) {
            if (!rule->takesValue) {
                result.error = std::string(name) + " takes no value";
                return result;
            }
            value = argument.substr(equals + 1);
        } else if (rule->takesValue) {
            if (i + 1 >= arguments.size()) {
                result.error = std::string(name) + " needs a value";
                return result;
            }
            value = arguments[++i];
        }
        if (rule->takesValue && value.empty()) {
            result.error = std::string(name) + " needs a value";
            return result;
        }
        result.error = rule->apply(result.options, value);
        if (!result.error.empty()) {
            return result;
        }
    }
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

std::string usageText() {
    return R"(sdmweaver --list FILE --vmr FILE [--hrf two-gamma|boynton] [--value X|cancel]
          [--skip-first] [--z-transform] [--strict] [--log FILE] [--report FILE]
          [--qc DIR] [--plugin PATH] [--host-version A.B.C] [--plot DIR]
sdmweaver check --list FILE --vmr FILE [--skip-first] [--z-transform] [--strict]
          [--report FILE] [--qc DIR]
sdmweaver plot FILE... [-o DIR]
sdmweaver qc FILE... [-o DIR]
sdmweaver events-to-prt | confounds-to-motion | design | bids-list ...
sdmweaver --help | --version
)";
}

std::string helpText() {
    return R"(sdmweaver: runs the sdmweaver plug-in without the workstation. The program is the
host: it loads the plug-in, answers its dialogs from the options below, writes the plug-in's
log on standard output, and messages, dialogs, its own notes and the run report on standard
error.

Usage:
)" + indented(usageText()) +
           R"(
Options (a value follows as the next argument or after '='):
  --list FILE        The file list, the answer to the file dialog. Without it the dialog is
                     cancelled and the run ends early.
                       --list study.txt
  --vmr FILE         The volume document (*.vmr) open while the plug-in runs. Without it there
                     is none, and the plug-in refuses to run.
                       --vmr anatomy.vmr
  --hrf NAME         The response function: two-gamma (the default; answers Yes) or boynton
                     (answers No).
                       --hrf boynton
  --value X          The predictor value, from -100 to 100 (default 1); cancel cancels that
                     dialog.
                       --value=-2.5    --value cancel
  --skip-first       Answers Yes to skipping the first condition of each protocol (default No).
                       --skip-first
  --z-transform      Answers Yes to z-transforming the confounds (default No).
                       --z-transform
  --strict           A pair with a warning (events after the run's last volume, a TR under
                     100 ms or over 30 s, parametric weights, a saved predictor that is zero
                     throughout) fails, in the run and in check.
                       --strict
  --log FILE         Also writes the log to FILE (created or emptied). Refused when FILE is the
                     list, the volume document, the plug-in, a file the list names or a design
                     matrix the run writes.
                       --log run.log
  --report FILE      Also writes the run report as tab-separated values: a header row, then one
                     row per protocol/time-course pair of the list. Refused like --log.
                       --report report.tsv
  --plugin PATH      The plug-in library to load (default: the one beside this program).
                       --plugin build/debug/sdmweaver.so
  --host-version A.B.C
                     The version the host reports to the plug-in (default 3.0.0).
                       --host-version 2.9.8
  --plot DIR         After the run, draws every design matrix it produced (those the host
                     saved and the merged ones the plug-in wrote) as an SVG picture in DIR
                     (created when missing), named after the file with ".svg" appended, and
                     prints a design check of each on standard error.
                       --plot pictures
  --qc DIR           After the run, writes the study's quality report into DIR (created when
                     missing): index.html, one page with a row per pair and the pairs that
                     stand out first; qc.tsv and qc.json with the same figures (condition
                     number, correlations, VIF, efficiency, framewise displacement, the run
                     report's result); the pictures in DIR/pictures. See sdmweaver qc --help.
                       --qc qc
  --help             Shows this text.
  --version          Shows the plug-in's name text.

After a run with --list, the run report gives one line per protocol/time-course pair on
standard error ("report: "): the design matrix saved or not, the merged design matrix written
and complete (every row of every predictor, one row per volume) or not, and why, with its
warnings (and, with --skip-first, the condition skipped); a pair the list declares but does not
hold fails too.

sdmweaver check --list FILE --vmr FILE [--report FILE] checks the list before a run, without
the plug-in and without writing a file: per pair the time course (volumes, TR), the protocol
the host will really use, each confound file (read as the plug-in reads it; data points against
volumes), the design matrices it would write and any of them that would replace an input or
another pair's; then every entry that takes no part. The run's other options are accepted, so
that "check" can go in front of the same command; --z-transform changes the merged names,
--skip-first names the condition skipped, --strict fails a pair with a warning, the rest is not
used. It prints its report on standard output, and with --report writes one row per
finding (pair, list entry, file, result, finding). Exit status 0 nothing fails, 3 something
would, 2 a usage error. With --qc DIR it also writes the quality report of the designs the list
would give, made in memory with the host's model from the protocols and the time courses'
headers (--hrf, --value, --skip-first and --z-transform count).

sdmweaver plot FILE... [-o DIR] draws existing *.sdm and *.rtc files the same way (see
sdmweaver plot --help).

Dialogs are answered in the order the plug-in asks: response function, predictor value, skip
first condition, z-transform, file list. Paths in the list are taken as given, relative to the
folder the program runs in. The plug-in hands the host only the file name of each protocol: the
host looks for it beside the time course, then beside the volume document.

Exit status: 0 the run succeeded, every pair of the list got every design matrix due, complete,
and the host refused nothing; 1 the plug-in could not start or its run failed; 2 a usage error
(no arguments, unknown option, missing or out-of-range value, unreadable plug-in, volume
document, file list, log or report file, a --log or --report that would replace an input or an
output, or a picture folder that cannot be made); 3 the run completed but some pair lacks a
complete design matrix it should have (the list declares more pairs than it holds, or none;
the host used another protocol than the list names; a later pair replaced its design matrix;
with --strict, it has a warning), the host refused a step (a link, a protocol, a save), a design
matrix it produced could not be drawn, or the report, the log or standard output could not be
written whole.

Example:
  sdmweaver check --list study.txt --vmr anatomy.vmr --z-transform
  sdmweaver --list study.txt --vmr anatomy.vmr --hrf boynton --value 2 --z-transform \
            --report report.tsv
)";
}

}  // namespace headless
