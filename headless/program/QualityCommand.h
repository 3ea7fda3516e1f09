#pragma once

// Where the program's quality reports come from, besides `sdmweaver qc FILE... -o DIR` over
// existing design matrices: --qc DIR on the run (the design matrices it produced, with the run
// report), on `check` (the designs the list would give, made in memory) and on the BIDS
// commands.

#include <optional>
#include <string>
#include <vector>

#include "batch/RunPlan.h"
#include "bids/Commands.h"
#include "headless/program/CommandLine.h"
#include "headless/program/PreflightCheck.h"
#include "headless/program/QualityReport.h"
#include "headless/program/RunReport.h"

namespace headless {

// The runs of a finished run (its plan and the report's outcomes): per pair the last design matrix
// written for it (the merged one when it has confounds), its motion file, its time course's TR, its
// protocol's events past the last volume, and the run report's result and reasons.
std::vector<QualitySource> runQualitySources(const batch::RunPlan& plan,
                                             const std::vector<PairOutcome>& pairs,
                                             const std::optional<std::string>& volumeDocument);

// The runs a check foresees: per pair the design the list would give, made from the protocol the
// host would use and the time course's header with the host's model, and the check's verdict
// and findings.
std::vector<QualitySource> checkQualitySources(const CheckResult& result,
                                               const batch::RunPlan& plan,
                                               const std::string& volumeDocument,
                                               const Options& options);

// The design the design command wrote, its TR, its events past the last volume, and the
// displacement from the confound table's motion estimates. Reads files; InputError as the
// readers give it.
std::vector<QualitySource> designQualitySources(const bids::DesignCommand& command);

// The designs of the runs bids-list wrote into the list at `listPath`, made with the host's
// model and the batch's default answers, with each run's volumes (dummies left out) and TR from
// its BOLD file; a run without one has no design.
std::vector<QualitySource> listingQualitySources(const bids::ListingRequest& request,
                                                 const std::string& listPath);

// Writes the report and says so on the console; answers `status`, or kStepRefused for a
// successful one when the report could not be written.
int publishQuality(const std::vector<QualitySource>& sources, const std::string& folder,
                   int status);

}  // namespace headless
