#include <cstdlib>

#include "common/program_data_folder.h"

namespace ornet5 {

namespace {

std::optional<std::string> Variable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

}  // namespace

std::optional<std::filesystem::path> ProgramDataFolder() {
    return XdgProgramDataFolder(Variable("XDG_DATA_HOME"), Variable("HOME"));
}

}  // namespace ornet5
