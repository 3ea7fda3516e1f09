#pragma once

// The plug-in object. It holds no state: the host function table is process-wide and a batch
// run keeps its state to itself.

#include "abi/ZMTKPluginInterface.h"

class SDMWEAVER_API SdmWeaver : public ZMTKPluginInterface {
  public:
    SdmWeaver();
    ~SdmWeaver() override;

    // One batch run. False only when the run cannot start (no volume document, or a host
    // operation the run needs is missing); true otherwise, cancellations included.
    bool execute() override;
    // Binds the host operations and checks the host's version. True: the plug-in can run.
    // False: it cannot; a message was shown when the host is too old, none when binding failed.
    bool initPlugin() override;
};
