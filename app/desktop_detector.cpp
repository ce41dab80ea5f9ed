#include "app/desktop_detector.h"

#include <chrono>
#include <limits>

#include "app/alarm_settings_file.h"

namespace ornet5 {

void TDesktopDetector::SetAlarmSettings(const TAlarmSettings& settings) {
    recorder_.SetAlarmSettings(settings);
    TIniFile ini(settingsFile_.path, settingsFile_.name);
    SaveAlarmSettings(ini, settings);
}

void TDesktopDetector::RowRecorded(const TJournalRow& row) const {
    if (!listener_) {
        return;
    }
    listener_(
        {std::chrono::duration_cast<std::chrono::milliseconds>(row.time.utc.time_since_epoch())
             .count(),
         row.dose.value_or(std::numeric_limits<double>::quiet_NaN()), row.status, row.alarm});
}

}  // namespace ornet5
