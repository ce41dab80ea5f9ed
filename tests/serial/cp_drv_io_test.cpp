#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <string_view>
#include <thread>

#include "serial/cp_drv.h"
#include "serial/posix_termios2.h"
#include "tests/support/cpu_share.h"
#include "tests/support/manual_tick_source.h"
#include "tests/support/pty_pair.h"
#include "tests/support/temp_config_home.h"

namespace ornet5 {
namespace {

using namespace std::chrono_literals;
using TSteady = std::chrono::steady_clock;

using test::Time;

class DriverIo : public ::testing::Test {
  protected:
    void SetUp() override {
        driver.SetPortName(pty.SlavePath());
        ASSERT_TRUE(driver.OpenPort());
    }
    // Bytes written at the far end reach the driver's queue a moment later.
    void AwaitInputCount(std::uint32_t count) {
        const auto deadline = TSteady::now() + 2s;
        while (driver.InputCount() < count && TSteady::now() < deadline) {
            std::this_thread::sleep_for(1ms);
        }
        ASSERT_EQ(driver.InputCount(), count);
    }
    // One ReadBytes that may take 280 bytes returns `expected` after
    // `least` to `most` of waiting.
    void ExpectRead(std::string_view expected, std::chrono::milliseconds least,
                    std::chrono::milliseconds most) {
        std::uint32_t got = 0;
        const auto timed = Time([&] { got = driver.ReadBytes(buffer, 280); });
        EXPECT_EQ(std::string_view(buffer, got), expected);
        EXPECT_GE(timed.wall, least);
        EXPECT_LE(timed.wall, most);
    }

