#include "tools/ornet5-sim/background.h"

#include <algorithm>

namespace ornet5 {

namespace {

constexpr double kMean = 0.15;
// Share of the distance back to the mean that the level makes up per reading.
constexpr double kPull = 0.2;
constexpr double kDrift = 0.012;
constexpr double kNoise = 0.012;

}  // namespace

TBackground::TBackground(std::uint32_t start) : engine_(start), level_(kMean) {
    level_ = kMean + Uniform(-0.02, 0.02);
}

double TBackground::Next() {
    level_ += kPull * (kMean - level_) + Uniform(-kDrift, kDrift);
    return std::clamp(level_ + Uniform(-kNoise, kNoise), kLowest, kHighest);
}

double TBackground::Uniform(double low, double high) {
    const double unit = static_cast<double>(engine_()) / 4294967296.0;
    return low + (high - low) * unit;
}

}  // namespace ornet5
