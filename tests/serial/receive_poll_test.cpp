#include "serial/receive_poll.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "serial/cp_drv.h"
#include "tests/support/manual_tick_clock.h"
#include "tests/support/manual_tick_source.h"

namespace ornet5 {
namespace {

using std::chrono::milliseconds;

// The port's input queue as a string; reads take from its front.
class TFakeInput final : public TReceiveInput {
  public:
    std::string queue;
    bool open = true;
    bool readsFail = false;  // a device that reports bytes but yields none
    std::vector<std::uint32_t> readSizes;

    std::uint32_t Waiting() override { return static_cast<std::uint32_t>(queue.size()); }
    std::uint32_t Read(char* buffer, std::uint32_t count) override {
        readSizes.push_back(count);
        if (readsFail) {
            return 0;
        }
        const std::size_t n = std::min<std::size_t>(count, queue.size());
        queue.copy(buffer, n);
        queue.erase(0, n);
        return static_cast<std::uint32_t>(n);
    }
    bool IsOpen() const override { return open; }
};

class ReceivePollTest : public ::testing::Test {
  protected:
    TPacketRule Packets(std::int16_t size, std::int32_t timeout = -1,
                        TPacketMode mode = pmDiscard) {
        return TPacketRule{size, timeout, mode, 9600};
    }
    void CollectPackets() {
        poll.SetOnReceivePacket([this](TCPDrv& sender, const char* packet, std::uint32_t size) {
            EXPECT_EQ(&sender, &driver);
            EXPECT_EQ(packet, poll.Buffer());
            received.emplace_back(packet, size);
        });
    }
    void CollectData() {
        poll.SetOnReceiveData([this](TCPDrv&, const char* data, std::uint32_t size) {
            EXPECT_EQ(data, poll.Buffer());
            received.emplace_back(data, size);
        });
    }

    TManualTickSource ticks;
    TCPDrv driver{ticks};
    TManualTickClock clock;
    TReceivePoll poll{driver, clock, 2048};
    TFakeInput input;
    std::vector<std::string> received;
};

TEST(PacketTime, RoundsToWholeMillisecondsHalvesToEven) {
    EXPECT_EQ(PacketTime(10, 9600), milliseconds(10));   // 10.42
    EXPECT_EQ(PacketTime(10, 115200), milliseconds(1));  // 0.87
    EXPECT_EQ(PacketTime(5, 20000), milliseconds(2));    // 2.5
    EXPECT_EQ(PacketTime(15, 20000), milliseconds(8));   // 7.5
    EXPECT_EQ(PacketTime(1, 110), milliseconds(91));     // 90.9
    EXPECT_EQ(PacketTime(8192, 1), milliseconds(81'920'000));
}

TEST(PacketTime, NoRateOrNoPacketGivesZero) {
    EXPECT_EQ(PacketTime(10, 0), milliseconds(0));
    EXPECT_EQ(PacketTime(-1, 9600), milliseconds(0));
}

TEST_F(ReceivePollTest, StreamDeliveryHandsOverWhatWaits) {
    CollectData();
    input.queue = "hello";
    poll.Run(input, TPacketRule{});
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], "hello");
    EXPECT_TRUE(input.queue.empty());

    received.clear();
    poll.Run(input, TPacketRule{});
    EXPECT_TRUE(received.empty()) << "nothing waiting, no call";
}

TEST_F(ReceivePollTest, StreamWithoutHandlerDropsTheBytes) {
    input.queue = "lost";
    poll.Run(input, TPacketRule{});
    EXPECT_TRUE(input.queue.empty());
}

TEST_F(ReceivePollTest, StreamNeverReadsMoreThanTheBufferHolds) {
    poll.SetBufferSize(128);
    CollectData();
    input.queue = std::string(300, 'x');
    poll.Run(input, TPacketRule{});
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[0].size(), 128u);
    EXPECT_EQ(received[1].size(), 128u);
    EXPECT_EQ(received[2].size(), 44u);
    for (const auto size : input.readSizes) {
        EXPECT_LE(size, 128u);
    }
}

TEST_F(ReceivePollTest, WholePacketsGoOutAndTheRestStaysQueued) {
    CollectPackets();
    input.queue = "0123456789abcdefghijKLMNO";
    poll.Run(input, Packets(10));
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0], "0123456789");
    EXPECT_EQ(received[1], "abcdefghij");
    EXPECT_EQ(input.queue, "KLMNO");
}

TEST_F(ReceivePollTest, ShortPacketIsPassedAfterTheTimeout) {
    CollectPackets();
    input.queue = "12345";
    poll.Run(input, Packets(10, 100, pmPass));
    EXPECT_EQ(poll.PacketStart(), clock.Now()) << "the tick that first saw the bytes";
    clock.Advance(milliseconds(100));
    poll.Run(input, Packets(10, 100, pmPass));
    EXPECT_TRUE(received.empty()) << "exactly the timeout is not more than it";
    clock.Advance(milliseconds(1));
    poll.Run(input, Packets(10, 100, pmPass));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], "12345");
    EXPECT_FALSE(poll.PacketStart().has_value());
}

