#include "headless/program/BidsCommandLine.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>

#include "bids/TsvTable.h"

namespace headless {

namespace {

struct CommandName {
    std::string_view name;
    BidsCommand command;
};
constexpr CommandName kCommands[] = {
    {"events-to-prt", BidsCommand::EventsToPrt},
    {"confounds-to-motion", BidsCommand::ConfoundsToMotion},
    {"design", BidsCommand::Design},
    {"bids-list", BidsCommand::List},
};

std::string_view nameOf(BidsCommand command) {
    for (const CommandName& entry : kCommands) {
        if (entry.command == command) {
            return entry.name;
        }
    }
    return "";
}

// One option: its names, whether it takes a value, and what it does with it; the handler answers
// the usage error, empty when the value is fine.
struct Option {
    std::vector<std::string_view> names;
    bool takesValue;
    std::function<std::string(const std::string&)> apply;
};

template <typename Integer>
bool parseInteger(const std::string& text, Integer& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

std::string wholeNumberAtLeast(const std::string& option, const std::string& text,
                               long long minimum, long long& value) {
    if (!parseInteger(text, value) || value < minimum) {
        return option + " takes a whole number from " + std::to_string(minimum) + ", not '" + text +
               "'";
    }
    return "";
}

// Comma-separated names, none of them empty.
std::string listOf(const std::string& option, const std::string& text,
                   std::vector<std::string>& items) {
    items.clear();
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        items.push_back(text.substr(start, comma - start));
        if (items.back().empty()) {
            return option + " takes names separated by commas, without empty ones: '" + text + "'";
        }
        if (comma == std::string::npos) {
            return "";
        }
        start = comma + 1;
    }
}

// Reads options and positional arguments with the table; `positional` takes the others.
std::string parseWith(const std::vector<Option>& options, const std::vector<std::string>& arguments,
                      const std::function<std::string(const std::string&)>& positional,
                      bool& help) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            help = true;
            continue;
        }
        const std::size_t equals =
            argument.starts_with("--") ? argument.find('=') : std::string::npos;
        const std::string name = argument.substr(0, equals);
        const auto option = std::find_if(options.begin(), options.end(), [&name](const Option& o) {
            return std::find(o.names.begin(), o.names.end(), name) != o.names.end();
        });
        if (option == options.end()) {
            if (argument.starts_with("-") && argument.size() > 1) {
                return "unknown option " + name;
            }
            if (std::string error = positional(argument); !error.empty()) {
                return error;
            }
            continue;
        }
        std::string value;
        if (equals != std::string::npos) {
            if (!option->takesValue) {
                return name + " takes no value";
            }
            value = argument.substr(equals + 1);
        } else if (option->takesValue) {
            if (i + 1 >= arguments.size()) {
                return name + " needs a value";
            }
            value = arguments[++i];
        }
        if (option->takesValue && value.empty()) {
            return name + " needs a value";
        }
        if (std::string error = option->apply(value); !error.empty()) {
            return error;
        }
    }
    return "";
}

std::function<std::string(const std::string&)> setText(std::optional<std::string>& target) {
    return [&target](const std::string& value) { return target = value, std::string(); };
}

std::function<std::string(const std::string&)> setText(std::string& target) {
    return [&target](const std::string& value) { return target = value, std::string(); };
}

std::function<std::string(const std::string&)> onePositional(std::string& target,
                                                             const std::string& what) {
    return [&target, what](const std::string& value) -> std::string {
        if (!target.empty()) {
            return "unexpected argument '" + value + "': give one " + what;
        }
        target = value;
        return "";
    };
}

// The options events-to-prt and bids-list share, which shape the protocols.
std::vector<Option> protocolOptions(bids::ProtocolRequest& protocol) {
    return {
        {{"--conditions"},
         true,
         [&protocol](const std::string& value) -> std::string {
             std::vector<std::string> names;
             if (std::string error = listOf("--conditions", value, names); !error.empty()) {
                 return error;
             }
             for (std::size_t i = 0; i < names.size(); ++i) {
                 if (std::find(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(i),
                               names[i]) != names.begin() + static_cast<std::ptrdiff_t>(i)) {
                     return "--conditions names " + names[i] + " twice";
                 }
             }
             protocol.conditions = names;
             return "";
         }},
        {{"--modulation"}, true, setText(protocol.modulation)},
        {{"--fixation"}, true, setText(protocol.fixation)},
        {{"--min-duration"},
         true,
         [&protocol](const std::string& value) -> std::string {
             long long ms = 0;
             if (std::string error = wholeNumberAtLeast("--min-duration", value, 1, ms);
                 !error.empty() || ms > 24LL * 3600 * 1000) {
                 return error.empty() ? "--min-duration " + value + " is longer than a day" : error;
             }
             protocol.minimumDurationMs = static_cast<int>(ms);
             return "";
         }},
    };
}

