#include "settings/ini_file.h"

#include "common/int_text.h"
#include "settings/ini_profile.h"

namespace ornet5 {

namespace {

// A read drops one enclosing pair of matching quotes, so a value that has
// such a pair itself gets one more to come back unchanged.
std::string QuotedForWrite(std::string_view value) {
    const bool enclosed = value.size() > 1 && value.front() == value.back() &&
                          (value.front() == '"' || value.front() == '\'');
    std::string text = enclosed ? "\"" : "";
    text += value;
    if (enclosed) {
        text += '"';
    }
    return text;
}

}  // namespace

TIniFile::TIniFile(std::filesystem::path path, std::string displayName)
    : path_(std::move(path)), displayName_(std::move(displayName)) {}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
    return ReadProfileString(path_, section, key, defaultValue);
}

std::int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key,
                                   std::int32_t defaultValue) const {
    return TryStrToInt(ReadString(section, key, "")).value_or(defaultValue);
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    if (!WriteProfileString(path_, section, key, QuotedForWrite(value))) {
        throw EIniFileError("Unable to write to " + displayName_);
    }
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

}  // namespace ornet5
