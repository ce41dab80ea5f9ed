#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace ornet5 {

// What the service manager hears from the service (the unit's Type=notify
// and WatchdogSec=): that it is ready, that it is stopping, and the
// watchdog's keep-alive. Started by hand, outside a service, every call
// does nothing.
class TServiceManager {
  public:
    void Ready(const std::string& status);
    void Stopping();
    // How often the manager wants to hear that the service is alive; none
    // without a watchdog.
    std::optional<std::chrono::microseconds> WatchdogInterval() const;
    void Alive();
};

}  // namespace ornet5