Option dummyOption(std::size_t& dummies) {
    return {{"--dummy"}, true, [&dummies](const std::string& value) -> std::string {
                long long count = 0;
                if (std::string error = wholeNumberAtLeast("--dummy", value, 0, count);
                    !error.empty()) {
                    return error;
                }
                dummies = static_cast<std::size_t>(count);
                return "";
            }};
}

Option sliceReferenceOption(std::optional<double>& reference) {
    return {{"--slice-time-ref"}, true, [&reference](const std::string& value) -> std::string {
                const std::optional<double> fraction = bids::parseNumber(value);
                if (!fraction || *fraction < 0.0 || *fraction > 1.0) {
                    return "--slice-time-ref takes a fraction of the TR from 0 to 1, not '" +
                           value + "'";
                }
                reference = *fraction;
                return "";
            }};
}

Option repetitionTimeOption(std::optional<double>& repetitionTime) {
    return {{"--tr"}, true, [&repetitionTime](const std::string& value) -> std::string {
                const std::optional<double> seconds = bids::parseNumber(value);
                if (!seconds || !(*seconds > 0.0)) {
                    return "--tr takes a positive number of seconds, not '" + value + "'";
                }
                repetitionTime = seconds;
                return "";
            }};
}

std::string checkProtocolRequest(const bids::ProtocolRequest& protocol) {
    if (protocol.fixation && protocol.conditions &&
        std::find(protocol.conditions->begin(), protocol.conditions->end(), *protocol.fixation) !=
            protocol.conditions->end()) {
        return "--fixation " + *protocol.fixation + " is one of the --conditions";
    }
    return "";
}

std::string parseEventsToPrt(BidsCommandLine& line, const std::vector<std::string>& arguments) {
    auto& command = line.eventsToPrt;
    auto& timing = command.timing;
    bool dummiesGiven = false;
    std::vector<Option> options = protocolOptions(command.protocol);
    options.push_back({{"-o", "--output"}, true, setText(command.outputPath)});
    Option dummies = dummyOption(timing.dummies);
    dummies.apply = [&dummiesGiven, apply = dummies.apply](const std::string& value) {
        dummiesGiven = true;
        return apply(value);
    };
    options.push_back(std::move(dummies));
    options.push_back(sliceReferenceOption(timing.sliceReference));
    options.push_back(repetitionTimeOption(timing.repetitionTime));
    options.push_back({{"--bold"}, true, setText(timing.boldPath)});
    std::string error =
        parseWith(options, arguments, onePositional(command.eventsPath, "events file"), line.help);
    if (!error.empty() || line.help) {
        return error;
    }
    if (command.eventsPath.empty()) {
        return "events-to-prt needs an events file (*_events.tsv)";
    }
    if (timing.repetitionTime && timing.boldPath) {
        return "events-to-prt takes either --tr or --bold, not both";
    }
    if ((dummiesGiven || timing.sliceReference) && !timing.repetitionTime && !timing.boldPath) {
        return std::string(dummiesGiven ? "--dummy" : "--slice-time-ref") +
               " moves the events by a number of volumes: give the TR with --tr S or --bold "
               "BOLD.nii[.gz]";
    }
    return checkProtocolRequest(command.protocol);
}

std::string parseConfoundsToMotion(BidsCommandLine& line,
                                   const std::vector<std::string>& arguments) {
    auto& command = line.confoundsToMotion;
    const std::vector<Option> options = {
        {{"-o", "--output"}, true, setText(command.outputPath)},
        dummyOption(command.dummies),
    };
    std::string error = parseWith(
        options, arguments, onePositional(command.confoundsPath, "confound table"), line.help);
    if (error.empty() && !line.help && command.confoundsPath.empty()) {
        error = "confounds-to-motion needs a confound table (*_desc-confounds_timeseries.tsv)";
    }
    return error;
}