    TManualTickSource ticks;
    TPtyPair pty;
    TCPDrv driver{ticks};
    char buffer[300] = {};
};

TEST(DriverClosed, EveryOperationReportsTheClosedPort) {
    TManualTickSource ticks;
    TCPDrv driver(ticks);
    char buffer[8];
    const auto timed = Time([&] { EXPECT_EQ(driver.ReadBytes(buffer, sizeof buffer), 0u); });
    EXPECT_LT(timed.wall, 50ms);
    EXPECT_EQ(driver.SendBytes("abc", 3), 0u);
    EXPECT_EQ(driver.SendBytesTimed("abc", 3, 1000), 0u);
    EXPECT_TRUE(driver.SendText(""));
    EXPECT_FALSE(driver.SendText("x"));
    EXPECT_EQ(driver.InputCount(), 65535u);
    EXPECT_EQ(driver.OutputFree(), 65535);
    EXPECT_EQ(driver.ModemLines(), 0);
    EXPECT_FALSE(driver.PurgeBuffers(true, true));
    EXPECT_FALSE(driver.ApplyLineSettings());
    driver.ClosePort();
    EXPECT_FALSE(driver.IsOpen());
}

TEST(DriverOpen, MissingDeviceOrOneThatIsNoTerminalFailsAndStartsNoTimer) {
    for (const char* path : {"/nonexistent/ornet5-tty", "/dev/null"}) {
        SCOPED_TRACE(path);
        TManualTickSource ticks;
        TCPDrv driver(ticks);
        driver.SetPortName(path);
        EXPECT_FALSE(driver.OpenPort());
        EXPECT_FALSE(driver.IsOpen());
        EXPECT_FALSE(ticks.IsRunning());
        EXPECT_EQ(ticks.StartCount(), 0);
    }
}

TEST(DriverOpen, OpenIsExclusiveAcrossDriversAndProcesses) {
    TPtyPair pty;
    TManualTickSource ticks1;
    TManualTickSource ticks2;
    TCPDrv first(ticks1);
    TCPDrv second(ticks2);
    first.SetPortName(pty.SlavePath());
    second.SetPortName(pty.SlavePath());
    ASSERT_TRUE(first.OpenPort());
    EXPECT_FALSE(second.OpenPort());
    EXPECT_FALSE(ticks2.IsRunning());

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TManualTickSource ticks;
        TCPDrv other(ticks);
        other.SetPortName(pty.SlavePath());
        _exit(other.OpenPort() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "another process opened the port too";

    first.ClosePort();
    EXPECT_TRUE(second.OpenPort()) << "free again after the close";
}

TEST(DriverOpen, ComPortNameFindsTheLinkInTheConfigurationFolder) {
    TPtyPair pty;
    test::TTempConfigHome home;
    std::filesystem::create_directories(home.ComLink(7).parent_path());
    std::filesystem::create_symlink(pty.SlavePath(), home.ComLink(7));

    TManualTickSource ticks;
    TCPDrv driver(ticks);
    driver.SetPort(pnCOM7);
    EXPECT_TRUE(driver.OpenPort());
    EXPECT_TRUE(driver.SendText("via link"));
    EXPECT_EQ(pty.Read(8), "via link");
    driver.ClosePort();
}

TEST(DriverOpen, DestructionClosesThePort) {
    TPtyPair pty;
    TManualTickSource ticks;
    {
        TCPDrv driver(ticks);
        driver.SetPortName(pty.SlavePath());
        ASSERT_TRUE(driver.OpenPort());
        EXPECT_TRUE(ticks.IsRunning());
    }
    EXPECT_FALSE(ticks.IsRunning());
    TCPDrv again(ticks);
    again.SetPortName(pty.SlavePath());
    EXPECT_TRUE(again.OpenPort());
}

TEST_F(DriverIo, OpenStartsTheReceivePollAndCloseStopsIt) {
    EXPECT_TRUE(ticks.IsRunning());
    EXPECT_EQ(ticks.Period(), 50ms);
    driver.ClosePort();
    EXPECT_FALSE(driver.IsOpen());
    EXPECT_FALSE(ticks.IsRunning());
}

TEST_F(DriverIo, OpeningAnOpenPortChangesNothing) {
    ASSERT_TRUE(pty.Write("abc"));
    AwaitInputCount(3);
    EXPECT_TRUE(driver.OpenPort());
    EXPECT_EQ(driver.InputCount(), 3u) << "no purge";
    EXPECT_EQ(ticks.StartCount(), 1);
}

TEST_F(DriverIo, QueueCountersPurgeAndModemLines) {
    EXPECT_EQ(driver.InputCount(), 0u);
    ASSERT_TRUE(pty.Write("1234567"));
    AwaitInputCount(7);
    EXPECT_TRUE(driver.PurgeBuffers(false, true));
    EXPECT_EQ(driver.InputCount(), 7u) << "output purge leaves the input";
    EXPECT_TRUE(driver.PurgeBuffers(true, false));
    EXPECT_EQ(driver.InputCount(), 0u);
    EXPECT_GT(driver.OutputFree(), 0);
    EXPECT_LE(driver.OutputFree(), 2048);
    EXPECT_EQ(driver.ModemLines(), 0) << "a pseudo-terminal has no modem lines";
}

TEST_F(DriverIo, ChangedLineSettingsPurgeBothQueues) {
    ASSERT_TRUE(pty.Write("abc"));
    AwaitInputCount(3);
    driver.SetParity(ptEVEN);
    EXPECT_EQ(driver.InputCount(), 0u);
    EXPECT_TRUE(driver.ApplyLineSettings());
}

// A cancelled poll leaves the port open, and the next poll sets its speed
// on the open port before it closes it.
TEST_F(DriverIo, SpeedSetWhileOpenReachesTheDeviceAtOnce) {
    EXPECT_EQ(Termios2Speed(pty.SlaveFd()), 9600u);
    driver.SetBaudRateValue(19200);
    EXPECT_EQ(Termios2Speed(pty.SlaveFd()), 19200u);
    driver.SetBaudRate(br4800);
    EXPECT_EQ(Termios2Speed(pty.SlaveFd()), 4800u);
    driver.ClosePort();
    driver.SetBaudRateValue(1200);
    EXPECT_EQ(Termios2Speed(pty.SlaveFd()), 4800u) << "a closed port's device is not touched";
    ASSERT_TRUE(driver.OpenPort());
    EXPECT_EQ(Termios2Speed(pty.SlaveFd()), 1200u);
}

TEST_F(DriverIo, SendTextReachesTheFarEnd) {
    EXPECT_TRUE(driver.SendText(std::string("he\0lo", 5)));
    EXPECT_EQ(pty.Read(5), std::string("he\0lo", 5));
    EXPECT_TRUE(driver.SendText(""));
}

TEST_F(DriverIo, SilentPortReadsNothingAfterTheInputTimeout) {
    ExpectRead("", 200ms, 600ms);
}

TEST_F(DriverIo, BurstComesBackWholeAfterTheLineFallsIdle) {
    ASSERT_TRUE(pty.Write("0123456789abcdefghijk"));
    AwaitInputCount(21);
    ExpectRead("0123456789abcdefghijk", 200ms, 600ms);
}

TEST_F(DriverIo, IdleClockRestartsWithEveryChunk) {
    std::thread farEnd([this] {
        std::this_thread::sleep_for(150ms);
        pty.Write("0123456789");
        std::this_thread::sleep_for(150ms);
        pty.Write("abcdefghijk");
    });
    // About 200 ms after the last byte at about 300 ms; a clock that did not
    // restart would have ended the call at 200 ms with the first chunk only.
    ExpectRead("0123456789abcdefghijk", 450ms, 1200ms);
    farEnd.join();
}

TEST_F(DriverIo, MaximumReturnsAtOnceAndLeavesTheRestQueued) {
    ASSERT_TRUE(pty.Write("0123456789abcdefghijk"));
    AwaitInputCount(21);
    std::uint32_t got = 0;
    const auto timed = Time([&] { got = driver.ReadBytes(buffer, 5); });
    EXPECT_EQ(got, 5u);
    EXPECT_EQ(std::string(buffer, 5), "01234");
    EXPECT_LT(timed.wall, 100ms);
    EXPECT_EQ(driver.InputCount(), 16u);
}

TEST_F(DriverIo, WriteToAFarEndThatStopsReadingReturnsAShortCount) {
    const std::string block(1 << 20, 'w');
    std::uint32_t sent = 0;
    const auto timed = Time([&] { sent = driver.SendBytesTimed(block.data(), block.size(), 100); });
    EXPECT_GT(sent, 0u);
    EXPECT_LT(sent, block.size());
    EXPECT_GE(timed.wall, 100ms);
    EXPECT_LE(timed.wall, 800ms);
    EXPECT_LT(timed.cpuShare, test::kBlockingCpuShare) << "waited in poll, not in a loop";
    EXPECT_EQ(pty.Read(block.size(), 100ms).size(), sent) << "the count is what went out";
}

TEST_F(DriverIo, SendBytesUsesTheOutputTimeout) {
    driver.SetOutputTimeout(150);
    const std::string block(1 << 20, 'w');
    const auto timed = Time([&] { driver.SendBytes(block.data(), block.size()); });
    EXPECT_GE(timed.wall, 150ms);
    EXPECT_LE(timed.wall, 900ms);
    EXPECT_FALSE(driver.SendText(block));
}

TEST_F(DriverIo, LineCheckWithoutModemLinesWritesNothing) {
    driver.SetCheckLineStatus(true);
    const auto timed = Time([&] { EXPECT_EQ(driver.SendBytes("abc", 3), 0u); });
    EXPECT_LT(timed.wall, 50ms);
    EXPECT_EQ(pty.Read(3, 50ms), "");
}

// The far end goes away while the port is open: a closed master hangs the
// slave up, which then polls ready at once and fails every query.
TEST_F(DriverIo, VanishedDeviceEndsReadsAndWritesWithoutSpinning) {
    pty.CloseMaster();
    std::uint32_t got = 99;
    const auto read = Time([&] { got = driver.ReadBytes(buffer, 280); });
    EXPECT_EQ(got, 0u);
    EXPECT_LE(read.wall, 700ms);
    EXPECT_LT(read.cpuShare, test::kBlockingCpuShare);

    driver.SetOutputTimeout(100);
    std::uint32_t sent = 99;
    const auto write = Time([&] { sent = driver.SendBytes("abc", 3); });
    EXPECT_EQ(sent, 0u);
    EXPECT_LE(write.wall, 700ms);
    EXPECT_LT(write.cpuShare, test::kBlockingCpuShare);

    EXPECT_EQ(driver.InputCount(), 0u);
    EXPECT_EQ(driver.OutputFree(), 0);
    ticks.Tick();
    driver.ClosePort();
    EXPECT_FALSE(driver.IsOpen());
    EXPECT_FALSE(ticks.IsRunning());
}

}  // namespace
}  // namespace ornet5