TEST_F(ReceivePollTest, ShortPacketIsDroppedUnderDiscard) {
    CollectPackets();
    input.queue = "12345";
    poll.Run(input, Packets(10, 100, pmDiscard));
    clock.Advance(milliseconds(101));
    poll.Run(input, Packets(10, 100, pmDiscard));
    EXPECT_TRUE(received.empty());
    EXPECT_TRUE(input.queue.empty());
    EXPECT_FALSE(poll.PacketStart().has_value());
}

TEST_F(ReceivePollTest, WithoutTimeoutAShortPacketWaitsForItsRest) {
    CollectPackets();
    input.queue = "12345";
    poll.Run(input, Packets(10));
    clock.Advance(milliseconds(100'000));
    poll.Run(input, Packets(10));
    EXPECT_TRUE(received.empty());
    input.queue += "67890";
    poll.Run(input, Packets(10));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], "1234567890");
}

TEST_F(ReceivePollTest, PendingStartAdvancesByOnePacketTimePerPacket) {
    CollectPackets();
    input.queue = "12345";
    poll.Run(input, Packets(10, 100));
    const auto start = *poll.PacketStart();
    clock.Advance(milliseconds(20));
    input.queue += std::string(18, 'q');  // two packets and three bytes in all
    poll.Run(input, Packets(10, 100));
    EXPECT_EQ(received.size(), 2u);
    EXPECT_EQ(poll.PacketStart(), start + 2 * PacketTime(10, 9600));
}

TEST_F(ReceivePollTest, LeftoverWithoutStartTimeStartsItsClockNow) {
    CollectPackets();
    input.queue = std::string(13, 'p');
    poll.Run(input, Packets(10, 100));
    EXPECT_EQ(received.size(), 1u);
    EXPECT_EQ(poll.PacketStart(), clock.Now());
}

TEST_F(ReceivePollTest, EmptiedQueueForgetsTheStart) {
    CollectPackets();
    input.queue = "12345";
    poll.Run(input, Packets(10, 100));
    input.queue += "67890";
    poll.Run(input, Packets(10, 100));
    EXPECT_FALSE(poll.PacketStart().has_value());
}

TEST_F(ReceivePollTest, ReadsThatYieldNothingEndTheTick) {
    CollectData();
    input.queue = std::string(5000, 'x');
    input.readsFail = true;
    poll.Run(input, TPacketRule{});
    EXPECT_EQ(input.readSizes.size(), 1u);
    poll.Run(input, Packets(10));
    EXPECT_EQ(input.readSizes.size(), 2u);
    EXPECT_TRUE(received.empty());
}

TEST_F(ReceivePollTest, HandlerThatClosesThePortEndsTheDelivery) {
    poll.SetOnReceivePacket([this](TCPDrv&, const char*, std::uint32_t) {
        received.emplace_back("packet");
        input.open = false;
    });
    input.queue = std::string(30, 'x');
    poll.Run(input, Packets(10));
    EXPECT_EQ(received.size(), 1u);
    EXPECT_EQ(input.queue.size(), 20u);
}

TEST_F(ReceivePollTest, HandlerMayReplaceItselfDuringItsCall) {
    int calls = 0;
    // State of the handler itself, read after the replacement: freed memory
    // if the handler died with its replacement.
    const std::string captured(64, 'c');
    poll.SetOnReceiveData([this, &calls, captured](TCPDrv&, const char*, std::uint32_t) {
        poll.SetOnReceiveData(nullptr);
        calls += captured.back() == 'c' ? 1 : 0;
    });
    poll.SetBufferSize(128);
    input.queue = std::string(200, 'x');
    poll.Run(input, TPacketRule{});
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(input.queue.empty()) << "later bytes still consumed";
}

TEST_F(ReceivePollTest, ForgettingThePendingPacketClearsItsStart) {
    input.queue = "123";
    poll.Run(input, Packets(10, 100));
    ASSERT_TRUE(poll.PacketStart().has_value());
    poll.ForgetPendingPacket();
    EXPECT_FALSE(poll.PacketStart().has_value());
}

TEST_F(ReceivePollTest, NewBufferIsZeroFilledAndSized) {
    CollectData();
    input.queue = "abc";
    poll.Run(input, TPacketRule{});
    poll.SetBufferSize(256);
    EXPECT_EQ(poll.BufferSize(), 256u);
    EXPECT_EQ(std::string(poll.Buffer(), 256), std::string(256, '\0'));
}

}  // namespace
}  // namespace ornet5