// The confound options of design as given; the strategy is the preset with these over it.
struct GivenStrategy {
    std::optional<std::string> preset;
    bids::ConfoundStrategy options;
    std::optional<std::size_t> scrub;
    std::optional<double> fdThreshold;
    std::optional<double> stdDvarsThreshold;
    bool compCorCountGiven = false;
    bool thresholdsGiven = false;
};

Option expansionOption(std::string_view name, std::optional<bids::Expansion>& target) {
    return {{name}, true, [&target, name](const std::string& value) -> std::string {
                static constexpr std::pair<std::string_view, bids::Expansion> kNames[] = {
                    {"basic", bids::Expansion::Basic},
                    {"power2", bids::Expansion::Power2},
                    {"derivatives", bids::Expansion::Derivatives},
                    {"full", bids::Expansion::Full}};
                for (const auto& [text, expansion] : kNames) {
                    if (value == text) {
                        target = expansion;
                        return "";
                    }
                }
                return std::string(name) + " takes basic, power2, derivatives or full, not '" +
                       value + "'";
            }};
}

Option thresholdOption(std::string_view name, std::optional<double>& target) {
    return {{name}, true, [&target, name](const std::string& value) -> std::string {
                const std::optional<double> number = bids::parseNumber(value);
                if (!number || !(*number > 0.0)) {
                    return std::string(name) + " takes a positive number, not '" + value + "'";
                }
                target = number;
                return "";
            }};
}

std::vector<Option> strategyOptions(GivenStrategy& given) {
    bids::ConfoundStrategy& options = given.options;
    return {
        {{"--strategy"},
         true,
         [&given](const std::string& value) -> std::string {
             if (!bids::strategyPreset(value)) {
                 return "--strategy takes simple, scrubbing or compcor, not '" + value + "'";
             }
             given.preset = value;
             return "";
         }},
        expansionOption("--motion", options.motion),
        expansionOption("--wm-csf", options.wmCsf),
        expansionOption("--global-signal", options.globalSignal),
        {{"--compcor"},
         true,
         [&options](const std::string& value) -> std::string {
             if (value == "anat_combined") {
                 options.compCor = bids::CompCorKind::AnatomicalCombined;
             } else if (value == "temporal") {
                 options.compCor = bids::CompCorKind::Temporal;
             } else {
                 return "--compcor takes anat_combined or temporal, not '" + value + "'";
             }
             return "";
         }},
        {{"--n-compcor"},
         true,
         [&given](const std::string& value) -> std::string {
             given.compCorCountGiven = true;
             if (value == "all") {
                 given.options.compCorCount.reset();
                 return "";
             }
             long long count = 0;
             if (std::string error = wholeNumberAtLeast("--n-compcor", value, 1, count);
                 !error.empty()) {
                 return error + " (or all)";
             }
             given.options.compCorCount = static_cast<std::size_t>(count);
             return "";
         }},
        {{"--high-pass"},
         false,
         [&options](const std::string&) { return options.highPass = true, std::string(); }},
        {{"--scrub"},
         true,
         [&given](const std::string& value) -> std::string {
             long long length = 0;
             if (std::string error = wholeNumberAtLeast("--scrub", value, 0, length);
                 !error.empty()) {
                 return error;
             }
             given.scrub = static_cast<std::size_t>(length);
             return "";
         }},
        thresholdOption("--fd-threshold", given.fdThreshold),
        thresholdOption("--std-dvars-threshold", given.stdDvarsThreshold),
    };
}

// The strategy: the preset, then each option given over it. A usage error for options that
// need another.
std::string resolveStrategy(const GivenStrategy& given, bids::ConfoundStrategy& strategy) {
    const bids::ConfoundStrategy& options = given.options;
    strategy = given.preset ? *bids::strategyPreset(*given.preset) : bids::ConfoundStrategy();
    strategy.motion = options.motion ? options.motion : strategy.motion;
    strategy.wmCsf = options.wmCsf ? options.wmCsf : strategy.wmCsf;
    strategy.globalSignal = options.globalSignal ? options.globalSignal : strategy.globalSignal;
    strategy.compCor = options.compCor ? options.compCor : strategy.compCor;
    strategy.compCorCount = options.compCorCount;
    strategy.highPass = strategy.highPass || options.highPass;
    strategy.scrub = given.scrub ? given.scrub : strategy.scrub;
    strategy.fdThreshold = given.fdThreshold.value_or(strategy.fdThreshold);
    strategy.stdDvarsThreshold = given.stdDvarsThreshold.value_or(strategy.stdDvarsThreshold);
    if (given.compCorCountGiven && !strategy.compCor) {
        return "--n-compcor needs --compcor";
    }
    if ((given.fdThreshold || given.stdDvarsThreshold) && !strategy.scrub) {
        return "--fd-threshold and --std-dvars-threshold need --scrub N";
    }
    return "";
}

