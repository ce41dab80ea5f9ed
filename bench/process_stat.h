#pragma once

#include <unistd.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

// What /proc tells of another process (a program under measure), for the
// benchmarks that start one.
namespace ornet5::bench {

// User and system time of the process so far, in seconds (fields 14 and
// 15 of /proc/<pid>/stat, in clock ticks); none when it cannot be read.
inline std::optional<double> ProcessorSeconds(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    const std::string stat{std::istreambuf_iterator<char>(file), {}};
    // The name in parentheses may hold blanks; the fields after it start
    // with the third, the state.
    const std::size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos) {
        return std::nullopt;
    }
    std::istringstream fields(stat.substr(nameEnd + 1));
    const std::vector<std::string> values{std::istream_iterator<std::string>(fields), {}};
    constexpr std::size_t kUtime = 14 - 3;
    constexpr std::size_t kStime = 15 - 3;
    if (values.size() <= kStime) {
        return std::nullopt;
    }
    return (std::stod(values[kUtime]) + std::stod(values[kStime])) /
           static_cast<double>(sysconf(_SC_CLK_TCK));
}

}  // namespace ornet5::bench
