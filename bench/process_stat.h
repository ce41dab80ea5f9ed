#pragma once

#include <unistd.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

// What /proc tells of a process: of this one, or of a program under
// measure that a benchmark started.
namespace ornet5::bench {

// A field of /proc/<process>/status given in kB, such as "VmRSS:";
// process is "self" or a process id. -1 when it cannot be read.
inline long StatusKilobytes(const std::string& process, const std::string& field) {
    std::ifstream status("/proc/" + process + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(field)) {
            return std::stol(line.substr(field.size()));
        }
    }
    return -1;
}

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