std::string parseDesign(BidsCommandLine& line, const std::vector<std::string>& arguments) {
    auto& command = line.design;
    auto& request = command.design;
    bool columnsGiven = false;
    GivenStrategy given;
    std::vector<Option> options = {
        {{"--events"}, true, setText(request.eventsPath)},
        repetitionTimeOption(command.repetitionTime),
        {{"--volumes"},
         true,
         [&command](const std::string& value) -> std::string {
             long long volumes = 0;
             if (std::string error = wholeNumberAtLeast("--volumes", value, 1, volumes);
                 !error.empty()) {
                 return error;
             }
             command.volumes = volumes;
             return "";
         }},
        {{"--bold"}, true, setText(command.boldPath)},
        {{"--confounds"},
         true,
         [&request](const std::string& value) -> std::string {
             if (request.confoundsPath && *request.confoundsPath != value) {
                 return "two confound tables for one run, " + *request.confoundsPath + " and " +
                        value + ": name one";
             }
             request.confoundsPath = value;
             return "";
         }},
        {{"--columns"},
         true,
         [&request, &columnsGiven](const std::string& value) {
             columnsGiven = true;
             return listOf("--columns", value, request.confoundPatterns);
         }},
        {{"--hrf"},
         true,
         [&request](const std::string& value) -> std::string {
             if (value == "two-gamma") {
                 request.function = response::ResponseFunction::TwoGamma;
             } else if (value == "boynton") {
                 request.function = response::ResponseFunction::Boynton;
             } else {
                 return "--hrf takes two-gamma or boynton, not '" + value + "'";
             }
             return "";
         }},
        {{"--derivative"},
         false,
         [&request](const std::string&) { return request.derivatives = true, std::string(); }},
        {{"--modulation"}, true, setText(request.modulation)},
        {{"--modulation-na"},
         true,
         [&request](const std::string& value) -> std::string {
             if (value != "mean") {
                 return "--modulation-na takes mean, not '" + value + "'";
             }
             request.modulationNaMean = true;
             return "";
         }},
        sliceReferenceOption(command.sliceReference),
        dummyOption(request.dummies),
        {{"--z-transform"},
         false,
         [&request](const std::string&) { return request.zTransform = true, std::string(); }},
        {{"-o", "--output"}, true, setText(command.outputPath)},
        {{"--tsv"}, true, setText(command.tablePath)},
        {{"--plot"}, true, setText(line.plotFolder)},
        {{"--qc"}, true, setText(line.qcFolder)},
    };
    for (Option& option : strategyOptions(given)) {
        options.push_back(std::move(option));
    }
    const std::string error = parseWith(
        options, arguments,
        [](const std::string& value) { return "unexpected argument '" + value + "'"; }, line.help);
    if (!error.empty() || line.help) {
        return error;
    }
    if (request.eventsPath.empty()) {
        return "design needs --events EVENTS.tsv";
    }
    if (command.boldPath && (command.repetitionTime || command.volumes)) {
        return "design takes either --bold or --tr and --volumes, not both";
    }
    if (!command.boldPath && !(command.repetitionTime && command.volumes)) {
        return "design needs --tr and --volumes, or --bold BOLD.nii[.gz]";
    }
    if (std::string strategyError = resolveStrategy(given, request.strategy);
        !strategyError.empty()) {
        return strategyError;
    }
    const bool confoundsPicked = columnsGiven || request.strategy.any();
    if (request.confoundsPath.has_value() != confoundsPicked) {
        return request.confoundsPath
                   ? "--confounds needs --columns PATTERNS or a strategy (--strategy, --motion, "
                     "--wm-csf, --global-signal, --compcor, --high-pass, --scrub)"
                   : std::string(columnsGiven ? "--columns" : "the confound strategy") +
                         " needs --confounds TSV";
    }
    if (command.outputPath.empty()) {
        return "design needs -o OUT.sdm";
    }
    return "";
}

