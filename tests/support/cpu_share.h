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

template <typename TBody>
TTimed Time(TBody&& body) {
    using TSteady = std::chrono::steady_clock;
    const auto wallStart = TSteady::now();
    const std::clock_t cpuStart = std::clock();
    body();
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const auto wall =
        std::chrono::duration_cast<std::chrono::milliseconds>(TSteady::now() - wallStart);
    return TTimed{wall, cpu / std::max(std::chrono::duration<double>(wall).count(), 1e-3)};
}

}  // namespace ornet5::test
