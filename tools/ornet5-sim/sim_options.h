#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace ornet5 {

// How the simulated detector behaves, as chosen on the command line.
struct TSimOptions {
    std::string linkPath;
    std::string addressText = "4.2.31";
    std::string address;  // the 3 bytes of addressText
    // A fixed packed-decimal word for every read-dose reply; empty: background.
    std::optional<std::uint16_t> fixedWord;
    // Start of the background sequence; empty: a different one each run.
    std::optional<std::uint32_t> randomStart;
    bool silent = false;
    bool badHeaderChecksum = false;
    bool badDataChecksum = false;
    bool split = false;
    // The monitor's read returns after 200 ms without input; a longer pause
    // makes it see the two pieces of a split reply as two reads.
    std::chrono::milliseconds splitPause{300};
    std::chrono::milliseconds late{0};
    // A line that never falls quiet: one junk byte every so often (0: off).
    std::chrono::milliseconds babble{0};
    bool help = false;
};

// The environment that the default link path comes from.
struct TSimEnvironment {
    std::optional<std::string> xdgConfigHome;
    std::optional<std::string> home;
};

struct TOptionsError {
    std::string message;
};

using TOptionsResult = std::variant<TSimOptions, TOptionsError>;

// args: the command-line arguments after the program name.
TOptionsResult ParseSimOptions(std::span<const std::string_view> args,
                               const TSimEnvironment& environment);

std::string SimHelpText();

}  // namespace ornet5
