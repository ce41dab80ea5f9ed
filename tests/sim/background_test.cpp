#include "tools/ornet5-sim/background.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "tools/ornet5-sim/reading_encoder.h"

namespace ornet5 {
namespace {

std::vector<double> Draw(std::uint32_t start, std::size_t count) {
    TBackground background(start);
    std::vector<double> values;
    for (std::size_t i = 0; i < count; ++i) {
        values.push_back(background.Next());
    }
    return values;
}

TEST(Background, StaysWithinTheGammaBackgroundBand) {
    for (const std::uint32_t start : {0u, 1u, 12345u, 4294967295u}) {
        const std::vector<double> values = Draw(start, 20000);
        double sum = 0;
        for (const double v : values) {
            ASSERT_GE(v, 0.10);
            ASSERT_LE(v, 0.20);
            sum += v;
        }
        EXPECT_NEAR(sum / values.size(), 0.15, 0.02);
    }
}

TEST(Background, IsNoisyNotConstant) {
    const std::vector<double> values = Draw(7, 1000);
    std::set<std::uint16_t> words;
    double squares = 0;
    for (const double v : values) {
        words.insert(*EncodeReading(v));
        squares += (v - 0.15) * (v - 0.15);
    }
    EXPECT_GT(words.size(), 20u) << "the display should move";
    EXPECT_GT(std::sqrt(squares / values.size()), 0.005);
    std::size_t changes = 0;
    for (std::size_t i = 1; i < values.size(); ++i) {
        changes += values[i] != values[i - 1];
    }
    EXPECT_GT(changes, values.size() * 9 / 10);
}

TEST(Background, SameStartGivesSameSequence) {
    EXPECT_EQ(Draw(42, 500), Draw(42, 500));
    EXPECT_NE(Draw(42, 500), Draw(43, 500));
}

}  // namespace
}  // namespace ornet5
