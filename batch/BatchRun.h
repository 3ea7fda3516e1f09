#pragma once

namespace batch {

// One batch run over a file list, driven through the host's dialogs and log. False only when no
// volume document is open; true otherwise, cancellations and failed protocols included.
bool runBatch();

}  // namespace batch
