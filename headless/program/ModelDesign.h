#pragma once

// The design matrix a pair would get, made in memory without the plug-in: the protocol's
// conditions as the host builds and convolves them, then the confounds as the plug-in merges
// them (read with its own readers, z-transformed on request), then the constant. For reports
// before a run.

#include <array>
#include <optional>
#include <string>

#include "designmatrix/ConfoundKinds.h"
#include "formats/DesignTable.h"
#include "formats/Protocol.h"
#include "response/ResponseFunction.h"

namespace headless {

struct ModelRequest {
    int volumes = 0;
    double repetitionTimeMs = 0.0;
    response::ResponseFunction function = response::ResponseFunction::TwoGamma;
    float value = 1.0f;
    bool skipFirst = false;
    bool zTransform = false;
    // The confound files merged, per kind in merge order (designmatrix::ConfoundKind).
    std::array<std::optional<std::string>, designmatrix::kConfoundKinds> confounds;
};

struct ModelDesign {
    std::optional<formats::DesignTable> table;
    std::string error;  // why there is none: no volumes or TR, a confound file it cannot use
};

// The design of `protocol` for the request; `name` becomes the table's path.
ModelDesign modelDesign(const formats::Protocol& protocol, const ModelRequest& request,
                        const std::string& name);

}  // namespace headless
