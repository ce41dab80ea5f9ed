#include "serial/posix_port_names.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "common/config_home.h"
#include "serial/port_names.h"

namespace ornet5 {

std::string ResolvePortName(const std::string& name, const TPortNameEnvironment& environment) {
    const auto number = ParseComPortName(name);
    if (!number) {
        return name;
    }
    if (const auto configHome = ConfigHome(environment.getVariable("XDG_CONFIG_HOME"),
                                           environment.getVariable("HOME"))) {
        const std::string link = *configHome + "/ornet5/com" + std::to_string(*number);
        if (environment.exists(link)) {
            return link;
        }
    }
    return "/dev/ttyS" + std::to_string(*number - 1);
}

TPortNameEnvironment ProcessPortNameEnvironment() {
    return TPortNameEnvironment{
        [](const std::string& variable) -> std::optional<std::string> {
            const char* value = std::getenv(variable.c_str());
            if (value == nullptr) {
                return std::nullopt;
            }
            return std::string(value);
        },
        [](const std::string& path) {
            // symlink_status: a dangling link exists.
            std::error_code error;
            return std::filesystem::exists(std::filesystem::symlink_status(path, error));
        }};
}

}  // namespace ornet5
