#pragma once

#include <fstream>
#include <string>

#include "bench/process_stat.h"

namespace ornet5::bench {

// How far this process's resident memory rose above where it stood when
// the measure started, from Linux's /proc/self: the peak (VmHWM) is started
// afresh, so what an earlier iteration took does not count again.
class TMemoryGrowth {
  public:
    TMemoryGrowth() {
        // Writing 5 to clear_refs starts the peak afresh.
        std::ofstream("/proc/self/clear_refs") << "5";
        start_ = StatusKilobytes("self", "VmRSS:");
    }

    // The highest resident size since the start, less the size then; in
    // kilobytes.
    long Kilobytes() const { return StatusKilobytes("self", "VmHWM:") - start_; }

  private:
    long start_ = 0;
};

}  // namespace ornet5::bench
