#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/detector_events.h"
#include "service/daemon_config.h"
#include "service/service_log.h"

namespace ornet5 {

struct TPublishedDetector {
    std::string id;
    // Where its journal lies: the rows owed to the broker are read back
    // from there, and its seq bookkeeping is kept there.
    std::filesystem::path journalFolder;
};

// The service's MQTT publisher (QoS 1), which publishes what the detectors
// record under <prefix>/<site>/:
//   status               retained: "online" at connect, "offline" as the
//                        broker's last will and at a clean stop
//   <id>/state           each cycle's row as JSON (state_payload.h) with
//                        its seq, the count of that detector's rows, which
//                        goes on across restarts
//   <id>/dose_uSv_h      retained: the last reading, a plain number
//   <id>/alarm           retained: "ON" or "OFF", at each change and connect
//   <id>/history         after a reconnect: the rows the broker missed, read
//                        back from the journal, oldest first (at most
//                        kLongestHistory back), in the state's JSON with
//                        their own times and seqs
// and with HomeAssistant=True the discovery messages of each detector
// (discovery_payload.h), at each connect and whenever Home Assistant says
// it is online.
//
// Polling and journals never wait for it: a detector's events are handed
// to the publisher's own thread. Rows made while the broker is away are
// not kept in memory; they are in the journal, and after the reconnect
// they go to history while new rows go to state at once. The last seq the
// broker acknowledged is kept on disk (ledger_file.h), so a restarted
// service sends what it still owes, too.
class TMqttPublisher {
  public:
    // log outlives the publisher. connectedChanged is called from the
    // publisher's thread whenever the connection comes or goes.
    TMqttPublisher(const TMqttConfig& config, const std::string& site,
                   std::vector<TPublishedDetector> detectors, TServiceLog& log,
                   std::function<void(bool)> connectedChanged);
    // Publishes the rows handed on so far, says "offline" when connected,
    // waits a moment for the broker's acknowledgements, keeps the
    // bookkeeping on disk, disconnects and ends the threads.
    ~TMqttPublisher();
    TMqttPublisher(const TMqttPublisher&) = delete;
    TMqttPublisher& operator=(const TMqttPublisher&) = delete;

    // What follows detector number index (in the order given).
    TDetectorObserver& Observer(std::size_t index);
    // Recovers each detector's seq bookkeeping from its journal (before
    // the detectors start, so that no row is counted twice), then starts
    // connecting. Throws std::runtime_error when the client cannot be set
    // up at all (a TLS file it cannot use).
    void Start();

  private:
    class TWorker;
    std::unique_ptr<TWorker> worker_;
};

}  // namespace ornet5
