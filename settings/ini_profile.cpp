#include "settings/ini_profile.h"

#include "settings/atomic_file.h"
#include "settings/ini_text.h"

namespace ornet5 {

std::string ReadProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view defaultValue) {
    const TFileBytes content = ReadFileBytes(file);
    if (content.status == TFileReadStatus::Read) {
        if (auto value = FindProfileValue(content.bytes, section, key)) {
            return std::move(*value);
        }
    }
    return std::string(defaultValue.substr(0, kMaxProfileValueLength));
}

bool WriteProfileString(const std::filesystem::path& file, std::string_view section,
                        std::string_view key, std::string_view value) {
    if (!IsWritableProfileEntry(section, key, value)) {
        return false;
    }
    // A file that exists but cannot be read must not be replaced by one
    // that holds only this key.
    const TFileBytes content = ReadFileBytes(file);
    if (content.status == TFileReadStatus::Failed) {
        return false;
    }
    return ReplaceFileBytes(file, SetProfileValue(content.bytes, section, key, value));
}

}  // namespace ornet5
