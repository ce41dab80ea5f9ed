#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace ornet5 {

// The program's own data folder on Linux by the XDG rules: $XDG_DATA_HOME
// /ornet5 when XDG_DATA_HOME is an absolute path (a relative or empty value
// counts as unset), else $HOME/.local/share/ornet5; nothing when neither
// gives a folder.
std::optional<std::string> XdgProgramDataFolder(const std::optional<std::string>& xdgDataHome,
                                                const std::optional<std::string>& home);

// The running program's data folder: on Linux as above from the process
// environment, on Windows %LOCALAPPDATA%\ORNET5 (the user's local, not
// roaming, application data: the journal grows by megabytes a day). Nothing
// when the environment or the OS names none. Does not create the folder.
std::optional<std::filesystem::path> ProgramDataFolder();

// Where the dose journal's monthly files live inside the data folder.
std::filesystem::path JournalFolder(const std::filesystem::path& dataFolder);

// The Windows edition's diagnostic log inside the data folder.
std::filesystem::path DiagnosticLogFile(const std::filesystem::path& dataFolder);

}  // namespace ornet5
