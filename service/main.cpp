// ornet5d: the dose-rate logging service for ОРНЕТ-5 detectors.
#include <csignal>
#include <cstdio>
#include <iostream>
#include <span>
#include <variant>

#include "service/daemon.h"
#include "service/daemon_arguments.h"
#include "service/daemon_config.h"

int main(int argc, char** argv) {
    using namespace ornet5;
    TDaemonArguments arguments;
    try {
        arguments = ParseDaemonArguments(
            std::span<const char* const>(argv + 1, static_cast<std::size_t>(argc - 1)));
    } catch (const EUsageError& error) {
        std::cerr << "ornet5d: " << error.Message() << "\n" << UsageLine() << "\n";
        return kExitBadUsage;
    }
    if (arguments.help) {
        std::cout << HelpText();
        return 0;
    }
    auto read = ReadDaemonConfig(arguments.configFile, MachineHostName());
    if (const auto* faults = std::get_if<TConfigFaultLines>(&read)) {
        for (const std::string& fault : *faults) {
            std::cerr << fault << "\n";
        }
        return kExitBadConfig;
    }
    const TDaemonConfig& config = std::get<TDaemonConfig>(read);
    if (arguments.checkOnly) {
        std::cout << arguments.configFile.string() << ": " << DetectorCount(config.detectors.size())
                  << ", no fault\n";
        return 0;
    }
    // Blocked before any thread starts, so that every thread inherits the
    // mask and only Run takes the signals.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    TServiceLog log;
    try {
        TDaemon daemon(config, log);
        return daemon.Run(stopSignals);
    } catch (const std::exception& error) {
        log.Line(std::string("ornet5d: ") + error.what());
        return 1;
    }
}
