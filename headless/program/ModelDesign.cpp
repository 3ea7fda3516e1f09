#include "headless/program/ModelDesign.h"

#include "designmatrix/ConfoundReaders.h"
#include "designmatrix/ZTransform.h"
#include "headless/DesignMatrix.h"
#include "headless/program/LogCapture.h"
#include "text/DesignFileHeader.h"

namespace headless {

namespace {

// The names the merged design matrix gives the six motion estimates.
constexpr std::array<const char*, 6> kMotionNames = {
    "Translation ZM-X [mm]", "Translation ZM-Y [mm]", "Translation ZM-Z [mm]",
    "Rotation ZM-X [deg]",   "Rotation ZM-Y [deg]",   "Rotation ZM-Z [deg]"};

std::string unquoted(const std::string& name) {
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
        return name.substr(1, name.size() - 2);
    }
    return name;
}

designmatrix::DesignMatrixFilePtr readConfound(std::size_t slot, const std::string& path) {
    const bool timeCourse = text::designFileLayoutOf(path) == text::DesignFileLayout::TimeCourse;
    if (slot == kMotionSlot) {
        return timeCourse ? designmatrix::readMotionEstimatesRtc(path.c_str())
                          : designmatrix::readMotionEstimatesSdm(path.c_str());
    }
    const std::int32_t kind =
        slot == kHeartRateSlot ? designmatrix::kHeartRateKind : designmatrix::kRespirationKind;
    return timeCourse ? designmatrix::readConfoundsRtc(path.c_str(), kind)
                      : designmatrix::readConfoundsSdm(path.c_str(), kind);
}

void addColumn(plot::DesignTable& table, std::string name, const std::vector<double>& values,
               std::size_t rows, plot::PredictorRole role) {
    table.names.push_back(std::move(name));
    table.columns.emplace_back(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(rows));
    table.roles.push_back(role);
}

}  // namespace

ModelDesign modelDesign(const formats::Protocol& protocol, const ModelRequest& request,
                        const std::string& name) {
    ModelDesign result;
    if (request.volumes <= 0 || !(request.repetitionTimeMs > 0.0)) {
        result.error = "no volumes or no TR to make a design of";
        return result;
    }
    DesignMatrix matrix;
    matrix.reset(request.volumes, request.repetitionTimeMs);
    const std::size_t first = request.skipFirst ? 1 : 0;
    for (std::size_t i = first; i < protocol.conditions.size(); ++i) {
        const formats::ProtocolCondition& condition = protocol.conditions[i];
        matrix.addPredictor(condition.name);
        Predictor* predictor = matrix.find(condition.name);
        matrix.fill(*predictor,
                    conditionEvents(condition, protocol.resolution, request.repetitionTimeMs,
                                    request.value),
                    condition.color);
        matrix.convolve(*predictor, request.function);
    }
    plot::DesignTable table;
    table.path = name;
    const auto rows = static_cast<std::size_t>(request.volumes);
    for (const Predictor& predictor : matrix.predictors()) {
        addColumn(table, predictor.name,
                  std::vector<double>(predictor.values.begin(), predictor.values.end()), rows,
                  plot::PredictorRole::Task);
    }
    table.firstConfound = static_cast<int>(table.names.size()) + 1;
    LogCapture quiet;
    for (std::size_t slot = 0; slot < kConfoundSlots; ++slot) {
        if (!request.confounds[slot]) {
            continue;
        }
        const std::string& path = *request.confounds[slot];
        designmatrix::DesignMatrixFilePtr record = readConfound(slot, path);
        if (!record->readOk || record->nrOfDataPoints < request.volumes) {
            result.error = "the confound file " + path + " cannot be merged";
            return result;
        }
        if (slot == kMotionSlot) {
            if (request.zTransform) {
                designmatrix::zTransformMotion(*record);
            }
            for (std::size_t k = 0; k < kMotionNames.size(); ++k) {
                addColumn(table, kMotionNames[k], record->motionColumns[k], rows,
                          plot::PredictorRole::Confound);
            }
        } else {
            if (request.zTransform) {
                designmatrix::zTransformPredictors(*record);
            }
            for (std::size_t k = 0; k < record->predictorValues.size(); ++k) {
                addColumn(table, unquoted(record->predictorNames[k]), record->predictorValues[k],
                          rows, plot::PredictorRole::Confound);
            }
        }
    }
    addColumn(table, "Constant", std::vector<double>(rows, 1.0), rows,
              plot::PredictorRole::Constant);
    result.table = std::move(table);
    return result;
}

}  // namespace headless
