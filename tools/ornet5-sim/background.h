#pragma once

#include <cstdint>
#include <random>

namespace ornet5 {

// A plausible natural gamma background in µSv/h: a level that drifts slowly
// around 0.15, plus fresh noise on every reading, kept within 0.10 to 0.20.
// The same start gives the same sequence.
class TBackground {
  public:
    static constexpr double kLowest = 0.10;
    static constexpr double kHighest = 0.20;

    explicit TBackground(std::uint32_t start);

    double Next();

  private:
    // Uniform in [low, high), from the engine's fully specified output so
    // that a start gives the same readings with any standard library.
    double Uniform(double low, double high);

    std::mt19937 engine_;
    double level_;
};

}  // namespace ornet5
