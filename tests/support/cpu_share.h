#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

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

// This process's processor time in seconds. Windows' clock() counts wall
// time, so there the system's own count of the process's time is read.
inline double ProcessCpuSeconds() {
#ifdef _WIN32
    FILETIME created;
    FILETIME ended;
    FILETIME kernel;
    FILETIME user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    const auto ticks = [](const FILETIME& time) {
        return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) |
                                   time.dwLowDateTime);
    };
    constexpr double kTicksPerSecond = 1e7;  // 100 ns units
    return (ticks(kernel) + ticks(user)) / kTicksPerSecond;
#else
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
#endif
}

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
