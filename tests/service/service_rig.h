#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/temp_config_home.h"

namespace ornet5::test {

// A TCP port on 127.0.0.1 that nothing listens on now, for a server the
// test starts (a broker, Prometheus, the service's /metrics).
int FreeLoopbackPort();

// The logging service under test with what it needs around it: a
// configuration folder of the test's own (XDG_CONFIG_HOME of this process
// and its children), where simulated detectors stand at COM1, COM2, ...; a
// journal folder; and ornet5d itself, started from a configuration file the
// test writes. Everything ends with the rig.
class TServiceRig {
  public:
    TServiceRig();
    ~TServiceRig();
    TServiceRig(const TServiceRig&) = delete;
    TServiceRig& operator=(const TServiceRig&) = delete;

    // ornet5-sim at COM<number> with the simulator's options ({"--silent"},
    // {"--word", "FC7B"}, ...); returns once it is ready. A simulator
    // already there is ended first.
    void StartSimulator(int number, std::vector<std::string> options = {});

    // Writes ornet5d's configuration file: a [Service] section with the
    // site and the rig's journal folder (and Metrics= when metricsPort is
    // given), then sections as given ("[Detector.roof]\nPort=COM1\n...").
    std::filesystem::path WriteConfig(const std::string& site, const std::string& sections,
                                      std::optional<int> metricsPort = std::nullopt);
    // ornet5d with the arguments ({"--config", path}); its standard output
    // and error are collected.
    TChildProcess& StartDaemon(const std::vector<std::string>& arguments);
    TChildProcess& Daemon() { return *daemon_; }

    const std::filesystem::path& Folder() const { return home_.Path(); }
    std::filesystem::path JournalFolder() const { return Folder() / "journal"; }

  private:
    TTempConfigHome home_;
    std::map<int, std::unique_ptr<TChildProcess>> simulators_;
    std::unique_ptr<TChildProcess> daemon_;
};

}  // namespace ornet5::test