std::string parseList(BidsCommandLine& line, const std::vector<std::string>& arguments) {
    auto& request = line.list;
    std::vector<Option> options = protocolOptions(request.protocol);
    options.push_back({{"--task"}, true, setText(request.task)});
    options.push_back({{"--derivatives"}, true, setText(request.derivativesFolder)});
    options.push_back({{"--out", "-o"}, true, setText(request.outputFolder)});
    options.push_back({{"--vtc"}, true, setText(request.timeCoursePattern)});
    options.push_back(dummyOption(request.dummies));
    options.push_back(sliceReferenceOption(request.sliceReference));
    options.push_back({{"--qc"}, true, setText(line.qcFolder)});
    const std::string error =
        parseWith(options, arguments, onePositional(request.bidsFolder, "BIDS folder"), line.help);
    if (!error.empty() || line.help) {
        return error;
    }
    for (const auto& [value, what] :
         {std::pair<const std::string&, const char*>{request.bidsFolder, "a BIDS folder"},
          {request.task, "--task T"},
          {request.derivativesFolder, "--derivatives FMRIPREP_DIR"},
          {request.outputFolder, "--out DIR"},
          {request.timeCoursePattern, "--vtc PATTERN"}}) {
        if (value.empty()) {
            return std::string("bids-list needs ") + what;
        }
    }
    if (!request.timeCoursePattern.ends_with(".vtc")) {
        return "--vtc " + request.timeCoursePattern +
               " does not end in .vtc: the batch takes a time course by that extension";
    }
    return checkProtocolRequest(request.protocol);
}

}  // namespace

std::optional<BidsCommand> bidsCommandNamed(std::string_view name) {
    for (const CommandName& entry : kCommands) {
        if (entry.name == name) {
            return entry.command;
        }
    }
    return std::nullopt;
}

BidsCommandLine parseBidsCommandLine(BidsCommand command,
                                     const std::vector<std::string>& arguments) {
    BidsCommandLine line;
    line.command = command;
    switch (command) {
        case BidsCommand::EventsToPrt:
            line.error = parseEventsToPrt(line, arguments);
            break;
        case BidsCommand::ConfoundsToMotion:
            line.error = parseConfoundsToMotion(line, arguments);
            break;
        case BidsCommand::Design:
            line.error = parseDesign(line, arguments);
            break;
        case BidsCommand::List:
            line.error = parseList(line, arguments);
            break;
    }
    if (!line.error.empty()) {
        line.error = std::string(nameOf(command)) + ": " + line.error;
    }
    return line;
}

