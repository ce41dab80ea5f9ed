#pragma once

#include <fstream>
#include <string>

namespace ornet5::bench {

// How far this process's resident memory rose above where it stood when
// the measure started, from Linux's /proc/self: the peak (VmHWM) is started
// afresh, so what an earlier iteration took does not count again.
class TMemoryGrowth {
  public:
    TMemoryGrowth() {
        // Writing 5 to clear_refs starts the peak afresh.
        std::ofstream("/proc/self/clear_refs") << "5";
        start_ = StatusKilobytes("VmRSS:");
    }

    // The highest resident size since the start, less the size then; in
    // kilobytes.
    long Kilobytes() const { return StatusKilobytes("VmHWM:") - start_; }

  private:
    static long StatusKilobytes(const std::string& field) {
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);) {
            if (line.starts_with(field)) {
                return std::stol(line.substr(field.size()));
            }
        }
        return -1;
    }

    long start_ = 0;
};

}  // namespace ornet5::bench
