#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ornet5 {

// Where the program's settings file lies: a name made from the executable's
// name, in the user's configuration folder (which stands for the Windows
// folder where the profile functions keep files given without a folder).

// The executable's file name without its folder, its extension replaced by
// ".INI" (or ".INI" appended when it has none): "/usr/bin/ORNET5" gives
// "ORNET5.INI".
std::string IniFileNameForExecutable(std::string_view executablePath);

struct TConfigEnvironment {
    std::optional<std::string> xdgConfigHome;
    std::optional<std::string> home;
};

TConfigEnvironment ProcessConfigEnvironment();

// $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config, else the
// current folder.
std::filesystem::path ConfigFolder(const TConfigEnvironment& environment);

struct TSettingsFileLocation {
    std::filesystem::path path;
    // The bare file name, as messages show it.
    std::string name;
};

// The settings file of the running program.
TSettingsFileLocation ProgramSettingsFile();

}  // namespace ornet5
