#pragma once

#include <filesystem>
#include <functional>
#include <optional>

#include "engine/dose_recorder.h"
#include "journal/journal_row.h"
#include "settings/settings_file.h"

namespace ornet5 {

// The desktop's one detector as its journal window reaches it, on the
// window thread: the alarm's settings, kept in the program's settings file
// beside the connection settings; whether the alarm is on; the journal's
// folder; and each new row, as it reaches the windows.
class TDesktopDetector {
  public:
    // recorder must outlive this object.
    TDesktopDetector(TDoseRecorder& recorder, TSettingsFileLocation settingsFile)
        : recorder_(recorder), settingsFile_(std::move(settingsFile)) {}

    TAlarmSettings AlarmSettings() const { return recorder_.AlarmSettings(); }
    bool AlarmOn() const { return recorder_.AlarmOn(); }
    // Takes effect at once and is stored in the settings file. Throws
    // std::invalid_argument for a threshold that is not a positive number
    // (nothing changes then), EIniFileError when the file cannot be written
    // (the settings are in force all the same).
    void SetAlarmSettings(const TAlarmSettings& settings);

    const std::optional<std::filesystem::path>& JournalFolder() const {
        return recorder_.JournalFolder();
    }
    // Hears of every row once it is recorded; one listener (the journal
    // window), or none.
    void SetRowListener(std::function<void(const TJournalPoint&)> listener) {
        listener_ = std::move(listener);
    }
    // A row the detector recorded, now on the window thread.
    void RowRecorded(const TJournalRow& row) const;

  private:
    TDoseRecorder& recorder_;
    const TSettingsFileLocation settingsFile_;
    std::function<void(const TJournalPoint&)> listener_;
};

}  // namespace ornet5
