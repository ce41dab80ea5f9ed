#include "service/metrics_endpoint.h"

#include <array>
#include <chrono>
#include <stdexcept>

#include <prometheus/counter.h>
#include <prometheus/exposer.h>
#include <prometheus/gauge.h>
#include <prometheus/registry.h>

#include "journal/journal_row.h"

namespace ornet5 {

namespace {

using prometheus::Counter;
using prometheus::Family;
using prometheus::Gauge;

constexpr double kSievertsPerMicrosievert = 1e-6;
constexpr std::array kStatuses = {TCycleStatus::Ok, TCycleStatus::Identified, TCycleStatus::NoReply,
                                  TCycleStatus::BadReply, TCycleStatus::Cancelled};

// civetweb's listening port: an IPv6 address goes in brackets.
std::string BindAddress(const TListenAddress& address) {
    const std::string host =
        address.host.find(':') != std::string::npos ? "[" + address.host + "]" : address.host;
    return host + ":" + std::to_string(address.port);
}

Family<Gauge>& GaugeFamily(prometheus::Registry& registry, const char* name, const char* help) {
    return prometheus::BuildGauge().Name(name).Help(help).Register(registry);
}

}  // namespace

// One detector's series. Its observer is called on the detector's thread;
// the series themselves are atomic, and a family adds a series under its
// own lock.
class TMetricsEndpoint::TDetectorMetrics : public TDetectorObserver {
  public:
    TDetectorMetrics(prometheus::Registry& registry, const prometheus::Labels& labels)
        : labels_(labels),
          dose_(GaugeFamily(registry, "ornet5_dose_rate_sieverts_per_hour",
                            "The detector's last dose rate reading, in Sv/h")),
          up_(GaugeFamily(registry, "ornet5_detector_up",
                          "1 after an answered poll cycle, 0 after a failed one")),
          lastReading_(GaugeFamily(registry, "ornet5_last_reading_timestamp_seconds",
                                   "When the last dose rate reading came, in Unix time")),
          alarm_(GaugeFamily(registry, "ornet5_alarm", "1 while the dose alarm is on").Add(labels)),
          cycles_(prometheus::BuildCounter()
                      .Name("ornet5_cycles_total")
                      .Help("Poll cycles by how they ended, as the journal names it")
                      .Register(registry)) {
        for (const TCycleStatus status : kStatuses) {
            prometheus::Labels withStatus = labels_;
            withStatus.emplace("status", std::string(CycleStatusName(status)));
            cycleCounts_[static_cast<std::size_t>(status)] = &cycles_.Add(withStatus);
        }
    }

    void Observe(const TDetectorEvent& event) override {
        if (const auto* alarm = std::get_if<TAlarmEvent>(&event)) {
            alarm_.Set(alarm->on ? 1 : 0);
        } else if (const auto* row = std::get_if<TRowEvent>(&event)) {
            Record(row->row);
        }
    }

  private:
    void Record(const TJournalRow& row) {
        cycleCounts_[static_cast<std::size_t>(row.status)]->Increment();
        up_.Add(labels_).Set(IsFailedCycle(row.status) ? 0 : 1);
        if (row.dose) {
            dose_.Add(labels_).Set(*row.dose * kSievertsPerMicrosievert);
            lastReading_.Add(labels_).Set(
                std::chrono::duration<double>(row.time.utc.time_since_epoch()).count());
        }
    }

    const prometheus::Labels labels_;
    Family<Gauge>& dose_;
    Family<Gauge>& up_;
    Family<Gauge>& lastReading_;
    Gauge& alarm_;
    Family<Counter>& cycles_;
    std::array<Counter*, kStatuses.size()> cycleCounts_{};
};

TMetricsEndpoint::TMetricsEndpoint(const TListenAddress& address, const std::string& site,
                                   const std::vector<std::string>& detectorIds, bool mqttConfigured)
    : registry_(std::make_shared<prometheus::Registry>()) {
    for (const std::string& id : detectorIds) {
        detectors_.push_back(std::make_unique<TDetectorMetrics>(
            *registry_, prometheus::Labels{{"site", site}, {"detector", id}}));
    }
    if (mqttConfigured) {
        mqttConnected_ = &GaugeFamily(*registry_, "ornet5_mqtt_connected",
                                      "1 while the service is connected to its MQTT broker")
                              .Add({{"site", site}});
    }
    // The exposer's web server throws when the address cannot be bound.
    try {
        exposer_ = std::make_unique<prometheus::Exposer>(BindAddress(address), 1);
    } catch (const std::exception& error) {
        throw std::runtime_error("/metrics cannot listen at " + BindAddress(address) + ": " +
                                 error.what());
    }
    exposer_->RegisterCollectable(registry_);
}

TMetricsEndpoint::~TMetricsEndpoint() = default;

TDetectorObserver& TMetricsEndpoint::Observer(std::size_t index) {
    return *detectors_.at(index);
}

void TMetricsEndpoint::SetMqttConnected(bool connected) {
    if (mqttConnected_ != nullptr) {
        mqttConnected_->Set(connected ? 1 : 0);
    }
}

}  // namespace ornet5
