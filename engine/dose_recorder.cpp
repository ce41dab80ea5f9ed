#include "engine/dose_recorder.h"

#include <utility>

#include "journal/journal_writer.h"

namespace ornet5 {

TDoseRecorder::TDoseRecorder(TDoseRecorderSetup setup, TEventPublisher& publisher,
                             std::ostream& diagnostics, TCycleClock& clock,
                             std::function<TLocalTime()> now)
    : journalFolder_(std::move(setup.journalFolder)),
      publisher_(publisher),
      clock_(clock),
      now_(std::move(now)) {
    alarm_.SetSettings(setup.alarm);
    if (journalFolder_) {
        journal_ = std::make_unique<TJournalWriter>(*journalFolder_, diagnostics);
    }
}

TDoseRecorder::~TDoseRecorder() = default;

void TDoseRecorder::CycleEnded(const TCycleOutcome& outcome) noexcept {
    try {
        TJournalRow row{now_(), outcome.reading, outcome.status, outcome.detector, false};
        {
            const std::lock_guard lock(mutex_);
            const bool soundDue = alarm_.Feed(outcome.reading, clock_.Now());
            PublishAlarm();
            if (soundDue) {
                publisher_.Publish(TAlarmSoundEvent{});
            }
            row.alarm = alarm_.IsOn();
        }
        if (journal_ != nullptr) {
            journal_->Append(row);
        }
        publisher_.Publish(TRowEvent{std::move(row)});
    } catch (...) {
        // Out of memory: the cycle goes unrecorded; polling goes on.
    }
}

TAlarmSettings TDoseRecorder::AlarmSettings() const {
    const std::lock_guard lock(mutex_);
    return alarm_.Settings();
}

bool TDoseRecorder::AlarmOn() const {
    const std::lock_guard lock(mutex_);
    return alarm_.IsOn();
}

void TDoseRecorder::SetAlarmSettings(const TAlarmSettings& settings) {
    const std::lock_guard lock(mutex_);
    alarm_.SetSettings(settings);
    PublishAlarm();
}

void TDoseRecorder::PublishAlarm() {
    if (alarm_.IsOn() != publishedAlarm_) {
        publishedAlarm_ = alarm_.IsOn();
        publisher_.Publish(TAlarmEvent{publishedAlarm_});
    }
}

}  // namespace ornet5
