#include "service/daemon_arguments.h"

namespace ornet5 {

namespace {

constexpr std::string_view kConfigOption = "--config";
constexpr std::string_view kCheckOption = "--check";
constexpr std::string_view kHelpOption = "--help";

// Sets a flag option, which may be given once.
void SetOnce(bool& flag, std::string_view option) {
    if (flag) {
        throw EUsageError(std::string(option) + " is given twice");
    }
    flag = true;
}

}  // namespace

TDaemonArguments ParseDaemonArguments(std::span<const char* const> arguments) {
    TDaemonArguments parsed;
    bool configGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == kCheckOption) {
            SetOnce(parsed.checkOnly, kCheckOption);
        } else if (argument == kHelpOption) {
            SetOnce(parsed.help, kHelpOption);
        } else if (argument == kConfigOption ||
                   (argument.starts_with(kConfigOption) && argument[kConfigOption.size()] == '=')) {
            SetOnce(configGiven, kConfigOption);
            std::string_view file;
            if (argument != kConfigOption) {
                file = argument.substr(kConfigOption.size() + 1);
            } else if (i + 1 < arguments.size()) {
                file = arguments[++i];
            }
            if (file.empty()) {
                throw EUsageError(std::string(kConfigOption) + " needs a file name");
            }
            parsed.configFile = file;
        } else {
            throw EUsageError("unknown argument '" + std::string(argument) + "'");
        }
    }
    return parsed;
}

std::string UsageLine() {
    return "usage: ornet5d [--config FILE] [--check] [--help]";
}

std::string HelpText() {
    return UsageLine() + "\n" +
           "Logs the dose rate of the detectors that the configuration file names, and\n"
           "publishes it to MQTT and Prometheus, until SIGTERM or SIGINT.\n"
           "  --config FILE  the configuration file (default " +
           std::string(kDefaultConfigFile) +
           ")\n"
           "  --check        only read and check the configuration file\n"
           "  --help         show this text\n"
           "A bad configuration file ends the service with exit status " +
           std::to_string(kExitBadConfig) + ", a bad command line with " +
           std::to_string(kExitBadUsage) + ".\n";
}

}  // namespace ornet5
