#include "headless/program/ModelDesign.h"

#include <span>

#include "designmatrix/ConfoundKinds.h"
#include "designmatrix/ZTransform.h"
#include "headless/DesignMatrix.h"

namespace headless {

namespace {

std::string unquoted(const std::string& name) {
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
        return name.substr(1, name.size() - 2);
    }
    return name;
}

void addColumn(formats::DesignTable& table, std::string name, const std::vector<double>& values,
               std::size_t rows, formats::PredictorRole role) {
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
    formats::DesignTable table;
    table.path = name;
    const auto rows = static_cast<std::size_t>(request.volumes);
    for (const Predictor& predictor : matrix.predictors()) {
        addColumn(table, predictor.name,
                  std::vector<double>(predictor.values.begin(), predictor.values.end()), rows,
                  formats::PredictorRole::Task);
    }
    table.firstConfound = static_cast<int>(table.names.size()) + 1;
    for (std::size_t k = 0; k < designmatrix::kConfoundKinds; ++k) {
        if (!request.confounds[k]) {
            continue;
        }
        const auto kind = static_cast<designmatrix::ConfoundKind>(k);
        const std::string& path = *request.confounds[k];
        designmatrix::DesignMatrixFilePtr record = designmatrix::readConfound(kind, path.c_str());
        if (!record->readOk || record->nrOfDataPoints < request.volumes) {
            result.error = "the confound file " + path + " cannot be merged";
            return result;
        }
        const std::span<const char* const> names = designmatrix::confoundKind(kind).fixedNames;
        if (kind == designmatrix::ConfoundKind::Motion) {
            if (request.zTransform) {
                designmatrix::zTransformMotion(*record);
            }
            for (std::size_t c = 0; c < names.size() && c < record->motionColumns.size(); ++c) {
                addColumn(table, names[c], record->motionColumns[c], rows,
                          formats::PredictorRole::Confound);
            }
        } else {
            if (request.zTransform) {
                designmatrix::zTransformPredictors(*record);
            }
            for (std::size_t c = 0; c < record->predictorValues.size(); ++c) {
                addColumn(table, unquoted(record->predictorNames[c]), record->predictorValues[c],
                          rows, formats::PredictorRole::Confound);
            }
        }
    }
    addColumn(table, "Constant", std::vector<double>(rows, 1.0), rows,
              formats::PredictorRole::Constant);
    result.table = std::move(table);
    return result;
}

}  // namespace headless
