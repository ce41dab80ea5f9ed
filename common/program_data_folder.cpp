#include "common/program_data_folder.h"

#include "common/xdg_folder.h"

namespace ornet5 {

std::optional<std::string> XdgProgramDataFolder(const std::optional<std::string>& xdgDataHome,
                                                const std::optional<std::string>& home) {
    const std::optional<std::string> dataHome = XdgBaseFolder(xdgDataHome, home, ".local/share");
    if (!dataHome) {
        return std::nullopt;
    }
    return *dataHome + "/ornet5";
}

std::filesystem::path JournalFolder(const std::filesystem::path& dataFolder) {
    return dataFolder / "journal";
}

std::filesystem::path DiagnosticLogFile(const std::filesystem::path& dataFolder) {
    return dataFolder / "ORNET5.log";
}

}  // namespace ornet5
