#pragma once

#include "batch/ConfoundCollection.h"

namespace batch {

// One batch run over a file list, driven through the host's dialogs and log; each protocol's
// confounds go to `dispatch`. False only when no volume document is open; true otherwise,
// cancellations and failed protocols included.
bool runBatch(const ConfoundDispatch& dispatch = ConfoundDispatch());

}  // namespace batch
