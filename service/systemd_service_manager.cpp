#include <systemd/sd-daemon.h>

#include "service/service_manager.h"

namespace ornet5 {

void TServiceManager::Ready(const std::string& status) {
    sd_notify(0, ("READY=1\nSTATUS=" + status).c_str());
}

void TServiceManager::Stopping() {
    sd_notify(0, "STOPPING=1");
}

std::optional<std::chrono::microseconds> TServiceManager::WatchdogInterval() const {
    std::uint64_t microseconds = 0;
    if (sd_watchdog_enabled(0, &microseconds) <= 0 || microseconds == 0) {
        return std::nullopt;
    }
    return std::chrono::microseconds(microseconds);
}

void TServiceManager::Alive() {
    sd_notify(0, "WATCHDOG=1");
}

}  // namespace ornet5
