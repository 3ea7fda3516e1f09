#include "headless/program/QualityReport.h"

#include <exception>
#include <filesystem>

#include "bids/OutputFiles.h"
#include "plot/DesignCheck.h"
#include "plot/DesignPicture.h"
#include "plot/QualityPage.h"
#include "plot/QualityTables.h"
#include "plot/RunFigures.h"

namespace headless {

namespace fs = std::filesystem;

namespace {

// Writes one file whole; the error when it cannot be.
std::string writeWhole(const std::string& path, const std::string& text) {
    try {
        bids::writeOutputs({{path, text, false}});
    } catch (const std::exception& failure) {
        return failure.what();
    }
    return {};
}

// The run's figures and picture; `picture` is where the picture goes.
plot::QualityRun judgeable(const QualitySource& source, const fs::path& folder,
                           const fs::path& picture, std::string& failure) {
    plot::QualityRun run;
    run.name = source.name;
    run.repetitionTimeMs = source.repetitionTimeMs;
    run.eventsPastEnd = source.eventsPastEnd;
    run.result = source.result;
    run.resultReasons = source.resultReasons;
    run.error = source.error;
    std::optional<formats::DesignTable> table = source.design;
    if (!table && source.designPath) {
        formats::DesignTableRead read = formats::readDesignTable(*source.designPath);
        if (!read.table) {
            run.error = read.error;
            return run;
        }
        table = std::move(read.table);
    }
    if (!table || table->nrOfPredictors() == 0 || table->nrOfVolumes() == 0) {
        return run;
    }
    std::optional<formats::DesignTable> motion = source.motion;
    if (!motion && source.motionPath) {
        motion = formats::readDesignTable(*source.motionPath).table;
    }
    run.figures = plot::computeRunFigures(*table, motion ? &*motion : nullptr);
    const plot::DesignCheck check = plot::checkDesign(*table);
    const std::string title =
        fs::path(table->path.empty() ? source.name : table->path).filename().string();
    if (std::string error =
            writeWhole(picture.string(), plot::drawDesignPicture(*table, check, title));
        !error.empty()) {
        failure = error;
        return run;
    }
    run.picture = fs::relative(picture, folder).generic_string();
    return run;
}

}  // namespace

std::size_t eventsPastEnd(const formats::Protocol& protocol, int volumes, double repetitionTimeMs) {
    std::size_t past = 0;
    const double endMs = volumes * repetitionTimeMs;
    for (const formats::ProtocolCondition& condition : protocol.conditions) {
        for (const std::int32_t start : condition.starts) {
            past += protocol.resolution == formats::TimeResolution::Volumes
                        ? (start > volumes ? 1 : 0)
                        : (start >= endMs ? 1 : 0);
        }
    }
    return past;
}

QualityWritten writeQualityReport(const std::vector<QualitySource>& sources,
                                  const std::string& folder) {
    QualityWritten written;
    const fs::path pictures = fs::path(folder) / "pictures";
    std::error_code code;
    fs::create_directories(pictures, code);
    if (!fs::is_directory(pictures)) {
        written.error = "cannot make the folder " + pictures.string() +
                        (code ? ": " + code.message() : std::string());
        return written;
    }
    std::vector<std::string> names;
    for (const QualitySource& source : sources) {
        names.push_back(source.designPath.value_or(source.name));
    }
    const std::vector<fs::path> pictureFiles = plot::pictureNames(names, pictures);
    plot::StudyQuality study;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        std::string failure;
        study.runs.push_back(judgeable(sources[i], folder, pictureFiles[i], failure));
        if (!failure.empty() && written.error.empty()) {
            written.error = failure;
        }
    }
    plot::judgeStudy(study);
    const std::string json = plot::qualityJson(study);
    try {
        bids::writeOutputs(
            {{(fs::path(folder) / "qc.tsv").string(), plot::qualityTsv(study), false},
             {(fs::path(folder) / "qc.json").string(), json, false},
             {(fs::path(folder) / "index.html").string(), plot::qualityPage(study, json), false}});
    } catch (const std::exception& failure) {
        written.error = failure.what();
    }
    for (std::size_t i = 0; i < sources.size(); ++i) {
        written.unreadable += sources[i].designPath && !study.runs[i].figures ? 1U : 0U;
    }
    written.runs = study.runs.size();
    written.standingOut = study.standingOut();
    return written;
}

bool sayQualityWritten(const QualityWritten& written, const std::string& folder,
                       const plot::Say& say) {
    if (!written.error.empty()) {
        say("sdmweaver: ", "quality report in " + folder + ": " + written.error);
    }
    say("sdmweaver: ",
        "quality report of " + std::to_string(written.runs) + " run(s) in " +
            (fs::path(folder) / "index.html").string() + ", " +
            std::to_string(written.standingOut) + " standing out" +
            (written.unreadable > 0 ? ", " + std::to_string(written.unreadable) + " not read"
                                    : std::string()));
    return written.error.empty();
}

}  // namespace headless
