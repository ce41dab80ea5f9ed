#include "common/xdg_folder.h"

namespace ornet5 {

std::optional<std::string> XdgBaseFolder(const std::optional<std::string>& variable,
                                         const std::optional<std::string>& home,
                                         std::string_view underHome) {
    if (variable && variable->starts_with('/')) {
        return *variable;
    }
    if (home && !home->empty()) {
        return *home + "/" + std::string(underHome);
    }
    return std::nullopt;
}

}  // namespace ornet5
