#pragma once

#include "batch/ConfoundCollection.h"

namespace batch {

// One batch run over a file list, driven through the host's dialogs and log; the first log line
// names the plug-in as `pluginName`, and each protocol's confounds go to `merger`. False only
// when no volume document is open or the host lacks an operation the run may call (logged after
// the run's first line); true otherwise, cancellations and failed protocols included.
bool runBatch(const char* pluginName, const ConfoundMerger& merger = ConfoundMerger());

}  // namespace batch
