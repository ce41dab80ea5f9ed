#include <ctime>

#include "common/local_time.h"

namespace ornet5 {

// localtime_r applies the user's zone (TZ, else /etc/localtime) with the
// rules in force at that moment, and tm_gmtoff carries the offset it used.
TLocalTime LocalTimeAt(std::chrono::system_clock::time_point moment) {
    const std::time_t seconds =
        std::chrono::system_clock::to_time_t(std::chrono::floor<std::chrono::seconds>(moment));
    std::tm local{};
    if (::localtime_r(&seconds, &local) == nullptr) {
        return {moment, std::chrono::minutes{0}};
    }
    return {moment, std::chrono::minutes{local.tm_gmtoff / 60}};
}

}  // namespace ornet5
