#include "app/alarm_settings_file.h"

#include "common/decimal_text.h"
#include "settings/ascii_text.h"

namespace ornet5 {

namespace {

bool ReadBoolean(const TIniFile& ini, const char* key, bool defaultValue) {
    const std::string text = std::string(TrimBlanks(ini.ReadString(kAlarmSection, key, "")));
    if (SameTextAscii(text, "True")) {
        return true;
    }
    if (SameTextAscii(text, "False")) {
        return false;
    }
    return defaultValue;
}

}  // namespace

TAlarmSettings LoadAlarmSettings(const TIniFile& ini) {
    TAlarmSettings settings;
    settings.enabled = ReadBoolean(ini, "Enabled", settings.enabled);
    settings.sound = ReadBoolean(ini, "Sound", settings.sound);
    const auto threshold = ParseDecimalText(ini.ReadString(kAlarmSection, "Threshold", ""));
    if (threshold && IsValidAlarmThreshold(*threshold)) {
        settings.threshold = threshold;
    }
    return settings;
}

void SaveAlarmSettings(TIniFile& ini, const TAlarmSettings& settings) {
    ini.WriteString(kAlarmSection, "Enabled", settings.enabled ? "True" : "False");
    ini.WriteString(kAlarmSection, "Threshold",
                    settings.threshold ? ShortestDecimalText(*settings.threshold) : "");
    ini.WriteString(kAlarmSection, "Sound", settings.sound ? "True" : "False");
}

}  // namespace ornet5
