#include "tools/ornet5-sim/sim_log.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>

namespace ornet5 {

void LogLine(std::string_view text) {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char stamp[32];
    const std::size_t length = std::strftime(stamp, sizeof stamp, "%H:%M:%S", &local);
    std::fprintf(stderr, "%.*s.%03d %.*s\n", static_cast<int>(length), stamp,
                 static_cast<int>(millis), static_cast<int>(text.size()), text.data());
    std::fflush(stderr);
}

}  // namespace ornet5
