// The real driver and exchange over a pseudo-terminal whose far end, the
// ornet5-sim program, never lets the line fall quiet: every read must still
// end at its bound, so that one exchange, and with it a quit request, waits
// at most a few hundred milliseconds per attempt.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "link/exchange.h"
#include "link/frame.h"
#include "serial/cp_drv.h"
#include "serial/port_names.h"
#include "tests/support/child_process.h"
#include "tests/support/manual_tick_source.h"
#include "tests/support/steady_environment.h"
#include "tests/support/temp_config_home.h"

namespace ornet5 {
namespace {

using namespace std::chrono_literals;
using TClock = std::chrono::steady_clock;

constexpr int kComNumber = 6;

class BabblingLine : public ::testing::Test {
  protected:
    void StartSimulator(const std::string& period) {
        sim.emplace(ORNET5_SIM_PATH,
                    std::vector<std::string>{"--silent", "--babble", period, "--link",
                                             home.ComLink(kComNumber).string()},
                    std::vector{home.EnvironmentEntry()});
        ASSERT_TRUE(sim->WaitUntilReady()) << sim->Output();
        port.SetPortName(ComPortName(kComNumber));
    }

    test::TTempConfigHome home;
    std::optional<test::TChildProcess> sim;
    TManualTickSource ticks;
    TCPDrv port{ticks};
    test::TSteadyEnvironment environment;
};

TEST_F(BabblingLine, AReadEndsAtItsBoundAndAnExchangeWithinTwoSecondsAt9600) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator("20"));
    port.SetBaudRateValue(9600);
    ASSERT_TRUE(port.OpenPort());
    char buffer[kReadBufferSize];
    auto start = TClock::now();
    const std::uint32_t got = port.ReadBytes(buffer, kReadMaximum);
    const auto read = TClock::now() - start;
    // 280 characters at the speed, plus the 200 ms quiet time.
    const auto bound = std::chrono::milliseconds(280 * 10 * 1000 / 9600 + 200);
    EXPECT_GT(got, 0u) << sim->Output();
    EXPECT_GT(read, 200ms);
    EXPECT_LT(read, bound + 300ms);

    // Three attempts of one bounded read each.
    start = TClock::now();
    EXPECT_EQ(Exchange(port, environment, BuildFrame(kAllNodesAddress, kOwnAddress, 0, 0, "")), "");
    EXPECT_LT(TClock::now() - start, 2s);
    port.ClosePort();
}

}  // namespace
}  // namespace ornet5
