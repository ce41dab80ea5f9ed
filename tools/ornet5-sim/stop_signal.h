#pragma once

#include "common/posix_descriptor.h"

namespace ornet5 {

// SIGINT and SIGTERM as a readable descriptor, so that the main loop's
// poll() wakes for them and the program can tidy up before it ends.
class TStopSignal {
  public:
    // Blocks both signals' default action for this thread. Throws ESimError.
    TStopSignal();

    int Fd() const { return fd_.Get(); }

    // Consumes a pending signal; true when one had arrived.
    bool Take();

  private:
    TPosixDescriptor fd_;
};

}  // namespace ornet5
