#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "common/exception.h"

namespace ornet5 {

// The command line of the logging service:
//   ornet5d [--config FILE] [--check] [--help]
// --config FILE (or --config=FILE) names the configuration file, --check
// only reads and checks it, --help prints the help text.

inline constexpr std::string_view kDefaultConfigFile = "/etc/ornet5/ornet5d.conf";

// Exit statuses as sysexits.h names them. The service unit does not
// restart on kExitBadConfig: the same file would fail again.
inline constexpr int kExitBadUsage = 64;   // EX_USAGE
inline constexpr int kExitBadConfig = 78;  // EX_CONFIG

struct TDaemonArguments {
    std::filesystem::path configFile{kDefaultConfigFile};
    bool checkOnly = false;
    bool help = false;

    bool operator==(const TDaemonArguments&) const = default;
};

// A command line that means nothing; the message says why.
class EUsageError : public Exception {
  public:
    using Exception::Exception;
};

// arguments without the program's name. Throws EUsageError for an unknown
// argument, an option given twice, or --config without a file name.
TDaemonArguments ParseDaemonArguments(std::span<const char* const> arguments);

// "usage: ornet5d [--config FILE] [--check] [--help]", shown with a usage
// error's message.
std::string UsageLine();

// The usage line and what each option does.
std::string HelpText();

}  // namespace ornet5
