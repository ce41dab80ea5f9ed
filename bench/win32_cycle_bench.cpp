// Wall time and processor share of the driver under Wine against ornet5-sim
// on COM3 (started by bench/win32_bench.sh): silent reads and unanswered
// poll cycles with a silent detector, answered poll cycles with one that
// answers. Prints "# start" before each case and one table row after it;
// a case that fails prints its row as failed and makes the exit code 1.
// The share counts this process's own time only; the script adds the Wine
// server's between the two lines.
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "measure/poll_cycle.h"
#include "serial/cp_drv.h"
#include "tests/support/cpu_share.h"
#include "tests/support/fake_poll_values.h"
#include "tests/support/manual_tick_source.h"
#include "tests/support/steady_environment.h"

namespace ornet5 {
namespace {

constexpr int kSilentReads = 50;
constexpr int kCycles = 20;

// False when a call failed and the row measured nothing.
bool Row(const char* name, int count, const std::function<bool()>& once) {
    using TSteady = std::chrono::steady_clock;
    std::printf("# start\n");
    std::fflush(stdout);
    const auto wallStart = TSteady::now();
    const double cpuStart = test::ProcessCpuSeconds();
    for (int i = 0; i < count; ++i) {
        if (!once()) {
            std::printf("| %s | failed at call %d | |\n", name, i + 1);
            std::fflush(stdout);
            return false;
        }
    }
    const double cpu = test::ProcessCpuSeconds() - cpuStart;
    const double wall = std::chrono::duration<double>(TSteady::now() - wallStart).count();
    std::printf("| %s | %d | %.1f | %.2f |\n", name, count, 1000.0 * wall / count,
                100.0 * cpu / wall);
    std::fflush(stdout);
    return true;
}

int Run(bool answering) {
    TManualTickSource ticks;
    TCPDrv port(ticks);
    test::TFakePollValues values;
    values.portIndex = 2;  // COM3
    test::TFixedFormats formats;
    test::TSteadyEnvironment environment;
    TPollCycle cycle(port, values, environment, formats);
    std::printf("| case | calls | wall ms per call | process CPU %% of wall |\n");
    if (answering) {
        cycle.TimerTrelanTimer();  // identifies
        const bool measured = Row("answered poll cycle", kCycles, [&] {
            cycle.TimerTrelanTimer();
            return values.statusText.starts_with("В ");
        });
        return measured ? 0 : 1;
    }
    port.SetPort(pnCOM3);
    if (!port.OpenPort()) {
        std::printf("COM3 does not open: %s\n", port.LastOpenFailure().systemText.c_str());
        return 1;
    }
    char buffer[kReadBufferSize];
    const bool readsMeasured = Row("silent ReadBytes", kSilentReads,
                                   [&] { return port.ReadBytes(buffer, kReadMaximum) == 0; });
    port.ClosePort();
    const bool cyclesMeasured = Row("unanswered poll cycle", kCycles, [&] {
        cycle.TimerTrelanTimer();
        // Identify and read-dose cycles take turns, both failing.
        return values.statusText.starts_with("Ошибка");
    });
    return readsMeasured && cyclesMeasured ? 0 : 1;
}

}  // namespace
}  // namespace ornet5

int main(int argc, char** argv) {
    const std::string_view mode = argc == 2 ? argv[1] : "";
    if (mode != "answering" && mode != "silent") {
        std::fprintf(stderr, "Usage: win32_cycle_bench answering|silent\n");
        return 2;
    }
    return ornet5::Run(mode == "answering");
}
