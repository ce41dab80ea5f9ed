#include <system_error>

#include "settings/settings_file.h"

namespace ornet5 {

namespace {

std::string RunningExecutablePath() {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("ORNET5") : path.string();
}

}  // namespace

TSettingsFileLocation ProgramSettingsFile() {
    const std::string name = IniFileNameForExecutable(RunningExecutablePath());
    return {ConfigFolder(ProcessConfigEnvironment()) / name, name};
}

}  // namespace ornet5
