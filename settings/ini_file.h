#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/exception.h"

namespace ornet5 {

// A key of a settings file could not be written.
class EIniFileError : public Exception {
  public:
    using Exception::Exception;
};

// The settings file as the settings store sees it while a restore or a save
// runs: typed reads with defaults and writes that raise on failure.
class TIniFile {
  public:
    // displayName is the file name that error messages show.
    TIniFile(std::filesystem::path path, std::string displayName);

    const std::string& FileName() const { return displayName_; }

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // defaultValue also for an empty or malformed value.
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t defaultValue) const;

    // Throws EIniFileError "Unable to write to <displayName>".
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);

  private:
    std::filesystem::path path_;
    std::string displayName_;
};

}  // namespace ornet5