std::string bidsCommandHelp(BidsCommand command) {
    switch (command) {
        case BidsCommand::EventsToPrt:
            return R"(sdmweaver events-to-prt EVENTS.tsv [-o FILE.prt] [--conditions A,B,...]
          [--modulation COLUMN] [--fixation NAME] [--min-duration MS]
          [--dummy N] [--slice-time-ref F] [--tr S | --bold BOLD.nii[.gz]]
  Turns a BIDS events file into a protocol in milliseconds that the workstation reads: one
  condition per trial_type (one condition "task" without that column) in the order they first
  appear, each event the interval [round(onset x 1000), round((onset + duration) x 1000)],
  colours from a fixed palette. Default output: the events file with .prt for .tsv.
  -o FILE.prt        The protocol to write.
                       -o sub-01_task-nback_run-1.prt
  --conditions A,B   Only these conditions, in this order; one without events stays empty.
                       --conditions faces,houses
  --modulation COLUMN
                     A version-3 protocol with the column's values as parametric weights
                     (0 for a condition whose events all have n/a).
                       --modulation weight
  --fixation NAME    A first condition covering the time no event covers, from 0 to the end
                     of the last event: the one that skipping the first condition skips.
                       --fixation Rest
  --min-duration MS  Events shorter than MS milliseconds (zero and n/a included) last MS;
                     without it a zero or n/a duration is refused.
                       --min-duration 100
  --dummy N --slice-time-ref F
                     Every event moves by -(N + F) x TR, so that the workstation's volume k
                     (of the time course without the N dummies) is sampled where design samples
                     it; an interval moved before 0 keeps its negative start. Both need the TR.
                       --dummy 4 --slice-time-ref 0.5
  --tr S | --bold FILE
                     The TR in seconds, or from the BOLD file and its sidecars; with --bold the
                     sidecar's StartTime gives F (StartTime / TR) unless --slice-time-ref does.
                       --bold sub-01_task-nback_run-1_desc-preproc_bold.nii.gz
)";
        case BidsCommand::ConfoundsToMotion:
            return R"(sdmweaver confounds-to-motion CONFOUNDS.tsv [-o FILE_3DMC.sdm] [--dummy N]
  Writes the six motion columns of an fMRIPrep confound table (trans_x trans_y trans_z rot_x
  rot_y rot_z, or the older X Y Z RotX RotY RotZ) as a motion file the plug-in reads: the
  design-matrix layout, six predictors, no constant; rotations from radians to degrees. Default
  output: the table's name without "_desc-confounds_timeseries.tsv", then "_3DMC.sdm".
  -o FILE_3DMC.sdm   The motion file to write (keep _3DMC in its name for the file list).
                       -o sub-01_task-nback_run-1_3DMC.sdm
  --dummy N          Drops the first N rows (the volumes left out of the time course).
                       --dummy 4
)";
        case BidsCommand::Design:
            return R"(sdmweaver design --events EVENTS.tsv (--tr S --volumes N | --bold BOLD.nii[.gz])
          [--confounds TSV (--columns PATTERNS | --strategy NAME | --motion E ...)]
          [--hrf two-gamma|boynton] [--derivative] [--modulation COLUMN [--modulation-na mean]]
          [--slice-time-ref F] [--dummy N] [--z-transform] -o OUT.sdm [--tsv OUT.tsv]
          [--plot DIR] [--qc DIR]
  Writes a design matrix straight from the events: one predictor per condition, convolved
  exactly as the host does (a zero duration is an impulse of area 1 s), sampled at volume k
  (from 0, after N dummies) at (k + N + F) x TR; then the derivatives, the modulations, the
  confounds and the constant. One line on standard error says which volumes, TR, slice-time
  reference and dummies it used and where each came from; the design check follows.
  --events FILE      The BIDS events file.
                       --events sub-01_task-nback_run-1_events.tsv
  --tr S --volumes N The repetition time in seconds and the volumes in the run's data file
                     (dummies included).
                       --tr 2 --volumes 240
  --bold FILE        Takes them from the NIfTI-1/2 header (dim[4], pixdim[4]) and the JSON
                     sidecar's RepetitionTime (beside it or inherited; it wins over the header),
                     and F from the sidecar's StartTime (F = StartTime / TR). A TR outside
                     0.1-30 s, or a sidecar and a header a factor near 1000 apart, is refused.
                       --bold sub-01_task-nback_run-1_bold.nii.gz
  --confounds TSV --columns PATTERNS
                     Confound columns of an fMRIPrep table, by comma-separated wildcard
                     patterns in the order given; n/a only in the first rows (set to 0).
                       --confounds run1_desc-confounds_timeseries.tsv --columns 'trans_?,rot_?'
  --strategy simple|scrubbing|compcor
                     The denoising presets of nilearn's load_confounds: simple = --motion full
                     --wm-csf basic --high-pass; scrubbing = --motion full --wm-csf full
                     --scrub 5 --high-pass; compcor = --motion full --compcor anat_combined
                     --n-compcor all --high-pass. Options given as well change the preset.
                       --strategy simple
  --motion E, --wm-csf E, --global-signal E
                     trans_x ... rot_z, csf and white_matter, global_signal; E = basic (the
                     columns), power2 (and _power2), derivatives (and _derivative1), full (and
                     _derivative1, _power2, _derivative1_power2).
                       --motion full --wm-csf basic
  --compcor anat_combined|temporal [--n-compcor N|all]
                     The first N components (default all) in the order of the table's JSON
                     sidecar: aCompCor of the combined mask, or tCompCor; components not
                     retained are skipped.
                       --compcor anat_combined --n-compcor 5
  --high-pass        The table's cosine* columns.
  --scrub N [--fd-threshold MM] [--std-dvars-threshold X]
                     A spike column (motion_outlier_NN) per censored volume: framewise
                     displacement over MM (0.5) or std_dvars over X (1.5), and every stretch of
                     fewer than N kept volumes next to one. Any strategy option also takes the
                     table's non_steady_state_outlier* columns.
                       --scrub 5 --fd-threshold 0.4
  --hrf NAME         two-gamma (default) or boynton.
                       --hrf boynton
  --derivative       Per condition its exact time derivative, orthogonalised against it,
                     named "<condition> derivative".
                       --derivative
  --modulation COLUMN
                     Per condition a predictor whose events carry the column's values,
                     demeaned within the condition, named "<condition> x <column>". An event
                     of n/a beside values is refused unless --modulation-na mean gives it the
                     condition's mean (it adds nothing to the modulation).
                       --modulation gain --modulation-na mean
  --slice-time-ref F The slice-timing reference as a fraction of the TR (0 to 1; default
                     StartTime / TR with --bold, else 0).
                       --slice-time-ref 0.5
  --dummy N          Drops the first N volumes (and confound rows).
                       --dummy 4
  --z-transform      z-transforms the confound columns.
                       --z-transform
  -o OUT.sdm         The design matrix to write.
                       -o run1_design.sdm
  --tsv OUT.tsv      Also writes it as a table with a header row.
                       --tsv run1_design.tsv
  --plot DIR         Also draws it as an SVG picture in DIR.
                       --plot pictures
  --qc DIR           Also writes its quality report into DIR (see sdmweaver qc --help), the
                     displacement from the confound table's motion estimates.
                       --qc qc
)";
        case BidsCommand::List:
            return R"(sdmweaver bids-list BIDS_DIR --task T --derivatives FMRIPREP_DIR --out DIR --vtc PATTERN
          [--conditions A,B,...] [--modulation COLUMN] [--fixation NAME] [--min-duration MS]
          [--dummy N] [--slice-time-ref F] [--qc DIR]
  For every run of the task: its protocol (as events-to-prt makes it) and motion file (as
  confounds-to-motion makes it) in DIR, and one file list for the batch, task-T_list.txt, naming
  each run's time course from the pattern ({sub}, {ses}, {task}, {run}: the run's values). Runs
  without events or without a confound table are skipped, with the reason. Every run gets the
  task's conditions in one order (first appearance over the runs). A run with a file that
  cannot be used is named (file, row, column) and left out; the others are written and the
  exit status is 3.
  --task T           The task label.
                       --task nback
  --derivatives DIR  The fMRIPrep output folder.
                       --derivatives derivatives/fmriprep
  --out DIR          Where the protocols, motion files and the list go (created when missing).
                       --out batch
  --vtc PATTERN      The time course of each run.
                       --vtc 'D:/study/sub-{sub}/sub-{sub}_task-{task}_run-{run}.vtc'
  --dummy N --slice-time-ref F
                     Drop N rows of each motion file and move each run's events by -(N + F) x
                     its own TR (from its BOLD file and sidecars; F from fMRIPrep's StartTime
                     unless given).
                       --dummy 4
  --qc DIR           Also writes the quality report of the designs the batch will make (see
                     sdmweaver qc --help), before any time course exists: each run's protocol
                     and motion file with the host's model as a batch with the default answers
                     runs it (two-gamma, value 1, no condition skipped, no z-transform), its
                     volumes (dummies left out) and TR from its BOLD file.
                       --qc qc
  The protocol options work as for events-to-prt.
)";
    }
    return "";
}

