#include "common/win32_known_folder.h"

namespace ornet5 {

std::filesystem::path KnownFolder(const KNOWNFOLDERID& folder) {
    PWSTR path = nullptr;
    std::filesystem::path result;
    if (SUCCEEDED(::SHGetKnownFolderPath(folder, 0, nullptr, &path))) {
        result = path;
    }
    // The shell may hand out a buffer even when it fails.
    ::CoTaskMemFree(path);
    return result;
}

}  // namespace ornet5
