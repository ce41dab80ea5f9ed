// ornet5-sim: a simulated ORNET-5 detector on a pseudo-terminal.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "tools/ornet5-sim/sim_loop.h"
#include "tools/ornet5-sim/sim_options.h"

namespace {

constexpr int kExitSetupFailed = 1;
constexpr int kExitBadOption = 2;

std::optional<std::string> Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace ornet5;
    const std::vector<std::string_view> args(argv + std::min(argc, 1), argv + argc);
    const TOptionsResult parsed = ParseSimOptions(
        args, {.xdgConfigHome = Environment("XDG_CONFIG_HOME"), .home = Environment("HOME")});
    if (const auto* error = std::get_if<TOptionsError>(&parsed)) {
        std::fprintf(stderr, "ornet5-sim: %s\n", error->message.c_str());
        return kExitBadOption;
    }
    const TSimOptions& options = std::get<TSimOptions>(parsed);
    if (options.help) {
        std::fputs(SimHelpText().c_str(), stdout);
        return EXIT_SUCCESS;
    }
    try {
        RunSimulator(options, std::random_device{}());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "ornet5-sim: %s\n", error.what());
        return kExitSetupFailed;
    }
    return EXIT_SUCCESS;
}
