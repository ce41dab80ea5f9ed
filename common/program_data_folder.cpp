#include "common/program_data_folder.h"

namespace ornet5 {

std::optional<std::string> XdgProgramDataFolder(const std::optional<std::string>& xdgDataHome,
                                                const std::optional<std::string>& home) {
    if (xdgDataHome && xdgDataHome->starts_with('/')) {
        return *xdgDataHome + "/ornet5";
    }
    if (home && !home->empty()) {
        return *home + "/.local/share/ornet5";
    }
    return std::nullopt;
}

std::filesystem::path JournalFolder(const std::filesystem::path& dataFolder) {
    return dataFolder / "journal";
}

std::filesystem::path DiagnosticLogFile(const std::filesystem::path& dataFolder) {
    return dataFolder / "ORNET5.log";
}

}  // namespace ornet5
