#pragma once

namespace workstation {

// Loads sdmweaver.dll from this program's folder and checks it as the workstation uses it, this
// program being the host module: the texts, the version gate, a run, deletion, and the class
// pair's members under Microsoft's names. One line a check on standard output; answers 0 when
// every check passed, 1 otherwise.
int checkTheModule();

}  // namespace workstation
