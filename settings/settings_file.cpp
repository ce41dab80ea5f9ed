#include "settings/settings_file.h"

#include <cstdlib>

#include "common/config_home.h"

namespace ornet5 {

namespace {

std::optional<std::string> Variable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
        return std::nullopt;
    }
    return std::string(value);
}

}  // namespace

std::string IniFileNameForExecutable(std::string_view executablePath) {
    const std::size_t slash = executablePath.find_last_of('/');
    std::string_view name =
        slash == std::string_view::npos ? executablePath : executablePath.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string_view::npos) {
        name = name.substr(0, dot);
    }
    return std::string(name) + ".INI";
}

TConfigEnvironment ProcessConfigEnvironment() {
    return {Variable("XDG_CONFIG_HOME"), Variable("HOME")};
}

std::filesystem::path ConfigFolder(const TConfigEnvironment& environment) {
    return ConfigHome(environment.xdgConfigHome, environment.home).value_or(".");
}

TWindowsSettingsChoice ChooseWindowsSettingsFile(const TWindowsSettingsPlaces& places) {
    if (!places.userFolderKnown || (places.windowsFileExists && places.windowsFileWritable)) {
        return TWindowsSettingsChoice::WindowsFile;
    }
    if (places.userFileExists || !places.windowsFileExists) {
        return TWindowsSettingsChoice::UserFile;
    }
    return TWindowsSettingsChoice::UserFileCopiedFromWindowsFile;
}

}  // namespace ornet5
