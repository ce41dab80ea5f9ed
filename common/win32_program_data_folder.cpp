#include "common/program_data_folder.h"
#include "common/win32_known_folder.h"

namespace ornet5 {

std::optional<std::filesystem::path> ProgramDataFolder() {
    const std::filesystem::path localAppData = KnownFolder(FOLDERID_LocalAppData);
    if (localAppData.empty()) {
        return std::nullopt;
    }
    return localAppData / L"ORNET5";
}

}  // namespace ornet5
