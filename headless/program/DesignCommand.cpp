// sdmweaver design: a design matrix straight from a BIDS events file, with its check and, on
// request, its picture and quality report.

#include <filesystem>

#include "bids/Commands.h"
#include "bids/TsvTable.h"
#include "formats/DesignTable.h"
#include "headless/program/BidsProgram.h"
#include "headless/program/Commands.h"
#include "headless/program/ExitStatus.h"
#include "headless/program/InputFiles.h"
#include "headless/program/QualityCommand.h"
#include "plot/DesignCheck.h"
#include "plot/PlotRun.h"

namespace headless {

namespace {

// The command's options as given; the confound strategy is the preset with those given over it.
struct DesignArguments {
    bids::DesignCommand command;
    std::optional<std::string> plotFolder;
    std::optional<std::string> qcFolder;
    bool columnsGiven = false;
    std::optional<std::string> preset;
    bids::ConfoundStrategy options;
    std::optional<std::size_t> scrub;
    std::optional<double> fdThreshold;
    std::optional<double> stdDvarsThreshold;
    bool compCorCountGiven = false;
};

Option expansionOption(const std::string& name, std::string help, std::string examples,
                       std::optional<bids::Expansion>& target) {
    static constexpr bids::Expansion kExpansions[] = {
        bids::Expansion::Basic, bids::Expansion::Power2, bids::Expansion::Derivatives,
        bids::Expansion::Full};
    return {name, "E", std::move(help), std::move(examples),
            oneOf(name, {"basic", "power2", "derivatives", "full"},
                  [&target](std::size_t k) { target = kExpansions[k]; })};
}

Option thresholdOption(const std::string& name, std::string value, std::string help,
                       std::optional<double>& target) {
    return {name, std::move(value), std::move(help), "",
            [&target, name](const std::string& text) -> std::string {
                const std::optional<double> number = bids::parseNumber(text);
                if (!number || !(*number > 0.0)) {
                    return name + " takes a positive number, not '" + text + "'";
                }
                target = number;
                return "";
            }};
}

std::vector<Option> strategyOptions(DesignArguments& given) {
    bids::ConfoundStrategy& options = given.options;
    return {
        {"--strategy", "simple|scrubbing|compcor",
         "The denoising presets of nilearn's load_confounds: simple = --motion full --wm-csf "
         "basic --high-pass; scrubbing = --motion full --wm-csf full --scrub 5 --high-pass; "
         "compcor = --motion full --compcor anat_combined --n-compcor all --high-pass. Options "
         "given as well change the preset.",
         "--strategy simple",
         [&given](const std::string& value) -> std::string {
             if (!bids::strategyPreset(value)) {
                 return "--strategy takes simple, scrubbing or compcor, not '" + value + "'";
             }
             given.preset = value;
             return "";
         }},
        expansionOption("--motion",
                        "trans_x ... rot_z; E = basic (the columns), power2 (and _power2), "
                        "derivatives (and _derivative1), full (and _derivative1, _power2, "
                        "_derivative1_power2).",
                        "--motion full", options.motion),
        expansionOption("--wm-csf", "csf and white_matter, E as for --motion.", "--wm-csf basic",
                        options.wmCsf),
        expansionOption("--global-signal", "global_signal, E as for --motion.",
                        "--global-signal basic", options.globalSignal),
        {"--compcor", "anat_combined|temporal",
         "The first --n-compcor components in the order of the table's JSON sidecar: aCompCor "
         "of the combined mask, or tCompCor; components not retained are skipped.",
         "--compcor anat_combined --n-compcor 5",
         oneOf("--compcor", {"anat_combined", "temporal"},
               [&options](std::size_t k) {
                   options.compCor =
                       k == 0 ? bids::CompCorKind::AnatomicalCombined : bids::CompCorKind::Temporal;
               })},
        {"--n-compcor", "N|all", "How many components --compcor takes (default all).", "",
         [&given, number = wholeNumber("--n-compcor", 1,
                                       [&given](long long count) {
                                           given.options.compCorCount =
                                               static_cast<std::size_t>(count);
                                       })](const std::string& value) {
             given.compCorCountGiven = true;
             if (value == "all") {
                 given.options.compCorCount.reset();
                 return std::string();
             }
             const std::string error = number(value);
             return error.empty() ? error : error + " (or all)";
         }},
        {"--high-pass", "", "The table's cosine* columns.", "--high-pass", raise(options.highPass)},
        {"--scrub", "N",
         "A spike column (motion_outlier_NN) per censored volume: framewise displacement over "
         "--fd-threshold or std_dvars over --std-dvars-threshold, and every stretch of fewer "
         "than N kept volumes next to one.",
         "--scrub 5 --fd-threshold 0.4",
         wholeNumber(
             "--scrub", 0,
             [&given](long long length) { given.scrub = static_cast<std::size_t>(length); })},
        thresholdOption("--fd-threshold", "MM",
                        "The framewise displacement in mm that --scrub censors above (0.5).",
                        given.fdThreshold),
        thresholdOption("--std-dvars-threshold", "X",
                        "The std_dvars that --scrub censors above (1.5).", given.stdDvarsThreshold),
    };
}

CommandSpec designSpec(DesignArguments& given) {
    bids::DesignCommand& command = given.command;
    bids::DesignRequest& request = command.design;
    CommandSpec spec{
        "design",
        "sdmweaver design --events EVENTS.tsv (--tr S --volumes N | --bold BOLD.nii[.gz])\n"
        "    [--confounds TSV (--columns PATTERNS | --strategy NAME | --motion E ...)]\n"
        "    [--hrf two-gamma|boynton] [--derivative] [--modulation COLUMN [--modulation-na "
        "mean]]\n"
        "    [--slice-time-ref F] [--dummy N] [--z-transform] -o OUT.sdm [--tsv OUT.tsv]\n"
        "    [--plot DIR] [--qc DIR]",
        "writes a design matrix straight from the events: one predictor per condition, "
        "convolved exactly as the host does (a zero duration is an impulse of area 1 s), sampled "
        "at volume k (from 0, after N dummies) at (k + N + F) x TR; then the derivatives, the "
        "modulations, the confounds and the constant. One line on standard error says which "
        "volumes, TR, slice-time reference and dummies it used and where each came from; the "
        "design check follows.",
        {{"--events", "FILE", "The BIDS events file.",
          "--events sub-01_task-nback_run-1_events.tsv", assign(request.eventsPath)},
         repetitionTimeOption(command.repetitionTime,
                              "The repetition time in seconds, with --volumes.",
                              "--tr 2 --volumes 240"),
         {"--volumes", "N", "The volumes in the run's data file (dummies included).", "",
          wholeNumber("--volumes", 1,
                      [&command](long long volumes) { command.volumes = volumes; })},
         {"--bold", "FILE",
          "Instead of --tr and --volumes: both from the NIfTI-1/2 header (dim[4], pixdim[4]) and "
          "the JSON sidecar's "
          "RepetitionTime (beside it or inherited; it wins over the header), and F from the "
          "sidecar's StartTime (F = StartTime / TR). A TR outside 0.1-30 s, or a sidecar and a "
          "header a factor near 1000 apart, is refused.",
          "--bold sub-01_task-nback_run-1_bold.nii.gz", assign(command.boldPath)},
         {"--confounds", "TSV",
          "An fMRIPrep confound table, its columns picked by --columns or a strategy; n/a only "
          "in the first rows (set to 0).",
          "--confounds run1_desc-confounds_timeseries.tsv",
          [&request](const std::string& value) -> std::string {
              if (request.confoundsPath && *request.confoundsPath != value) {
                  return "two confound tables for one run, " + *request.confoundsPath + " and " +
                         value + ": name one";
              }
              request.confoundsPath = value;
              return "";
          }},
         {"--columns", "PATTERNS",
          "The confound columns by comma-separated wildcard patterns, in the order given.",
          "--columns 'trans_?,rot_?'",
          [&request, &given](const std::string& value) {
              given.columnsGiven = true;
              return listOf("--columns", value, request.confoundPatterns);
          }}},
        nullptr,
        std::string(
            "Any strategy option (--strategy, --motion, --wm-csf, --global-signal, --compcor, "
            "--high-pass, --scrub) also takes the table's non_steady_state_outlier* "
            "columns.\n\n") +
            kBidsInputHelp +
            "\n\nExit status: 0 the design matrix was written; 2 a usage error or an input that "
            "cannot be used; 3 it was written but its picture or its quality report was not.",
        {"sdmweaver design --events sub-01_task-nback_run-1_events.tsv \\\n"
         "    --bold sub-01_task-nback_run-1_bold.nii.gz \\\n"
         "    --confounds sub-01_task-nback_run-1_desc-confounds_timeseries.tsv \\\n"
         "    --strategy simple --derivative -o run1.sdm"}};
    for (Option& option : strategyOptions(given)) {
        spec.options.push_back(std::move(option));
    }
    std::vector<Option> more = {
        {"--hrf", "NAME", "two-gamma (default) or boynton.", "--hrf boynton",
         oneOf("--hrf", {"two-gamma", "boynton"},
               [&request](std::size_t k) {
                   request.function = k == 0 ? response::ResponseFunction::TwoGamma
                                             : response::ResponseFunction::Boynton;
               })},
        {"--derivative", "",
         "Per condition its exact time derivative, orthogonalised against it, named "
         "\"<condition> derivative\".",
         "--derivative", raise(request.derivatives)},
        {"--modulation", "COLUMN",
         "Per condition a predictor whose events carry the column's values, demeaned within the "
         "condition, named \"<condition> x <column>\". An event of n/a beside values is refused "
         "unless --modulation-na mean gives it the condition's mean (it adds nothing to the "
         "modulation).",
         "--modulation gain --modulation-na mean", assign(request.modulation)},
        {"--modulation-na", "mean",
         "Gives an event of n/a the condition's mean (see --modulation).", "",
         oneOf("--modulation-na", {"mean"},
               [&request](std::size_t) { request.modulationNaMean = true; })},
        sliceReferenceOption(command.sliceReference,
                             "The slice-timing reference as a fraction of the TR (0 to 1; "
                             "default StartTime / TR with --bold, else 0).",
                             "--slice-time-ref 0.5"),
        dummyOption(request.dummies, "Drops the first N volumes (and confound rows).", "--dummy 4"),
        {"--z-transform", "", "z-transforms the confound columns.", "--z-transform",
         raise(request.zTransform)},
        {"-o|--output", "OUT.sdm", "The design matrix to write.", "-o run1_design.sdm",
         assign(command.outputPath)},
        {"--tsv", "OUT.tsv", "Also writes it as a table with a header row.",
         "--tsv run1_design.tsv", assign(command.tablePath)},
        {"--plot", "DIR", "Also draws it as an SVG picture in DIR.", "--plot pictures",
         assign(given.plotFolder)},
        {"--qc", "DIR",
         "Also writes its quality report into DIR (see sdmweaver qc --help), the displacement "
         "from the confound table's motion estimates.",
         "--qc qc", assign(given.qcFolder)},
    };
    for (Option& option : more) {
        spec.options.push_back(std::move(option));
    }
    return spec;
}

// The strategy: the preset, then each option given over it. A usage error for options that
// need another.
std::string resolveStrategy(const DesignArguments& given, bids::ConfoundStrategy& strategy) {
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

std::string checkDesignArguments(DesignArguments& given) {
    const bids::DesignCommand& command = given.command;
    bids::DesignRequest& request = given.command.design;
    if (request.eventsPath.empty()) {
        return "design needs --events EVENTS.tsv";
    }
    if (command.boldPath && (command.repetitionTime || command.volumes)) {
        return "design takes either --bold or --tr and --volumes, not both";
    }
    if (!command.boldPath && !(command.repetitionTime && command.volumes)) {
        return "design needs --tr and --volumes, or --bold BOLD.nii[.gz]";
    }
    if (std::string error = resolveStrategy(given, request.strategy); !error.empty()) {
        return error;
    }
    const bool confoundsPicked = given.columnsGiven || request.strategy.any();
    if (request.confoundsPath.has_value() != confoundsPicked) {
        return request.confoundsPath
                   ? "--confounds needs --columns PATTERNS or a strategy (--strategy, --motion, "
                     "--wm-csf, --global-signal, --compcor, --high-pass, --scrub)"
                   : std::string(given.columnsGiven ? "--columns" : "the confound strategy") +
                         " needs --confounds TSV";
    }
    if (command.outputPath.empty()) {
        return "design needs -o OUT.sdm";
    }
    return "";
}

// The design check of the written design matrix, as the batch shows it with --plot; with a
// folder, its picture too. Answers the exit status.
int checkDesign(const std::string& path, const std::optional<std::string>& folder) {
    if (folder) {
        const plot::PlotOutcome outcome = plot::plotDesignMatrices({path}, *folder, show);
        return outcome.failed == 0 ? kRunSucceeded : kStepRefused;
    }
    const formats::DesignTableRead read = formats::readDesignTable(path);
    if (!read.table) {
        say("no design check of " + path + ": " + read.error);
        return kRunSucceeded;
    }
    for (const std::string& line :
         plot::describeDesignCheck(*read.table, plot::checkDesign(*read.table), path)) {
        show("check: ", line);
    }
    return kRunSucceeded;
}

}  // namespace

int runDesignCommand(const std::vector<std::string>& arguments) {
    DesignArguments given;
    if (const auto status = readBidsArguments(designSpec(given), arguments,
                                              [&given] { return checkDesignArguments(given); })) {
        return *status;
    }
    const bids::DesignCommand& command = given.command;
    // The picture folder is made first, so that a folder that cannot be is said before any work;
    // a failure then takes it away again when this made it.
    std::error_code code;
    const bool folderMade = given.plotFolder && !std::filesystem::exists(*given.plotFolder, code);
    if (given.plotFolder) {
        if (const std::string error = prepareOutputFolder(*given.plotFolder, "picture folder");
            !error.empty()) {
            say(error);
            return kUsageError;
        }
    }
    const auto outcome = doBidsWork([&command](std::vector<std::string>& notes) {
        BidsOutcome made;
        made.written = bids::makeDesign(command, notes, &made.summary);
        return made;
    });
    if (!outcome) {
        if (folderMade) {
            std::filesystem::remove(*given.plotFolder, code);  // only when still empty
        }
        return kUsageError;
    }
    const int status = checkDesign(command.outputPath, given.plotFolder);
    return publishBidsQuality(
        given.qcFolder, [&command] { return designQualitySources(command); }, status);
}

}  // namespace headless
