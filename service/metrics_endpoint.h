#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/detector_events.h"
#include "service/config_values.h"

namespace prometheus {
class Exposer;
class Gauge;
class Registry;
}  // namespace prometheus

namespace ornet5 {

// The service's /metrics for Prometheus, in its text format, served by
// prometheus-cpp's exposer:
//   ornet5_dose_rate_sieverts_per_hour{site,detector}  the last reading x 1e-6
//   ornet5_detector_up{site,detector}     1 after an answered cycle, 0 after a failed one
//   ornet5_alarm{site,detector}           1 while the dose alarm is on
//   ornet5_cycles_total{site,detector,status}  cycles by the journal's status
//   ornet5_last_reading_timestamp_seconds{site,detector}
//   ornet5_mqtt_connected{site}           only when MQTT is configured
// A detector's dose and reading time appear with its first reading, its
// up with its first cycle: no figure stands for one that was never measured.
class TMetricsEndpoint {
  public:
    // Listens at address at once; throws std::runtime_error when it cannot.
    TMetricsEndpoint(const TListenAddress& address, const std::string& site,
                     const std::vector<std::string>& detectorIds, bool mqttConfigured);
    ~TMetricsEndpoint();
    TMetricsEndpoint(const TMetricsEndpoint&) = delete;
    TMetricsEndpoint& operator=(const TMetricsEndpoint&) = delete;

    // What follows detector number index (in the order of the ids given).
    TDetectorObserver& Observer(std::size_t index);
    // From any thread.
    void SetMqttConnected(bool connected);

  private:
    class TDetectorMetrics;

    std::shared_ptr<prometheus::Registry> registry_;
    std::vector<std::unique_ptr<TDetectorMetrics>> detectors_;
    // Only when MQTT is configured.
    prometheus::Gauge* mqttConnected_ = nullptr;
    std::unique_ptr<prometheus::Exposer> exposer_;
};

}  // namespace ornet5
