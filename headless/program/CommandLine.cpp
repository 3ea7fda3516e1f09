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
        {"--skip-first", false,
         [](Options& o, const std::string&) { return o.skipFirst = true, ""; }},
        {"--z-transform", false,
         [](Options& o, const std::string&) { return o.zTransform = true, ""; }},
        {"--hrf", true,
         [](Options& o, const std::string& v) -> std::string {
             if (v == "two-gamma") {
                 o.hrf = ResponseFunction::TwoGamma;
             } else if (v == "boynton") {
                 o.hrf = ResponseFunction::Boynton;
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
    answers.addYesNo(options.hrf == ResponseFunction::TwoGamma);
    answers.addNumber(options.value);
    answers.addYesNo(options.skipFirst);
    answers.addYesNo(options.zTransform);
    if (options.list) {
        answers.addFile(options.list);
    }
}

std::string helpText() {
    return R"(sdmweaver: runs the sdmweaver plug-in without the workstation. The program is the
host: it loads the plug-in, answers its dialogs from the options below, writes the plug-in's
log on standard output, and messages, dialogs and its own notes on standard error.

Usage:
  sdmweaver --list FILE --vmr FILE [--hrf two-gamma|boynton] [--value X|cancel]
            [--skip-first] [--z-transform] [--log FILE] [--plugin PATH] [--host-version A.B.C]
            [--plot DIR]
  sdmweaver plot FILE... [-o DIR]
  sdmweaver --help | --version

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
  --log FILE         Also writes the log to FILE (created or emptied).
                       --log run.log
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
  --help             Shows this text.
  --version          Shows the plug-in's name text.

sdmweaver plot FILE... [-o DIR] draws existing *.sdm and *.rtc files the same way (see
sdmweaver plot --help).

Dialogs are answered in the order the plug-in asks: response function, predictor value, skip
first condition, z-transform, file list. The protocols named in the list are looked for beside
their time course, then beside the volume document.

Exit status: 0 the run succeeded and the host refused nothing; 1 the plug-in could not start or
its run failed; 2 a usage error (unknown option, missing or out-of-range value, unreadable
plug-in, volume document, file list, log file or picture folder); 3 the run completed but the
host refused a step (a link, a protocol, a save) or a design matrix it produced could not be
drawn.

Example:
  sdmweaver --list study.txt --vmr anatomy.vmr --hrf boynton --value 2 --z-transform
)";
}

}  // namespace headless
