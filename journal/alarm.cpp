#include "journal/alarm.h"

#include <cmath>
#include <stdexcept>

namespace ornet5 {

namespace {

// Two in a row, so that one stray reading neither raises nor ends it.
constexpr int kReadingsToChange = 2;

}  // namespace

bool IsValidAlarmThreshold(double threshold) {
    return std::isfinite(threshold) && threshold > 0;
}

void TAlarmRule::SetSettings(const TAlarmSettings& settings) {
    if (settings.threshold && !IsValidAlarmThreshold(*settings.threshold)) {
        throw std::invalid_argument("alarm threshold must be a finite dose above zero");
    }
    if (settings.threshold != settings_.threshold) {
        run_ = 0;
    }
    if (settings.sound && !settings_.sound) {
        lastSound_.reset();
    }
    settings_ = settings;
    if (!Armed()) {
        on_ = false;
        run_ = 0;
    }
}

bool TAlarmRule::Feed(std::optional<double> reading, std::chrono::steady_clock::time_point now) {
    bool wentOn = false;
    if (Armed() && reading && !std::isnan(*reading)) {
        const bool above = *reading >= *settings_.threshold;
        run_ = above != on_ ? run_ + 1 : 0;
        if (run_ >= kReadingsToChange) {
            on_ = !on_;
            wentOn = on_;
            run_ = 0;
        }
    }
    return SoundDue(now, wentOn);
}

bool TAlarmRule::SoundDue(std::chrono::steady_clock::time_point now, bool wentOn) {
    if (!on_ || !settings_.sound) {
        return false;
    }
    if (wentOn || !lastSound_ || now - *lastSound_ >= kSoundRepeat) {
        lastSound_ = now;
        return true;
    }
    return false;
}

}  // namespace ornet5
