// The built program against the detector simulator on an X display: it
// polls the simulator and ends cleanly on SIGTERM.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/temp_config_home.h"

namespace ornet5 {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

using test::TTempConfigHome;

// The program runs on an X display, with a configuration folder of its own.
class Program : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == '\0') {
            GTEST_SKIP() << "needs an X display (the test command provides one)";
        }
    }

    // The simulator with `options` at COM3, once it is ready.
    void StartSimulator(std::vector<std::string> options) {
        options.insert(options.end(), {"--link", (configHome.Path() / "ornet5" / "com3").string()});
        simulator.emplace(ORNET5_SIM_PATH, options, std::vector{xdg});
        ASSERT_TRUE(simulator->WaitForOutput("ready", 10s)) << simulator->Output();
    }

    TTempConfigHome configHome;
    const std::string xdg = "XDG_CONFIG_HOME=" + configHome.Path().string();
    std::optional<test::TChildProcess> simulator;
};

TEST_F(Program, PollsTheSimulatorAndEndsWithExitCodeZeroOnSigterm) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator({}));

    test::TChildProcess program(ORNET5_PROGRAM_PATH, {}, {xdg, "QT_QPA_PLATFORM=xcb"});
    // The first poll comes 3 s after start and identifies, the second reads.
    EXPECT_TRUE(simulator->WaitForOutput("identify request", 15s)) << simulator->Output();
    EXPECT_TRUE(simulator->WaitForOutput("read-dose request", 15s)) << simulator->Output();

    program.Signal(SIGTERM);
    const std::optional<int> status = program.WaitForExit(10s);
    ASSERT_TRUE(status.has_value()) << "still running 10 s after SIGTERM";
    EXPECT_TRUE(WIFEXITED(*status)) << program.Output();
    EXPECT_EQ(WEXITSTATUS(*status), 0) << program.Output();
    // Closing the settings window on the way out stored the settings.
    EXPECT_TRUE(fs::exists(configHome.Path() / "ORNET5.INI"));

    simulator->Signal(SIGTERM);
    const std::optional<int> simulatorStatus = simulator->WaitForExit(10s);
    ASSERT_TRUE(simulatorStatus.has_value());
    EXPECT_EQ(WEXITSTATUS(*simulatorStatus), 0);
}

// A line that never falls quiet holds an exchange only for its three
// bounded reads, so a quit signal is honoured soon after.
TEST_F(Program, EndsSoonAfterSigtermWhileAnExchangeRunsOnABabblingLine) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator({"--silent", "--babble", "20"}));

    test::TChildProcess program(ORNET5_PROGRAM_PATH, {}, {xdg, "QT_QPA_PLATFORM=xcb"});
    ASSERT_TRUE(simulator->WaitForOutput("identify request", 15s)) << simulator->Output();
    const auto signalled = std::chrono::steady_clock::now();
    program.Signal(SIGTERM);
    const std::optional<int> status = program.WaitForExit(30s);
    const auto took = std::chrono::steady_clock::now() - signalled;
    ASSERT_TRUE(status.has_value()) << "still running 30 s after SIGTERM";
    EXPECT_TRUE(WIFEXITED(*status)) << program.Output();
    std::printf("ended %lld ms after SIGTERM\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
    // Three reads of at most 492 ms at 9600 bit/s, with room for a loaded machine.
    EXPECT_LT(took, 3s);
}

TEST_F(Program, EndsOnSigtermAlthoughTheSettingsFileCannotBeWritten) {
    // A config folder below a regular file cannot be made, not even by root.
    const fs::path blocker = configHome.Path() / "not-a-folder";
    {
        std::FILE* file = std::fopen(blocker.c_str(), "w");
        ASSERT_NE(file, nullptr);
        std::fclose(file);
    }
    const std::string blockedXdg = "XDG_CONFIG_HOME=" + (blocker / "config").string();

    test::TChildProcess program(ORNET5_PROGRAM_PATH, {}, {blockedXdg, "QT_QPA_PLATFORM=xcb"});
    // The first activation's save fails and its report box is open now.
    std::this_thread::sleep_for(2s);
    program.Signal(SIGTERM);
    const std::optional<int> status = program.WaitForExit(10s);
    ASSERT_TRUE(status.has_value()) << "still running 10 s after SIGTERM: " << program.Output();
    EXPECT_TRUE(WIFEXITED(*status)) << program.Output();
    EXPECT_EQ(WEXITSTATUS(*status), 0) << program.Output();
    // The save at the end failed again and was told on standard error.
    EXPECT_NE(program.Output().find("error while ending: Unable to write to ORNET5.INI."),
              std::string::npos)
        << program.Output();
}

}  // namespace
}  // namespace ornet5
