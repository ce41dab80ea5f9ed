#include "common/config_home.h"

namespace ornet5 {

std::optional<std::string> ConfigHome(const std::optional<std::string>& xdgConfigHome,
                                      const std::optional<std::string>& home) {
    if (xdgConfigHome && xdgConfigHome->starts_with('/')) {
        return *xdgConfigHome;
    }
    if (home && !home->empty()) {
        return *home + "/.config";
    }
    return std::nullopt;
}

}  // namespace ornet5
