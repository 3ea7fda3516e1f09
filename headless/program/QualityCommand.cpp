#include "headless/program/QualityCommand.h"

#include "bids/ConfoundsFile.h"
#include "bids/EventsFile.h"
#include "bids/MotionFile.h"
#include "bids/RunTiming.h"
#include "formats/ProtocolReader.h"
#include "formats/TimeCourse.h"
#include "headless/program/ExitStatus.h"
#include "headless/program/ModelDesign.h"
#include "headless/program/ProtocolPlace.h"

namespace headless {

namespace {

struct RunTimes {
    std::optional<double> repetitionTimeMs;
    std::optional<std::size_t> eventsPastEnd;
};

// The time course's TR, and the events past its end of the protocol the host uses.
RunTimes timesOf(const std::string& listed, const std::string& timeCourse,
                 const std::string& volumeDocument, std::optional<formats::Protocol>* protocolOut) {
    RunTimes times;
    const formats::TimeCourseRead read = formats::readTimeCourseHeader(timeCourse);
    if (!read.header) {
        return times;
    }
    times.repetitionTimeMs = read.header->repetitionTimeMs;
    const ProtocolPlace place = findListedProtocol(listed, timeCourse, volumeDocument);
    if (!place.path) {
        return times;
    }
    formats::ProtocolRead protocol = formats::readProtocolFile(*place.path);
    if (!protocol.protocol) {
        return times;
    }
    times.eventsPastEnd =
        eventsPastEnd(*protocol.protocol, read.header->nrOfVolumes, read.header->repetitionTimeMs);
    if (protocolOut != nullptr) {
        *protocolOut = std::move(protocol.protocol);
    }
    return times;
}

constexpr auto kMotion = static_cast<std::size_t>(designmatrix::ConfoundKind::Motion);

std::optional<std::string> motionOf(const batch::RunPlan& plan, const batch::PlannedPair& pair) {
    if (const auto& motion = pair.chosen[kMotion]) {
        return plan.list.entries[*motion];
    }
    return std::nullopt;
}

// The last design matrix a pair writes: the merged one when it has confounds.
std::string lastDesignMatrixOf(const batch::PlannedPair& pair) {
    return pair.merged.empty() ? pair.base : pair.merged;
}

// The motion estimates of a design as a table: translations, then rotations in degrees.
formats::DesignTable motionTable(const bids::Design& design, const std::string& name) {
    formats::DesignTable table;
    table.path = name;
    const char* names[] = {"Translation X [mm]", "Translation Y [mm]", "Translation Z [mm]",
                           "Rotation X [deg]",   "Rotation Y [deg]",   "Rotation Z [deg]"};
    for (std::size_t k = 0; k < design.predictors.size() && k < 6; ++k) {
        table.names.push_back(names[k]);
        table.columns.push_back(design.predictors[k].values);
        table.roles.push_back(formats::PredictorRole::Confound);
    }
    return table;
}

}  // namespace

std::vector<QualitySource> designQualitySources(const bids::DesignCommand& command) {
    QualitySource source;
    source.name = command.outputPath;
    source.designPath = command.outputPath;
    std::vector<std::string> notes;
    bids::RunTiming timing;
    if (command.boldPath) {
        timing = bids::boldRunTiming(*command.boldPath, notes);
    } else {
        timing.repetitionTime = command.repetitionTime.value_or(0.0);
        timing.volumes = command.volumes.value_or(0);
    }
    source.repetitionTimeMs = timing.repetitionTime * 1000.0;
    const bids::EventsFile events = bids::readEventsFile(command.design.eventsPath);
    std::size_t past = 0;
    for (const bids::Event& event : events.events) {
        past += event.onset >= static_cast<double>(timing.volumes) * timing.repetitionTime ? 1 : 0;
    }
    source.eventsPastEnd = past;
    if (command.design.confoundsPath) {
        try {
            source.motion = motionTable(
                bids::motionFromConfounds(bids::readConfoundsFile(*command.design.confoundsPath),
                                          command.design.dummies, notes),
                *command.design.confoundsPath);
        } catch (const std::exception&) {
            // A table without motion estimates: the run has no displacement.
        }
    }
    return {source};
}

std::vector<QualitySource> listingQualitySources(const bids::ListingRequest& request,
                                                 const std::string& listPath) {
    std::vector<std::string> notes;
    const bids::Listing listing = bids::planListing(request, notes);
    const batch::RunPlan plan = readListRun(listPath, false).plan;
    std::vector<QualitySource> sources;
    for (std::size_t k = 0; k < plan.pairs.size(); ++k) {
        const batch::PlannedPair& pair = plan.pairs[k];
        QualitySource source;
        source.name = plan.list.entries[pair.protocol];
        if (!pair.timeCourse) {
            sources.push_back(std::move(source));
            continue;
        }
        source.name = lastDesignMatrixOf(pair);
        source.motionPath = motionOf(plan, pair);
        const std::string bold = k < listing.boldFiles.size() ? listing.boldFiles[k] : "";
        formats::ProtocolRead protocol =
            formats::readProtocolFile(plan.list.entries[pair.protocol]);
        if (bold.empty() || !protocol.protocol) {
            source.error = bold.empty() ? "no BOLD file: no volumes and no TR" : protocol.error;
            sources.push_back(std::move(source));
            continue;
        }
        const bids::RunTiming timing = bids::boldRunTiming(bold, notes);
        ModelRequest model;
        model.volumes =
            static_cast<int>(timing.volumes - static_cast<std::int64_t>(request.dummies));
        model.repetitionTimeMs = timing.repetitionTime * 1000.0;
        source.repetitionTimeMs = model.repetitionTimeMs;
        source.eventsPastEnd =
            eventsPastEnd(*protocol.protocol, model.volumes, model.repetitionTimeMs);
        model.confounds[kMotion] = source.motionPath;
        ModelDesign design = modelDesign(*protocol.protocol, model, source.name);
        source.design = std::move(design.table);
        source.error = design.error;
        sources.push_back(std::move(source));
    }
    return sources;
}

std::vector<QualitySource> runQualitySources(const batch::RunPlan& plan,
                                             const std::vector<PairOutcome>& pairs,
                                             const std::optional<std::string>& volumeDocument) {
    std::vector<QualitySource> sources;
    for (const PairOutcome& outcome : pairs) {
        QualitySource source;
        if (outcome.pair > plan.pairs.size()) {
            // A pair the list declares but does not hold: no design to judge.
            source.name = "pair " + std::to_string(outcome.pair);
            source.error = outcome.reason;
            source.result = plot::PairResult::Failed;
            source.resultReasons.push_back(outcome.reason);
            sources.push_back(std::move(source));
            continue;
        }
        const batch::PlannedPair& pair = plan.pairs[outcome.pair - 1];
        if (outcome.mergedOutcome == MergedOutcome::Complete) {
            source.designPath = outcome.merged;
        } else if (outcome.baseOutcome == BaseOutcome::Saved) {
            source.designPath = outcome.base;
        } else {
            source.error = "no design matrix was written";
        }
        source.name = source.designPath.value_or(std::string(outcome.protocol));
        source.motionPath = motionOf(plan, pair);
        source.result = !outcome.ok                ? plot::PairResult::Failed
                        : outcome.warnings.empty() ? plot::PairResult::Ok
                                                   : plot::PairResult::Warned;
        if (!outcome.reason.empty()) {
            source.resultReasons.push_back(outcome.reason);
        }
        for (const auto* whys : {&outcome.warnings, &outcome.notes}) {
            source.resultReasons.insert(source.resultReasons.end(), whys->begin(), whys->end());
        }
        if (!outcome.timeCourse.empty()) {
            const RunTimes times =
                timesOf(std::string(outcome.protocol), std::string(outcome.timeCourse),
                        volumeDocument.value_or(""), nullptr);
            source.repetitionTimeMs = times.repetitionTimeMs;
            source.eventsPastEnd = times.eventsPastEnd;
        }
        sources.push_back(std::move(source));
    }
    return sources;
}

std::vector<QualitySource> checkQualitySources(const CheckResult& result,
                                               const batch::RunPlan& plan,
                                               const std::string& volumeDocument,
                                               const Options& options) {
    std::vector<QualitySource> sources;
    for (const PairCheck& check : result.pairs) {
        QualitySource source;
        const Verdict verdict = check.verdict();
        source.result = verdict == Verdict::Fail      ? plot::PairResult::Failed
                        : verdict == Verdict::Warning ? plot::PairResult::Warned
                                                      : plot::PairResult::Ok;
        for (const Finding& finding : check.findings) {
            if (finding.verdict != Verdict::Ok) {
                source.resultReasons.push_back(finding.text);
            }
        }
        source.name = check.protocol;
        if (check.pair == 0 || check.pair > plan.pairs.size()) {
            // A pair the list declares but does not hold.
            source.name = "pair " + std::to_string(check.pair);
            source.error = "the list does not hold this pair";
            sources.push_back(std::move(source));
            continue;
        }
        const batch::PlannedPair& pair = plan.pairs[check.pair - 1];
        if (!pair.timeCourse) {
            source.error = "no time course follows the protocol";
            sources.push_back(std::move(source));
            continue;
        }
        source.name = lastDesignMatrixOf(pair);
        source.motionPath = motionOf(plan, pair);
        std::optional<formats::Protocol> protocol;
        const RunTimes times = timesOf(check.protocol, check.timeCourse, volumeDocument, &protocol);
        source.repetitionTimeMs = times.repetitionTimeMs;
        source.eventsPastEnd = times.eventsPastEnd;
        const formats::TimeCourseRead header = formats::readTimeCourseHeader(check.timeCourse);
        if (!protocol || !header.header) {
            source.error = "no design: the protocol or the time course cannot be read";
            sources.push_back(std::move(source));
            continue;
        }
        ModelRequest request;
        request.volumes = header.header->nrOfVolumes;
        request.repetitionTimeMs = header.header->repetitionTimeMs;
        request.function = options.hrf;
        request.value = options.value.cancel ? 1.0f : options.value.value;
        request.skipFirst = options.skipFirst;
        request.zTransform = options.zTransform;
        for (std::size_t k = 0; k < designmatrix::kConfoundKinds; ++k) {
            if (pair.chosen[k]) {
                request.confounds[k] = plan.list.entries[*pair.chosen[k]];
            }
        }
        ModelDesign design = modelDesign(*protocol, request, source.name);
        source.design = std::move(design.table);
        source.error = design.error;
        sources.push_back(std::move(source));
    }
    return sources;
}

int publishQuality(const std::vector<QualitySource>& sources, const std::string& folder,
                   int status) {
    const QualityWritten written = writeQualityReport(sources, folder);
    const bool whole = sayQualityWritten(written, folder, show);
    return worsened(status, !whole);
}

}  // namespace headless
