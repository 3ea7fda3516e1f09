#pragma once

// The design matrix of the host's current protocol: dumped to the log, built and convolved by
// the host, with a constant predictor, and saved under the time course's and protocol's names.

#include <optional>
#include <string>

namespace designmatrix {

// Has the host build one predictor per condition of its current protocol (from the second when
// skipFirstCondition), convolve it (two-gamma when hrfKind is 1, else Boynton), add the constant
// over nrOfDataPoints volumes when addConstant, and save the design matrix beside vtcPath (beside
// the protocol when vtcPath is empty). True when the host saved it. sdmPathOut receives the path
// whenever one was formed, also when saving failed; it is left untouched when the host has no
// protocol, or when the protocol's path fills the host's field (it may have been cut).
bool buildDesignMatrixFromProtocol(int hrfKind, bool logProtocol, float predictorValue,
                                   bool skipFirstCondition, bool addConstant, int nrOfDataPoints,
                                   std::optional<std::string>& sdmPathOut,
                                   const std::string& vtcPath);

// The path the design matrix of the protocol at protocolFile is saved under: the time course's
// stem, "_", the protocol's name without extension, ".sdm"; without a time course, the
// protocol's own stem and ".sdm".
std::string designMatrixPath(const std::string& protocolFile, const std::string& vtcPath);

}  // namespace designmatrix
