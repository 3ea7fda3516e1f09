// The design matrix under construction: predictors filled from the current protocol's
// conditions, convolved with a response function, and saved as a design matrix file.

#include <string>

#include "headless/DesignMatrixSaving.h"
#include "headless/HostExports.h"
#include "headless/HostSession.h"
#include "headless/ProtocolRecordFill.h"

using headless::HostSession;
using headless::hostSession;

namespace {

std::string textOf(const char* text) {
    return text != nullptr ? text : "";
}

// The named predictor; null, with the step refused, when there is none.
headless::Predictor* predictorNamed(HostSession& session, const std::string& name,
                                    const char* step) {
    headless::Predictor* predictor = session.designMatrix.find(name);
    if (predictor == nullptr) {
        session.refuse(std::string(step) + ": there is no predictor named '" + name + "'");
    }
    return predictor;
}

// The condition of the current protocol known by that name, in full or as its record holds it.
const formats::ProtocolCondition* conditionNamed(const HostSession& session,
                                                 const std::string& name) {
    if (!session.protocol) {
        return nullptr;
    }
    for (const auto& condition : session.protocol->conditions) {
        if (condition.name == name || headless::recordedConditionName(condition) == name) {
            return &condition;
        }
    }
    return nullptr;
}

int applyResponse(const char* predictorName, response::ResponseFunction function) {
    auto& session = hostSession();
    headless::Predictor* predictor =
        predictorNamed(session, textOf(predictorName), "response function not applied");
    if (predictor == nullptr) {
        return 0;
    }
    session.designMatrix.convolve(*predictor, function);
    return 1;
}

}  // namespace

extern "C" {

int tkClearDesignMatrix() {
    hostSession().designMatrix.clear();
    return 1;
}

int tkAddPredictor(const char* name) {
    auto& session = hostSession();
    if (!session.timeCourse) {
        session.refuse("predictor '" + textOf(name) + "' not added: no time course is linked");
        return 0;
    }
    session.designMatrix.addPredictor(textOf(name));
    return 1;
}

int tkSetPredictorValuesFromConditionName(const char* predictorName, const char* conditionName,
                                          float value) {
    auto& session = hostSession();
    const char* step = "predictor not filled";
    headless::Predictor* predictor = predictorNamed(session, textOf(predictorName), step);
    if (predictor == nullptr) {
        return 0;
    }
    const formats::ProtocolCondition* condition = conditionNamed(session, textOf(conditionName));
    if (condition == nullptr) {
        session.refuse(std::string(step) + ": the current protocol has no condition named '" +
                       textOf(conditionName) + "'");
        return 0;
    }
    const auto& matrix = session.designMatrix;
    session.designMatrix.fill(*predictor,
                              headless::conditionEvents(*condition, session.protocol->resolution,
                                                        matrix.repetitionTimeMs(), value),
                              condition->color);
    return 1;
}

int tkApplyTwoGammaHRFToPredictorWithName(const char* predictorName) {
    return applyResponse(predictorName, response::ResponseFunction::TwoGamma);
}

int tkApplyBoyntonHRFToPredictorWithName(const char* predictorName) {
    return applyResponse(predictorName, response::ResponseFunction::Boynton);
}

float* tkGetPredictor(int index) {
    auto& session = hostSession();
    float* values = session.designMatrix.values(index);
    if (values == nullptr) {
        session.console.note("no predictor at index " + std::to_string(index));
    }
    return values;
}

int tkSaveSingleStudyGLMDesignMatrix(const char* path) {
    auto& session = hostSession();
    const std::string target = textOf(path);
    std::string error;
    if (!headless::saveDesignMatrix(session.designMatrix, target, error)) {
        session.refuse("design matrix not saved to " + target + ": " + error);
        return 0;
    }
    const auto& matrix = session.designMatrix;
    session.console.note("saved design matrix " + target + " (" +
                         std::to_string(matrix.predictors().size()) + " predictors, " +
                         std::to_string(matrix.nrOfVolumes()) + " data points)");
    ++session.savedDesignMatrices;
    session.observe([&](headless::RunObserver& o) { o.saved(target, matrix); });
    return 1;
}
}
