#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ornet5 {

// Where the program's settings file lies: a name made from the executable's
// name. On Linux it is kept in the user's configuration folder, which stands
// for the Windows directory where the profile functions keep files given
// without a folder. On Windows see ChooseWindowsSettingsFile.

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

// What is known at start of the two places the Windows edition may keep
// its settings file: the Windows directory, where the profile functions
// look, and the user's application-data folder (%APPDATA%).
struct TWindowsSettingsPlaces {
    bool windowsFileExists = false;
    // The file may be replaced by this user: it is not read-only, it opens
    // for writing and its folder takes a new file.
    bool windowsFileWritable = false;
    bool userFolderKnown = false;
    bool userFileExists = false;
};

enum class TWindowsSettingsChoice {
    // The file in the Windows directory is read and written.
    WindowsFile,
    // The file in the application-data folder is read and written.
    UserFile,
    // The Windows directory's file is copied to the application-data
    // folder once, at start; that copy is then read and written, and the
    // Windows directory's file stays as it is.
    UserFileCopiedFromWindowsFile,
};

// A standard user cannot write to the Windows directory on current Windows,
// so a file there is used only where it already exists and may be written;
// otherwise the user's own folder keeps the file, starting from the Windows
// directory's file when only that one exists. Without an application-data
// folder the Windows directory's file is used as the profile functions
// would.
TWindowsSettingsChoice ChooseWindowsSettingsFile(const TWindowsSettingsPlaces& places);

// The settings file of the running program.
TSettingsFileLocation ProgramSettingsFile();

}  // namespace ornet5
