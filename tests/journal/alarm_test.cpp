#include "journal/alarm.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>

namespace ornet5 {
namespace {

using namespace std::chrono_literals;
using TTime = std::chrono::steady_clock::time_point;

constexpr double kThreshold = 1.0;
const TAlarmSettings kArmed{.enabled = true, .threshold = kThreshold, .sound = true};

// Cycles every 3 s: 'H' a reading at the threshold, 'h' above it, 'L'
// below it, '.' a cycle without a reading. Returns per cycle the alarm's
// state ('0'/'1') and, when a sound is due, '*' in place of '1'.
std::string Cycles(TAlarmRule& rule, const std::string& cycles, TTime& now) {
    std::string states;
    for (const char cycle : cycles) {
        std::optional<double> reading;
        if (cycle == 'H') {
            reading = kThreshold;
        } else if (cycle == 'h') {
            reading = 7.5;
        } else if (cycle == 'L') {
            reading = 0.999;
        }
        const bool sound = rule.Feed(reading, now);
        states += sound ? '*' : rule.IsOn() ? '1' : '0';
        EXPECT_TRUE(!sound || rule.IsOn());
        now += 3s;
    }
    return states;
}

std::string Cycles(const TAlarmSettings& settings, const std::string& cycles) {
    TAlarmRule rule;
    rule.SetSettings(settings);
    TTime now{};
    return Cycles(rule, cycles, now);
}

TEST(AlarmRule, TwoReadingsInARowSwitchIt) {
    const struct {
        const char* cycles;
        const char* states;
    } table[] = {
        {"H", "0"},
        {"HH", "0*"},
        {"hH", "0*"},
        {"HLH", "000"},
        {"H.H", "00*"},
        {"H...h", "0000*"},
        {"HHL", "0*1"},
        {"HHLL", "0*10"},
        {"HHL.L", "0*110"},
        {"HHLHL", "0*111"},
        {"HHLLHH", "0*100*"},
        {"LLLL", "0000"},
        // Silence keeps it on; the sound repeats every 30 s while on.
        {"HH..........h..........", "0*.........*.........*."},
    };
    for (const auto& row : table) {
        std::string expected = row.states;
        for (char& c : expected) {
            c = c == '.' ? '1' : c;
        }
        EXPECT_EQ(Cycles(kArmed, row.cycles), expected) << row.cycles;
    }
}

TEST(AlarmRule, StaysOffUntilSwitchedOnWithAThreshold) {
    EXPECT_EQ(Cycles({}, "hhhh"), "0000");
    EXPECT_EQ(Cycles({.enabled = true, .threshold = std::nullopt}, "hhhh"), "0000");
    EXPECT_EQ(Cycles({.enabled = false, .threshold = kThreshold}, "hhhh"), "0000");
    // Without sound it goes on all the same, silently.
    EXPECT_EQ(Cycles({.enabled = true, .threshold = kThreshold, .sound = false}, "hhhh"), "0111");
}

TEST(AlarmRule, SettingsChangedWhileOn) {
    TTime now{};
    TAlarmRule rule;
    rule.SetSettings(kArmed);
    EXPECT_EQ(Cycles(rule, "hh", now), "0*");
    // Switched off or its threshold cleared: off at once, and two readings
    // are needed again.
    for (const TAlarmSettings off : {TAlarmSettings{.enabled = false, .threshold = kThreshold},
                                     TAlarmSettings{.enabled = true, .threshold = {}}}) {
        rule.SetSettings(off);
        EXPECT_FALSE(rule.IsOn());
        rule.SetSettings(kArmed);
        EXPECT_EQ(Cycles(rule, "hh", now), "0*");
    }
    // A threshold raised above the dose: still on, no second sound; two
    // readings below the new one end it, a reading judged against the old
    // one does not count.
    EXPECT_EQ(Cycles(rule, "L", now), "1");
    rule.SetSettings({.enabled = true, .threshold = 10.0});
    EXPECT_EQ(Cycles(rule, "hh", now), "10");
    // Sound switched off while on: silent; on again: due at the next cycle.
    rule.SetSettings(kArmed);
    EXPECT_EQ(Cycles(rule, "hh", now), "0*");
    rule.SetSettings({.enabled = true, .threshold = kThreshold, .sound = false});
    EXPECT_EQ(Cycles(rule, "h", now), "1");
    rule.SetSettings(kArmed);
    EXPECT_EQ(Cycles(rule, "hh", now), "*1");
}

TEST(AlarmRule, RefusesAThresholdThatIsNoDoseAndANaNReadingIsNone) {
    TAlarmRule rule;
    rule.SetSettings(kArmed);
    for (const double bad : {0.0, -1.0, std::nan(""), HUGE_VAL}) {
        EXPECT_FALSE(IsValidAlarmThreshold(bad));
        EXPECT_THROW(rule.SetSettings({.enabled = true, .threshold = bad}), std::invalid_argument);
    }
    // The rule kept its settings, and a NaN between readings breaks no run.
    EXPECT_FALSE(rule.Feed(kThreshold, {}));
    EXPECT_FALSE(rule.Feed(std::nan(""), {}));
    EXPECT_TRUE(rule.Feed(kThreshold, {}));
}

}  // namespace
}  // namespace ornet5