std::string bidsHelpText() {
    std::string text = R"(
BIDS and fMRIPrep commands. A failure (a missing onset or duration column, a value that is
not a number, a negative duration, an empty file, a CR inside a line, an unreadable NIfTI file,
an implausible TR) is one message naming the file and the row, exit status 2, and nothing
written; otherwise the exit status is 0 (3 when bids-list left out a run for a bad file). A
UTF-8 byte-order mark and CR LF line ends are read, with a note. Notes go to standard error. Option values follow as the
next argument or after '='.

)";
    for (const BidsCommand command : {BidsCommand::EventsToPrt, BidsCommand::ConfoundsToMotion,
                                      BidsCommand::Design, BidsCommand::List}) {
        text += bidsCommandHelp(command);
        text += '\n';
    }
    text += R"(Examples:
  sdmweaver events-to-prt sub-01_task-nback_run-1_events.tsv --fixation Rest
  sdmweaver confounds-to-motion sub-01_task-nback_run-1_desc-confounds_timeseries.tsv --dummy 4
  sdmweaver design --events sub-01_task-nback_run-1_events.tsv --bold sub-01_task-nback_run-1_bold.nii.gz
            --confounds sub-01_task-nback_run-1_desc-confounds_timeseries.tsv
            --strategy simple --derivative -o run1.sdm
  sdmweaver bids-list ds001 --task nback --derivatives ds001/derivatives/fmriprep --out batch
            --vtc 'D:/study/sub-{sub}_task-{task}_run-{run}.vtc'
)";
    return text;
}

}  // namespace headless
