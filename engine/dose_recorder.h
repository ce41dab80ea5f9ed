#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <optional>

#include "common/local_time.h"
#include "engine/cycle_clock.h"
#include "engine/event_publisher.h"
#include "journal/alarm.h"
#include "measure/cycle_outcome.h"

namespace ornet5 {

class TJournalWriter;

struct TDoseRecorderSetup {
    // None: no journal is kept.
    std::optional<std::filesystem::path> journalFolder;
    TAlarmSettings alarm;
};

// What becomes of a detector's cycles beyond its texts: the dose alarm
// takes each reading (published when it goes on or off, and when a sound
// is due), and the journal gets the cycle's row, published once it is
// written. The alarm's settings may change from another thread (a
// window's); whoever keeps them elsewhere stores them.
class TDoseRecorder : public TCycleObserver {
  public:
    // publisher, diagnostics and clock must outlive the recorder. now is
    // the local time of a row.
    TDoseRecorder(TDoseRecorderSetup setup, TEventPublisher& publisher, std::ostream& diagnostics,
                  TCycleClock& clock, std::function<TLocalTime()> now);
    ~TDoseRecorder() override;
    TDoseRecorder(const TDoseRecorder&) = delete;
    TDoseRecorder& operator=(const TDoseRecorder&) = delete;

    // Never throws: a journal that cannot be written is reported once to
    // the diagnostics and its rows are kept for later.
    void CycleEnded(const TCycleOutcome& outcome) noexcept override;

    TAlarmSettings AlarmSettings() const;
    bool AlarmOn() const;
    // Takes effect at once, from any thread. Throws std::invalid_argument
    // for a threshold that is not a positive number; nothing changes then.
    void SetAlarmSettings(const TAlarmSettings& settings);

    const std::optional<std::filesystem::path>& JournalFolder() const { return journalFolder_; }

  private:
    // Publishes the alarm's state when it differs from the last one
    // published; under mutex_, so that the events keep the order of the
    // changes whichever thread made them.
    void PublishAlarm();

    const std::optional<std::filesystem::path> journalFolder_;
    TEventPublisher& publisher_;
    TCycleClock& clock_;
    const std::function<TLocalTime()> now_;
    mutable std::mutex mutex_;
    TAlarmRule alarm_;
    bool publishedAlarm_ = false;
    // Written by the detector's thread only.
    std::unique_ptr<TJournalWriter> journal_;
};

}  // namespace ornet5
