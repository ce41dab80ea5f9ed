#include "app/dose_recorder.h"

#include "app/alarm_settings_file.h"
#include "common/program_data_folder.h"
#include "journal/journal_writer.h"

namespace ornet5 {

std::optional<std::filesystem::path> ProgramJournalFolder() {
    const std::optional<std::filesystem::path> dataFolder = ProgramDataFolder();
    if (!dataFolder) {
        return std::nullopt;
    }
    return JournalFolder(*dataFolder);
}

TDoseRecorder::TDoseRecorder(TDoseRecorderServices services) : services_(std::move(services)) {
    const TIniFile ini(services_.settingsFile.path, services_.settingsFile.name);
    alarmSettings_ = LoadAlarmSettings(ini);
    alarm_.SetSettings(alarmSettings_);
    if (services_.journalFolder) {
        journal_ =
            std::make_unique<TJournalWriter>(*services_.journalFolder, services_.diagnostics);
    }
}

TDoseRecorder::~TDoseRecorder() = default;

void TDoseRecorder::CycleEnded(const TCycleOutcome& outcome) noexcept {
    try {
        const bool soundDue = alarm_.Feed(outcome.reading, services_.steadyNow());
        services_.face.SetAlarm(alarm_.IsOn());
        if (soundDue) {
            services_.sound.Beep();
        }
        TJournalRow row{services_.now(), outcome.reading, outcome.status, outcome.detector,
                        alarm_.IsOn()};
        if (journal_ != nullptr) {
            journal_->Append(row);
        }
        if (listener_) {
            listener_({std::chrono::duration_cast<std::chrono::milliseconds>(
                           row.time.utc.time_since_epoch())
                           .count(),
                       row.dose.value_or(std::numeric_limits<double>::quiet_NaN()), row.status,
                       row.alarm});
        }
    } catch (...) {
        // Out of memory: the cycle goes unrecorded; polling goes on.
    }
}

void TDoseRecorder::SetAlarmSettings(const TAlarmSettings& settings) {
    alarm_.SetSettings(settings);
    alarmSettings_ = settings;
    services_.face.SetAlarm(alarm_.IsOn());
    TIniFile ini(services_.settingsFile.path, services_.settingsFile.name);
    SaveAlarmSettings(ini, settings);
}

}  // namespace ornet5
