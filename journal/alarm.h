#pragma once

#include <chrono>
#include <optional>

namespace ornet5 {

// The user's alarm settings; the caller stores them.
struct TAlarmSettings {
    bool enabled = false;
    // µSv/h; none until the user sets one. Must be finite and above zero.
    std::optional<double> threshold;
    bool sound = true;
};

// True for a threshold the rule takes: finite and above zero.
bool IsValidAlarmThreshold(double threshold);

// The dose alarm: on after two consecutive readings at or above the
// threshold, off after two consecutive readings below it. A cycle without
// a reading changes nothing and does not break a run: the alarm stays on
// while the detector is silent. Off at once when the alarm is switched off
// or its threshold cleared. The rule makes no sound itself: Feed says when
// one is due, on going on and every 30 s while on, unless sound is off.
// Pure logic; the caller gives it a steady clock's time.
class TAlarmRule {
  public:
    static constexpr std::chrono::seconds kSoundRepeat{30};

    // Takes new settings, at start or when the user changes them. Throws
    // std::invalid_argument for a threshold IsValidAlarmThreshold refuses,
    // leaving the rule as it was.
    // - Switched off or threshold cleared: off at once, the run forgotten.
    // - A new threshold while on: the alarm stays on (no second sound) and
    //   the run starts afresh, so two readings against the new threshold
    //   decide; a threshold raised above the dose ends it after two
    //   readings, as if the dose had fallen. The same while off: two
    //   readings at or above the new threshold are needed.
    // - Sound switched on while on: a sound is due at the next Feed; off:
    //   none from then on.
    void SetSettings(const TAlarmSettings& settings);

    // One poll cycle's outcome: the reading in µSv/h, or none (no reply,
    // a bad reply, a cancel, an identify; a NaN counts as none). True when
    // a sound is due now.
    bool Feed(std::optional<double> reading, std::chrono::steady_clock::time_point now);

    bool IsOn() const { return on_; }
    const TAlarmSettings& Settings() const { return settings_; }

  private:
    bool Armed() const { return settings_.enabled && settings_.threshold.has_value(); }
    bool SoundDue(std::chrono::steady_clock::time_point now, bool wentOn);

    TAlarmSettings settings_;
    bool on_ = false;
    // Consecutive readings on the other side of the threshold from the
    // alarm's state: above it while off, below it while on.
    int run_ = 0;
    std::optional<std::chrono::steady_clock::time_point> lastSound_;
};

}  // namespace ornet5
