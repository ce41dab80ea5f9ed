#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "serial/cp_drv.h"
#include "serial/serial_backend.h"
#include "tests/support/manual_tick_clock.h"
#include "tests/support/manual_tick_source.h"
#include "tests/support/pty_pair.h"

namespace ornet5 {
namespace {

using namespace std::chrono_literals;
using TSteady = std::chrono::steady_clock;

// The platform backend with a hook in the read wait: a tick that reaches
// the driver while ReadBytes waits, as a timer message could. The time its
// waits really take passes on the test's manual clock too, so the driver's
// idle rules run their course.
class THookedBackend final : public TSerialBackend {
  public:
    explicit THookedBackend(TManualTickClock& clock) : clock_(clock) {}

    std::function<void()> onWaitReadable;

    std::string DevicePath(const std::string& portName) const override {
        return real_->DevicePath(portName);
    }
    TPortHandle OpenExclusive(const std::string& path) override {
        return real_->OpenExclusive(path);
    }
    void Close(TPortHandle handle) override { real_->Close(handle); }
    bool ApplyLineSettings(TPortHandle handle, const TLineSettings& settings) override {
        return real_->ApplyLineSettings(handle, settings);
    }
    bool SetQueueSizes(TPortHandle handle, std::uint32_t in, std::uint32_t out) override {
        return real_->SetQueueSizes(handle, in, out);
    }
    bool Purge(TPortHandle handle, bool input, bool output) override {
        return real_->Purge(handle, input, output);
    }
    std::optional<TQueueCounts> QueueCounts(TPortHandle handle) override {
        return real_->QueueCounts(handle);
    }
    std::optional<std::uint8_t> ModemLines(TPortHandle handle) override {
        return real_->ModemLines(handle);
    }
    std::size_t Read(TPortHandle handle, char* buffer, std::size_t count) override {
        return real_->Read(handle, buffer, count);
    }
    std::size_t Write(TPortHandle handle, const char* data, std::size_t count) override {
        return real_->Write(handle, data, count);
    }
    TWaitResult WaitReadable(TPortHandle handle, std::chrono::milliseconds timeout) override {
        if (onWaitReadable) {
            auto hook = std::move(onWaitReadable);
            onWaitReadable = nullptr;
            hook();
        }
        return Timed([&] { return real_->WaitReadable(handle, timeout); });
    }
    TWaitResult WaitWritable(TPortHandle handle, std::chrono::milliseconds timeout) override {
        return Timed([&] { return real_->WaitWritable(handle, timeout); });
    }
    TSerialError LastError() const override { return real_->LastError(); }
    std::string LastErrorText() const override { return real_->LastErrorText(); }

  private:
    template <typename TWait>
    TWaitResult Timed(TWait wait) {
        const auto start = TSteady::now();
        const TWaitResult result = wait();
        clock_.Advance(std::chrono::ceil<std::chrono::milliseconds>(TSteady::now() - start));
        return result;
    }

    TManualTickClock& clock_;
    std::unique_ptr<TSerialBackend> real_ = MakePlatformBackend();
};

class DriverReceive : public ::testing::Test {
  protected:
    DriverReceive() {
        auto backend = std::make_unique<THookedBackend>(clock);
        hooked = backend.get();
        driver = std::make_unique<TCPDrv>(ticks, std::move(backend), clock);
        driver->SetPortName(pty.SlavePath());
    }
    void Open() { ASSERT_TRUE(driver->OpenPort()); }
    void Arrive(const std::string& bytes, std::uint32_t queued) {
        ASSERT_TRUE(pty.Write(bytes));
        const auto deadline = TSteady::now() + 2s;
        while (driver->InputCount() < queued && TSteady::now() < deadline) {
            std::this_thread::sleep_for(1ms);
        }
        ASSERT_EQ(driver->InputCount(), queued);
    }
    // Opens the port, lets `bytes` arrive whole and runs one tick.
    void OpenAndReceive(const std::string& bytes) {
        Open();
        Arrive(bytes, static_cast<std::uint32_t>(bytes.size()));
        ticks.Tick();
    }
    void CollectData() {
        driver->SetOnReceiveData([this](TCPDrv& sender, const char* data, std::uint32_t size) {
            EXPECT_EQ(&sender, driver.get());
            EXPECT_EQ(data, driver->ReceiveBuffer());
            EXPECT_LE(size, driver->InBufSize());
            received.emplace_back(data, size);
        });
    }
    void CollectPackets() {
        driver->SetOnReceivePacket([this](TCPDrv& sender, const char* packet, std::uint32_t size) {
            EXPECT_EQ(&sender, driver.get());
            EXPECT_EQ(packet, driver->ReceiveBuffer());
            received.emplace_back(packet, size);
        });
    }

    // Half a ten-byte packet arrives; a tick sees it, another comes `wait` later.
    void ShortPacketWaits(std::chrono::milliseconds wait) {
        CollectPackets();
        OpenAndReceive("12345");
        clock.Advance(wait);
        ticks.Tick();
    }

