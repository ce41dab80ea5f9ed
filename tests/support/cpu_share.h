#pragma once

#include <algorithm>
#include <chrono>
#include <ctime>

namespace ornet5::test {

// Wall time and processor time of a piece of code, to tell a blocking wait
// from a spinning one. A blocking wait shows well under 1 % of the wall time;
// a spinning one shows 40 to 100 %, depending on what else the machine runs.
struct TTimed {
    std::chrono::milliseconds wall;
    double cpuShare;
};

// This process's processor time in seconds. Not clock(): Windows' clock()
// counts wall time. MinGW's POSIX thread library reads this clock from the
// system's count of the process's time.
inline double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The share below which a wait counts as blocking. The process clock may
// count in 10 ms ticks (under Wine it comes from the kernel's tick counts),
// so one tick during a 100 ms wait is already 10 %; a spinning wait shows
// 40 % or more.
inline constexpr double kBlockingCpuShare = 0.3;

template <typename TBody>
TTimed Time(TBody&& body) {
    using TSteady = std::chrono::steady_clock;
    const auto wallStart = TSteady::now();
    const double cpuStart = ProcessCpuSeconds();
    body();
    const double cpu = ProcessCpuSeconds() - cpuStart;
    const auto wall =
        std::chrono::duration_cast<std::chrono::milliseconds>(TSteady::now() - wallStart);
    return TTimed{wall, cpu / std::max(std::chrono::duration<double>(wall).count(), 1e-3)};
}

}  // namespace ornet5::test
