#pragma once

// Every run of a task in a BIDS dataset and its fMRIPrep derivatives, made ready for the batch:
// per run a protocol from its events and a motion file from its confound table, and one file
// list naming them with the run's time course, which the workstation makes itself.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "bids/EventsProtocol.h"

namespace bids {

struct ListingRequest {
    std::string bidsFolder;
    std::string task;
    std::string derivativesFolder;
    std::string outputFolder;
    // The time course of each run: {sub}, {ses}, {task}, {run} (any entity of the run) stand for
    // the run's values.
    std::string timeCoursePattern;
    ProtocolRequest protocol;
    // Rows dropped from the start of each motion file; every event moves by -(dummies + slice
    // reference) x the run's own TR.
    std::size_t dummies = 0;
    std::optional<double> sliceReference;  // given; else each run's StartTime / TR
};

struct PlannedFile {
    std::string path;
    std::string text;
};

struct Listing {
    std::vector<PlannedFile> files;  // protocols and motion files, then the file list
    std::size_t listed = 0;
    std::size_t skipped = 0;
    std::size_t failed = 0;  // of the skipped, those left out for a file that cannot be used
    std::vector<std::string> boldFiles;  // per run listed, its BOLD file; empty when none
};

// The runs: those with a BOLD file, an events file or a confound table of the task; a run
// without events (its own or inherited) or without a confound table is skipped, with the reason
// in `notes`. InputError for a file that cannot be used (naming it, the row and the column), a
// pattern naming an entity a run lacks or giving two runs one time course, and when no run can
// be listed.
Listing planListing(const ListingRequest& request, std::vector<std::string>& notes);

// The time course of a run named by `entities` ("sub-01_task-x_run-1"), from the pattern.
std::string expandPattern(const std::string& pattern, const std::string& runName);

// The name of the file list in the output folder.
std::string listFileName(const std::string& task);

}  // namespace bids