    TPtyPair pty;
    TManualTickSource ticks;
    TManualTickClock clock;
    THookedBackend* hooked = nullptr;
    std::unique_ptr<TCPDrv> driver;
    std::vector<std::string> received;
};

TEST_F(DriverReceive, UnclaimedInputIsDroppedAtTheNextTick) {
    Open();
    driver->SetInputTimeout(30);
    Arrive("stray", 5);
    ticks.Tick();
    EXPECT_EQ(driver->InputCount(), 0u);
    char buffer[16];
    EXPECT_EQ(driver->ReadBytes(buffer, sizeof buffer), 0u);
}

TEST_F(DriverReceive, StreamDeliveryHandsInputToTheDataHandler) {
    CollectData();
    OpenAndReceive("hello");
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], "hello");
}

TEST_F(DriverReceive, NoMoreThanTheBufferIsReadInOneGo) {
    driver->SetInBufSize(128);
    CollectData();
    OpenAndReceive(std::string(300, 'z'));
    std::string all;
    for (const auto& chunk : received) {
        EXPECT_LE(chunk.size(), 128u);
        all += chunk;
    }
    EXPECT_EQ(all, std::string(300, 'z'));
}

TEST_F(DriverReceive, WholePacketsInOneTickRestStaysQueued) {
    driver->SetPacketSize(10);
    CollectPackets();
    OpenAndReceive("0123456789abcdefghij01234");
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0], "0123456789");
    EXPECT_EQ(received[1], "abcdefghij");
    EXPECT_EQ(driver->InputCount(), 5u);
}

TEST_F(DriverReceive, ShortPacketPassedAfterTheTimeout) {
    driver->SetPacketSize(10);
    driver->SetPacketTimeout(100);
    driver->SetPacketMode(pmPass);
    ShortPacketWaits(100ms);
    EXPECT_TRUE(received.empty());
    clock.Advance(1ms);
    ticks.Tick();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], "12345");
    EXPECT_EQ(driver->InputCount(), 0u);
}

TEST_F(DriverReceive, ShortPacketDroppedUnderDiscard) {
    driver->SetPacketSize(10);
    driver->SetPacketTimeout(100);
    ShortPacketWaits(101ms);
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(driver->InputCount(), 0u);
}

TEST_F(DriverReceive, WithoutTimeoutTheShortPacketWaits) {
    driver->SetPacketSize(10);
    ShortPacketWaits(10s);
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(driver->InputCount(), 5u);
}

TEST_F(DriverReceive, PurgeForgetsThePendingPacket) {
    driver->SetPacketSize(10);
    driver->SetPacketTimeout(100);
    driver->SetPacketMode(pmPass);
    CollectPackets();
    OpenAndReceive("12345");
    clock.Advance(80ms);
    ASSERT_TRUE(driver->PurgeBuffers(true, true));
    Arrive("abc", 3);
    ticks.Tick();  // a new start time for these
    clock.Advance(50ms);
    ticks.Tick();
    EXPECT_TRUE(received.empty()) << "timed from the purged bytes' start";
    clock.Advance(51ms);
    ticks.Tick();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], "abc");
}

TEST_F(DriverReceive, TicksAreSkippedWhileReadBytesRuns) {
    CollectData();
    Open();
    driver->SetInputTimeout(50);
    hooked->onWaitReadable = [this] {
        pty.Write("late");
        std::this_thread::sleep_for(20ms);
        ticks.Tick();
    };
    char buffer[16];
    const std::uint32_t got = driver->ReadBytes(buffer, sizeof buffer);
    EXPECT_TRUE(received.empty()) << "the tick took the reader's bytes";
    EXPECT_EQ(std::string(buffer, got), "late");

    Arrive("next", 4);
    ticks.Tick();
    ASSERT_EQ(received.size(), 1u) << "ticks resume after the read";
    EXPECT_EQ(received[0], "next");
}

TEST_F(DriverReceive, SuspendedPollSkipsTicksUntilResumed) {
    CollectData();
    Open();
    Arrive("held", 4);
    driver->SuspendReceivePoll();
    driver->SuspendReceivePoll();
    ticks.Tick();
    driver->ResumeReceivePoll();
    ticks.Tick();
    EXPECT_TRUE(received.empty());
    driver->ResumeReceivePoll();
    ticks.Tick();
    ASSERT_EQ(received.size(), 1u);
}

TEST_F(DriverReceive, HandlerMayCloseThePort) {
    driver->SetPacketSize(10);
    driver->SetOnReceivePacket([this](TCPDrv& sender, const char* packet, std::uint32_t size) {
        received.emplace_back(packet, size);
        sender.ClosePort();
        sender.SetInBufSize(128);  // allowed now that it is closed
    });
    OpenAndReceive(std::string(30, 'p'));
    EXPECT_EQ(received.size(), 1u);
    EXPECT_FALSE(driver->IsOpen());
    EXPECT_FALSE(ticks.IsRunning());
    ticks.Tick();
    EXPECT_EQ(received.size(), 1u);
}

TEST_F(DriverReceive, NoTicksReachAClosedPort) {
    CollectData();
    Open();
    driver->ClosePort();
    pty.Write("after");
    ticks.Tick();
    EXPECT_TRUE(received.empty());
}

TEST_F(DriverReceive, TickOnAVanishedDeviceDeliversNothing) {
    CollectData();
    driver->SetPacketSize(10);
    driver->SetPacketTimeout(100);
    Open();
    pty.CloseMaster();
    ticks.Tick();
    clock.Advance(200ms);
    ticks.Tick();
    EXPECT_TRUE(received.empty());
    driver->ClosePort();
    EXPECT_FALSE(driver->IsOpen());
}

}  // namespace
}  // namespace ornet5
