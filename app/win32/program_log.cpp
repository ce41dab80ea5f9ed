#include "app/win32/program_log.h"

#include "common/program_data_folder.h"
#include "common/win32_utf8.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace ornet5 {

TDiagnosticLogSettings ProgramLogSettings() {
    TDiagnosticLogSettings settings;
    if (const std::optional<std::filesystem::path> dataFolder = ProgramDataFolder()) {
        settings.file = DiagnosticLogFile(*dataFolder);
    }
    // A debugger shows each string as it comes: the line end keeps the
    // lines apart.
    settings.echo = [](const std::string& line) {
        ::OutputDebugStringW(Wide(line + "\n").c_str());
    };
    return settings;
}

}  // namespace ornet5
