#pragma once

#include <csignal>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "service/daemon_config.h"
#include "service/service_log.h"

namespace ornet5 {

class TMetricsEndpoint;

// "1 detector", "2 detectors": for the log and the check.
std::string DetectorCount(std::size_t count);

class TMqttPublisher;

// ornet5d put together from its configuration: the measuring engine with
// one detector per [Detector.<id>] section, each polling every 3000 ms as
// the desktop edition does, keeping its journal under JournalFolder/<id>/
// and its own alarm; the MQTT publisher and the /metrics endpoint when
// configured, both following every detector; every diagnostic a line of
// the log, named after its detector.
class TDaemon {
  public:
    // Starts nothing yet; throws std::runtime_error when /metrics cannot
    // listen. log must outlive the daemon.
    TDaemon(const TDaemonConfig& config, TServiceLog& log);
    // Stops the detectors (an exchange under way is cut short), then the
    // publishers: an MQTT client says "offline".
    ~TDaemon();
    TDaemon(const TDaemon&) = delete;
    TDaemon& operator=(const TDaemon&) = delete;

    // Polls until one of the stop signals comes; they must be blocked in
    // every thread of the process, so make the daemon after blocking them.
    // Tells the service manager when it is ready, and keeps its watchdog
    // fed while every detector keeps cycling. Returns the exit status.
    int Run(const sigset_t& stopSignals);

  private:
    class TDetectorLog;

    bool EveryDetectorCycles() const;

    TServiceLog& log_;
    std::vector<std::unique_ptr<TDetectorLog>> detectorLogs_;
    std::unique_ptr<TMetricsEndpoint> metrics_;
    std::unique_ptr<TMqttPublisher> mqtt_;
    // Last, so that it stops first.
    TEngine engine_;
};

}  // namespace ornet5
