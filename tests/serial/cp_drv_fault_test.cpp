// The driver over a scripted backend that misbehaves in the ways a real
// device can: counts that cannot be had, bytes reported but never yielded,
// queues larger than the driver's idea of them, waits that return at once.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

#include "serial/cp_drv.h"
#include "tests/support/cpu_share.h"
#include "tests/support/manual_tick_source.h"
#include "tests/support/stub_backend.h"

namespace ornet5 {
namespace {

using namespace std::chrono_literals;
using TSteady = std::chrono::steady_clock;

class TScriptedBackend final : public test::TStubBackend {
  public:
    std::optional<TQueueCounts> counts = TQueueCounts{};
    bool applyFails = false;
    std::size_t writeRoom = 0;  // bytes Write accepts
    int reads = 0;

    bool ApplyLineSettings(TPortHandle, const TLineSettings&) override { return !applyFails; }
    std::optional<TQueueCounts> QueueCounts(TPortHandle) override { return counts; }
    std::size_t Read(TPortHandle, char*, std::size_t) override {
        ++reads;
        return 0;
    }
    std::size_t Write(TPortHandle, const char*, std::size_t count) override {
        const std::size_t n = std::min(count, writeRoom);
        writeRoom -= n;
        return n;
    }
    // The worst case for a waiting loop: every wait says "ready" at once
    // (the stub's write wait already does).
    TWaitResult WaitReadable(TPortHandle, std::chrono::milliseconds) override {
        return TWaitResult::Ready;
    }
};

using test::Time;

class DriverFaults : public ::testing::Test {
  protected:
    DriverFaults() {
        auto owned = std::make_unique<TScriptedBackend>();
        backend = owned.get();
        driver = std::make_unique<TCPDrv>(ticks, std::move(owned));
        driver->SetPortName("scripted");
    }

    TManualTickSource ticks;
    TScriptedBackend* backend = nullptr;
    std::unique_ptr<TCPDrv> driver;
    char buffer[280] = {};
};

TEST_F(DriverFaults, BytesReportedButNeverYieldedEndTheReadByTheIdleRule) {
    ASSERT_TRUE(driver->OpenPort());
    backend->counts = TQueueCounts{50, 0};
    std::uint32_t got = 99;
    const auto timed = Time([&] { got = driver->ReadBytes(buffer, sizeof buffer); });
    EXPECT_EQ(got, 0u);
    EXPECT_GE(timed.wall, 200ms);
    EXPECT_LE(timed.wall, 700ms);
    EXPECT_LT(timed.cpuShare, test::kBlockingCpuShare);
    EXPECT_LT(backend->reads, 100) << "one look per pause, not a read loop";
}

TEST_F(DriverFaults, DeviceThatPollsReadyWithNothingToReadDoesNotSpin) {
    ASSERT_TRUE(driver->OpenPort());
    const auto timed = Time([&] { EXPECT_EQ(driver->ReadBytes(buffer, sizeof buffer), 0u); });
    EXPECT_GE(timed.wall, 200ms);
    EXPECT_LE(timed.wall, 700ms);
    EXPECT_LT(timed.cpuShare, test::kBlockingCpuShare);
}

TEST_F(DriverFaults, FailingCountsMeanNothingWaitingAndNoRoom) {
    ASSERT_TRUE(driver->OpenPort());
    backend->counts.reset();
    EXPECT_EQ(driver->InputCount(), 0u);
    EXPECT_EQ(driver->OutputFree(), 0);
    const auto read = Time([&] { EXPECT_EQ(driver->ReadBytes(buffer, sizeof buffer), 0u); });
    EXPECT_LE(read.wall, 700ms);
    EXPECT_LT(read.cpuShare, test::kBlockingCpuShare);
    backend->writeRoom = 100;
    const auto write = Time([&] { EXPECT_EQ(driver->SendBytesTimed("abc", 3, 100), 0u); });
    EXPECT_GE(write.wall, 100ms);
    EXPECT_LE(write.wall, 600ms);
    EXPECT_LT(write.cpuShare, test::kBlockingCpuShare);
}

TEST_F(DriverFaults, OutputQueueBeyondTheBufferSizeMeansNoRoom) {
    ASSERT_TRUE(driver->OpenPort());
    backend->counts = TQueueCounts{0, 3000};  // OutBufSize is 2048
    EXPECT_EQ(driver->OutputFree(), 0) << "not 2048 - 3000 wrapped to 16 bits";
    backend->counts = TQueueCounts{0, 48};
    EXPECT_EQ(driver->OutputFree(), 2000);
}

TEST_F(DriverFaults, RefusedWritesEndAfterTheTimeoutWithoutSpinning) {
    ASSERT_TRUE(driver->OpenPort());
    backend->writeRoom = 10;
    std::uint32_t sent = 0;
    const auto timed = Time([&] { sent = driver->SendBytesTimed("0123456789abcdef", 16, 100); });
    EXPECT_EQ(sent, 10u);
    EXPECT_GE(timed.wall, 100ms);
    EXPECT_LE(timed.wall, 600ms);
    EXPECT_LT(timed.cpuShare, test::kBlockingCpuShare);
}

TEST_F(DriverFaults, FailedLineSettingsCloseThePortAgain) {
    backend->applyFails = true;
    EXPECT_FALSE(driver->OpenPort());
    EXPECT_FALSE(driver->IsOpen());
    EXPECT_FALSE(ticks.IsRunning());
}

TEST_F(DriverFaults, FailedReapplyKeepsThePortOpen) {
    ASSERT_TRUE(driver->OpenPort());
    backend->applyFails = true;
    driver->SetBaudRateValue(0);
    EXPECT_TRUE(driver->IsOpen());
    EXPECT_EQ(driver->BaudRateValue(), 0u);
    ticks.Tick();  // a packet time at rate 0 must not divide by zero
}

TEST(DriverBackend, MissingBackendFallsBackToThePlatformOne) {
    TManualTickSource ticks;
    TCPDrv driver(ticks, nullptr);
    driver.SetPortName("/nonexistent/ornet5-tty");
    EXPECT_FALSE(driver.OpenPort());
    EXPECT_EQ(driver.InputCount(), 65535u);
}

}  // namespace
}  // namespace ornet5
