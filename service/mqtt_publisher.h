#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/detector_events.h"
#include "service/daemon_config.h"
#include "service/service_log.h"

namespace ornet5 {

// The service's MQTT client (libmosquitto, QoS 1), which publishes what the
// detectors record under <prefix>/<site>/:
//   status               retained: "online" at connect, "offline" as the
//                        broker's last will and at a clean stop
//   <id>/state           each cycle's row as JSON (state_payload.h)
//   <id>/dose_uSv_h      retained: the last reading, a plain number
//   <id>/alarm           retained: "ON" or "OFF", at each change and connect
// It connects in the background and reconnects with a back-off of up to
// 60 s; polling and journals never wait for it.
class TMqttPublisher {
  public:
    // log outlives the publisher. connectedChanged is called from the
    // client's thread whenever the connection comes or goes.
    TMqttPublisher(const TMqttConfig& config, const std::string& site,
                   const std::vector<std::string>& detectorIds, TServiceLog& log,
                   std::function<void(bool)> connectedChanged);
    // Stop().
    ~TMqttPublisher();
    TMqttPublisher(const TMqttPublisher&) = delete;
    TMqttPublisher& operator=(const TMqttPublisher&) = delete;

    // What follows detector number index (in the order of the ids given).
    TDetectorObserver& Observer(std::size_t index);
    // Starts connecting; throws std::runtime_error when the client cannot
    // be set up at all (a TLS file it cannot use).
    void Start();
    // Says "offline" when connected, disconnects and ends the client's
    // thread.
    void Stop() noexcept;

  private:
    class TClient;
    std::unique_ptr<TClient> client_;
};

}  // namespace ornet5
