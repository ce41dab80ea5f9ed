#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>

#include "app/face_core.h"
#include "common/local_time.h"
#include "journal/alarm.h"
#include "journal/journal_row.h"
#include "measure/cycle_outcome.h"
#include "settings/settings_file.h"

namespace ornet5 {

class TJournalWriter;

// The desktop's warning sound (Windows: MessageBeep with the warning sound;
// Linux: the desktop's bell).
class TAlarmSound {
  public:
    virtual ~TAlarmSound() = default;
    virtual void Beep() = 0;
};

// The running program's journal folder inside its data folder, if the
// system names one.
std::optional<std::filesystem::path> ProgramJournalFolder();

// What the recorder is given; face, sound and diagnostics must outlive it.
struct TDoseRecorderServices {
    TMainDisplay& face;
    TAlarmSound& sound;
    // Why the journal cannot be written, once per reason.
    std::ostream& diagnostics;
    // The journal's folder; none when the system names no data folder, and
    // then no journal is kept.
    std::optional<std::filesystem::path> journalFolder = ProgramJournalFolder();
    // Where the alarm's settings are kept.
    TSettingsFileLocation settingsFile = ProgramSettingsFile();
    std::function<TLocalTime()> now = [] { return LocalTimeAt(std::chrono::system_clock::now()); };
    std::function<std::chrono::steady_clock::time_point()> steadyNow = [] {
        return std::chrono::steady_clock::now();
    };
};

// What becomes of each poll cycle beyond the windows: the dose alarm takes
// its reading (the dose digits turn red while the alarm is on, and the
// warning sounds when it goes on and every 30 s while it stays on, unless
// sound is off), and the journal gets its row. It lives as long as the
// program, so closing the journal window never resets the alarm.
class TDoseRecorder : public TCycleObserver {
  public:
    // Loads the alarm's settings from the settings file.
    explicit TDoseRecorder(TDoseRecorderServices services);
    ~TDoseRecorder() override;
    TDoseRecorder(const TDoseRecorder&) = delete;
    TDoseRecorder& operator=(const TDoseRecorder&) = delete;

    // Never throws: a journal that cannot be written is reported once to
    // the diagnostics and its rows are kept for later.
    void CycleEnded(const TCycleOutcome& outcome) noexcept override;

    const TAlarmSettings& AlarmSettings() const { return alarmSettings_; }
    bool AlarmOn() const { return alarm_.IsOn(); }
    // Takes effect at once and is stored in the settings file. Throws
    // std::invalid_argument for a threshold that is not a positive number
    // (nothing changes then), EIniFileError when the file cannot be written
    // (the settings are in force all the same).
    void SetAlarmSettings(const TAlarmSettings& settings);

    const std::optional<std::filesystem::path>& JournalFolder() const {
        return services_.journalFolder;
    }
    // Hears of every cycle's row once it is recorded; one listener (the
    // journal window), or none.
    void SetRowListener(std::function<void(const TJournalPoint&)> listener) {
        listener_ = std::move(listener);
    }

  private:
    TDoseRecorderServices services_;
    TAlarmSettings alarmSettings_;
    TAlarmRule alarm_;
    std::unique_ptr<TJournalWriter> journal_;
    std::function<void(const TJournalPoint&)> listener_;
};

}  // namespace ornet5
