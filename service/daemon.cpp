#include "service/daemon.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>

#include "common/local_time.h"
#include "common/overloaded.h"
#include "serial/port_names.h"
#include "service/metrics_endpoint.h"
#include "service/mqtt_publisher.h"
#include "service/service_manager.h"

namespace ornet5 {

namespace {

using namespace std::chrono_literals;

// A detector whose cycles have not reported for this long is stuck; no
// cycle takes nearly as long, even a babbling line's at 1200 bit/s (about
// 8 s), so the watchdog is fed no more and the service manager restarts
// the service.
constexpr std::chrono::seconds kStuckAfter{120};

// The texts of the windows, which the service shows nowhere: '.' and the
// 24-hour clock.
class TServiceFormats : public TRegionalFormats {
  public:
    std::string DecimalSeparator() const override { return "."; }
    std::string LongTimeNow() const override {
        const TCivilTime now = CivilTime(LocalTimeAt(std::chrono::system_clock::now()));
        char text[16];
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", now.hour, now.minute, now.second);
        return text;
    }
};

const TServiceFormats kFormats;

// A configured port: COMn as the desktop edition resolves it, anything
// else a device path.
std::string DetectorPortName(const std::string& port) {
    const std::optional<int> number = ComPortNumber(port);
    return number ? ComPortName(*number) : port;
}

TDetectorSetup DetectorSetup(const TDetectorConfig& detector, const TServiceSection& service) {
    TDetectorSetup setup;
    setup.portName = DetectorPortName(detector.port);
    setup.choices = {-1, std::to_string(detector.speed), false};
    setup.recorder.journalFolder = service.journalFolder / detector.id;
    setup.recorder.alarm = {detector.threshold.has_value(), detector.threshold, false};
    setup.accessAdvice = "добавьте пользователя службы в группу dialout";
    return setup;
}

std::vector<std::string> DetectorIds(const TDaemonConfig& config) {
    std::vector<std::string> ids;
    for (const TDetectorConfig& detector : config.detectors) {
        ids.push_back(detector.id);
    }
    return ids;
}

}  // namespace

std::string DetectorCount(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " detector" : " detectors");
}

// A detector's diagnostics and errors as lines of the log, after its id;
// and when it last finished a cycle, for the watchdog.
class TDaemon::TDetectorLog : public TDetectorObserver {
  public:
    TDetectorLog(std::string id, TServiceLog& log) : id_(std::move(id)), log_(log) {}

    void Observe(const TDetectorEvent& event) override {
        std::visit(TOverloaded{
                       [this](const TDiagnosticEvent& e) { log_.Line(id_ + ": " + e.line); },
                       [this](const TCycleErrorEvent& e) { log_.Line(id_ + ": " + e.message); },
                       [this](const TRowEvent&) { lastCycle_ = Now(); },
                       [](const auto&) {},
                   },
                   event);
    }
    bool Cycles() const { return Now() - lastCycle_.load() < kStuckAfter; }

  private:
    static std::chrono::steady_clock::time_point Now() { return std::chrono::steady_clock::now(); }

    const std::string id_;
    TServiceLog& log_;
    // The start counts as a cycle: the first one comes a period later.
    std::atomic<std::chrono::steady_clock::time_point> lastCycle_ = Now();
};

TDaemon::TDaemon(const TDaemonConfig& config, TServiceLog& log) : log_(log) {
    const std::vector<std::string> ids = DetectorIds(config);
    const std::string& site = config.service.site;
    if (config.service.metrics) {
        metrics_ = std::make_unique<TMetricsEndpoint>(*config.service.metrics, site, ids,
                                                      config.mqtt.has_value());
    }
    if (config.mqtt) {
        std::vector<TPublishedDetector> published;
        for (const std::string& id : ids) {
            published.push_back({id, config.service.journalFolder / id});
        }
        mqtt_ = std::make_unique<TMqttPublisher>(*config.mqtt, site, std::move(published), log_,
                                                 [this](bool on) {
                                                     if (metrics_) {
                                                         metrics_->SetMqttConnected(on);
                                                     }
                                                 });
    }
    for (std::size_t i = 0; i < config.detectors.size(); ++i) {
        TDetector& detector = engine_.Add(DetectorSetup(config.detectors[i], config.service),
                                          TDetectorServices{kFormats, {}});
        detectorLogs_.push_back(std::make_unique<TDetectorLog>(ids[i], log_));
        detector.AddObserver(*detectorLogs_.back());
        if (metrics_) {
            detector.AddObserver(metrics_->Observer(i));
        }
        if (mqtt_) {
            detector.AddObserver(mqtt_->Observer(i));
        }
    }
}

// The engine stops first, then the publisher, by the members' order.
TDaemon::~TDaemon() = default;

bool TDaemon::EveryDetectorCycles() const {
    for (const auto& detector : detectorLogs_) {
        if (!detector->Cycles()) {
            return false;
        }
    }
    return true;
}

int TDaemon::Run(const sigset_t& stopSignals) {
    TServiceManager manager;
    if (mqtt_) {
        mqtt_->Start();
    }
    engine_.Start();
    const std::string polling = "polling " + DetectorCount(engine_.Size());
    manager.Ready(polling);
    log_.Line("ornet5d: " + polling);
    // Half the watchdog's interval, as the service manager advises.
    const auto interval = manager.WatchdogInterval();
    const auto wait = interval ? *interval / 2 : std::chrono::microseconds(std::chrono::hours(1));
    for (;;) {
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(wait);
        const timespec timeout{static_cast<std::time_t>(seconds.count()),
                               static_cast<long>((wait - seconds).count() * 1000)};
        const int signal = sigtimedwait(&stopSignals, nullptr, &timeout);
        if (signal > 0) {
            log_.Line("ornet5d: stopping on signal " + std::to_string(signal));
            break;
        }
        if (interval && EveryDetectorCycles()) {
            manager.Alive();
        }
    }
    manager.Stopping();
    engine_.Stop();
    return 0;
}

}  // namespace ornet5
