#pragma once

#include "journal/alarm.h"
#include "settings/ini_file.h"

namespace ornet5 {

// The dose alarm's settings in the program's settings file, in a section of
// their own beside the connection settings window's, which stays as it is:
//   [DoseAlarm]
//   Enabled=True
//   Threshold=0.3      (µSv/h, '.' as the decimal separator; empty: none)
//   Sound=True
inline constexpr const char* kAlarmSection = "DoseAlarm";

// A missing or malformed value takes its default: off, no threshold, sound
// on. Never throws.
TAlarmSettings LoadAlarmSettings(const TIniFile& ini);

// Throws EIniFileError "Unable to write to ORNET5.INI" when a key cannot be
// written.
void SaveAlarmSettings(TIniFile& ini, const TAlarmSettings& settings);

}  // namespace ornet5
