#include "common/config_home.h"

#include "common/xdg_folder.h"

namespace ornet5 {

std::optional<std::string> ConfigHome(const std::optional<std::string>& xdgConfigHome,
                                      const std::optional<std::string>& home) {
    return XdgBaseFolder(xdgConfigHome, home, ".config");
}

}  // namespace ornet5
