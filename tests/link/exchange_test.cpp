#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "link/exchange.h"
#include "link/frame.h"
#include "tests/support/manual_environment.h"
#include "tests/support/scripted_port.h"

namespace ornet5 {
namespace {

using namespace std::chrono_literals;
using test::TManualEnvironment;
using test::TScriptedPort;

const std::string kRequest = BuildFrame(kAllNodesAddress, kOwnAddress, 6, 13, std::string(1, '\0'));

std::string IdentifyReply() {
    return BuildFrame(kOwnAddress, "4.2.31", 0, 0, "").substr(0, 14);
}

std::string DoseReply() {
    return BuildFrame(kOwnAddress, "4.2.31", 6, 13, "\x01\x7B\xFC");
}

std::string WithByteFlipped(std::string bytes, std::size_t index) {
    bytes[index] = static_cast<char>(bytes[index] ^ 0x01);
    return bytes;
}

// ---- validation of one read ------------------------------------------------

TEST(ValidateReply, NothingReadIsNoReply) {
    EXPECT_EQ(ValidateReply(""), "");
}

TEST(ValidateReply, OneToThirteenBytesAreABadPacket) {
    const std::string reply = DoseReply();
    for (std::size_t n = 1; n <= 13; ++n) {
        try {
            ValidateReply(std::string_view(reply).substr(0, n));
            ADD_FAILURE() << n << " bytes were not refused";
        } catch (const EProtocolCancel& error) {
            EXPECT_EQ(error.Message(), kBadPacketMessage) << n << " bytes";
        }
    }
}

TEST(ValidateReply, WrongHeaderChecksumIsIgnored) {
    for (std::size_t i = 0; i < 14; ++i) {
        EXPECT_EQ(ValidateReply(WithByteFlipped(DoseReply(), i)), "") << "byte " << i;
        EXPECT_EQ(ValidateReply(WithByteFlipped(IdentifyReply(), i)), "") << "byte " << i;
    }
}

TEST(ValidateReply, DataLengthZeroTakesEveryByteRead) {
    const std::string header = IdentifyReply();
    EXPECT_EQ(ValidateReply(header), header);
    // Whatever follows the header checksum comes along unchecked.
    const std::string longer = header + "\xDE\xAD\xBE\xEF\x00 trailing";
    EXPECT_EQ(ValidateReply(longer), longer);
    const std::string built = BuildFrame(kOwnAddress, "9.9.9", 0, 0, "");
    EXPECT_EQ(ValidateReply(built), built);
}

TEST(ValidateReply, DataLengthNeedsExactlyTheFrameWithItsDataChecksum) {
    const std::string reply = DoseReply();
    ASSERT_EQ(reply.size(), 21u);
    EXPECT_EQ(ValidateReply(reply), reply);
    for (std::size_t i = 14; i < 21; ++i) {
        EXPECT_EQ(ValidateReply(WithByteFlipped(reply, i)), "") << "byte " << i;
    }
    EXPECT_EQ(ValidateReply(reply.substr(0, 20)), "");
    EXPECT_EQ(ValidateReply(reply + '\0'), "");
    EXPECT_EQ(ValidateReply(reply.substr(0, 14)), "");

    const std::string large = BuildFrame(kOwnAddress, "1.2.3", 1, 2, std::string(262, 'q'));
    ASSERT_EQ(large.size(), 280u);
    EXPECT_EQ(ValidateReply(large), large);
}

TEST(ValidateReply, LengthClaimingMoreThanWasReadIsIgnored) {
    // A header announcing 65535 data bytes with only a few behind it.
    std::string header = BuildFrame(kOwnAddress, "1.2.3", 1, 2, std::string(65535, 'x'));
    header.resize(30);
    EXPECT_EQ(ValidateReply(header), "");
}

TEST(ValidateReply, AddressesCommandAndParameterAreNotLookedAt) {
    const std::string odd = BuildFrame("7.7.7", "0.0.0", 200, 201, "abc");
    EXPECT_EQ(ValidateReply(odd), odd);
}

// ---- the exchange over a scripted port ---------------------------------------

class ExchangeTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(port.OpenPort()); }

    TManualEnvironment environment;
    TScriptedPort port{environment};
};

TEST_F(ExchangeTest, UnansweredExchangeWritesThreeTimesAndReturnsNothing) {
    EXPECT_EQ(Exchange(port, environment, kRequest), "");
    ASSERT_EQ(port.sent.size(), 3u);
    for (const auto& sent : port.sent) {
        EXPECT_EQ(sent, kRequest);
    }
    // Each attempt's single empty read already runs past the limit.
    EXPECT_EQ(port.readMaximums.size(), 3u);
    EXPECT_EQ(environment.Elapsed(), 600ms);
    EXPECT_TRUE(environment.statusTexts.empty());
}

TEST_F(ExchangeTest, AnsweredExchangeWritesOnceAndStillChecksEscapeThreeTimes) {
    port.AnswerWrite(0, {DoseReply()});
    EXPECT_EQ(Exchange(port, environment, kRequest), DoseReply());
    EXPECT_EQ(port.sent.size(), 1u);
    EXPECT_EQ(port.readMaximums.size(), 1u);
    EXPECT_EQ(environment.escapeCalls, 3);
}

TEST_F(ExchangeTest, ReplyToTheThirdWriteIsTaken) {
    port.AnswerWrite(2, {IdentifyReply()});
    EXPECT_EQ(Exchange(port, environment, kRequest), IdentifyReply());
    EXPECT_EQ(port.sent.size(), 3u);
}

TEST_F(ExchangeTest, EveryReadAsksForAtMost280Bytes) {
    port.AnswerWrite(1, {DoseReply()});
    Exchange(port, environment, kRequest);
    ASSERT_FALSE(port.readMaximums.empty());
    for (auto maximum : port.readMaximums) {
        EXPECT_EQ(maximum, kReadMaximum);
    }
}

TEST_F(ExchangeTest, TimeLimitIsStrictlyMoreThan100Milliseconds) {
    // A read ending exactly at the limit is followed by one more.
    port.emptyReadTime = 100ms;
    EXPECT_EQ(Exchange(port, environment, kRequest), "");
    EXPECT_EQ(port.sent.size(), 3u);
    EXPECT_EQ(port.readMaximums.size(), 6u);

    TManualEnvironment quick;
    TScriptedPort quickPort{quick};
    quickPort.OpenPort();
    quickPort.emptyReadTime = 40ms;
    Exchange(quickPort, quick, kRequest);
    EXPECT_EQ(quickPort.readMaximums.size(), 9u);  // 40, 80, 120 ms per attempt
}

TEST_F(ExchangeTest, IgnoredReadKeepsPollingWithinTheAttempt) {
    port.emptyReadTime = 30ms;
    port.dataReadTime = 30ms;
    port.AnswerWrite(
        0, {WithByteFlipped(DoseReply(), 11), WithByteFlipped(DoseReply(), 20), DoseReply()});
    EXPECT_EQ(Exchange(port, environment, kRequest), DoseReply());
    EXPECT_EQ(port.sent.size(), 1u);
    EXPECT_EQ(port.readMaximums.size(), 3u);
}

TEST_F(ExchangeTest, BadPacketEndsTheAttemptAtOnceAndTheNextOneWritesAgain) {
    port.emptyReadTime = 40ms;
    port.dataReadTime = 40ms;
    port.AnswerWrite(0, {"\x01\x02\x03\x04\x05"});
    port.AnswerWrite(1, {DoseReply()});
    EXPECT_EQ(Exchange(port, environment, kRequest), DoseReply());
    EXPECT_EQ(port.sent.size(), 2u);
    // One read for the bad packet, one for the reply: no polling after the bad packet.
    EXPECT_EQ(port.readMaximums.size(), 2u);
    EXPECT_TRUE(environment.statusTexts.empty());
}

TEST_F(ExchangeTest, ReplySplitAcrossTwoReadsIsLost) {
    const std::string reply = DoseReply();
    port.AnswerEveryWrite({reply.substr(0, 15), reply.substr(15)});
    EXPECT_EQ(Exchange(port, environment, kRequest), "");
    EXPECT_EQ(port.sent.size(), 3u);
}

TEST_F(ExchangeTest, OnlyThe280FirstOfMoreWaitingBytesAreRead) {
    const std::string filler(280, '\xAA');
    ASSERT_EQ(ValidateReply(filler), "");
    // 301 bytes waiting: the filler is read and ignored, the reply after it
    // stays on the line for the next read of the same attempt.
    port.dataReadTime = 10ms;
    port.AnswerWrite(0, {filler + DoseReply()});
    EXPECT_EQ(Exchange(port, environment, kRequest), DoseReply());
    EXPECT_EQ(port.sent.size(), 1u);
    EXPECT_EQ(port.readMaximums.size(), 2u);
}

TEST_F(ExchangeTest, EscapeAtTheSecondAttemptDiscardsAGoodReply) {
    port.AnswerWrite(0, {DoseReply()});
    environment.escapeDownAtCalls = {1};
    try {
        Exchange(port, environment, kRequest);
        ADD_FAILURE() << "no cancel";
    } catch (const EProtocolCancel& error) {
        EXPECT_EQ(error.Message(), kUserCancelMessage);
    }
    EXPECT_EQ(environment.statusTexts, std::vector<std::string>{"Отменено пользователем"});
    EXPECT_EQ(port.sent.size(), 1u);
}

TEST_F(ExchangeTest, EscapeAtTheFirstAttemptWritesNothing) {
    environment.escapeDownAtCalls = {0};
    EXPECT_THROW(Exchange(port, environment, kRequest), EProtocolCancel);
    EXPECT_TRUE(port.sent.empty());
    EXPECT_TRUE(port.readMaximums.empty());
}

TEST_F(ExchangeTest, PortFailureOnlyCostsTheAttempt) {
    port.throwOnRead = true;
    EXPECT_EQ(Exchange(port, environment, kRequest), "");
    EXPECT_EQ(port.sent.size(), 3u);
    EXPECT_TRUE(environment.statusTexts.empty());
}

// A port that reports more bytes than it was asked for.
class TOvercountingPort : public TBytePort {
  public:
    bool SendText(const std::string&) override { return true; }
    std::uint32_t ReadBytes(char* buffer, std::uint32_t maximum) override {
        const std::string frame = BuildFrame(kOwnAddress, "1.2.3", 1, 2, std::string(262, 'q'));
        std::memcpy(buffer, frame.data(), std::min<std::size_t>(maximum, frame.size()));
        return 100000;
    }
};

TEST(ExchangeOnBrokenPort, CountAboveTheMaximumReadsNoFurtherThanTheMaximum) {
    TOvercountingPort port;
    // The 280 bytes asked for hold a whole frame, and nothing past them is looked at.
    EXPECT_EQ(ReceiveReply(port).size(), kReadMaximum);
}

TEST(ExchangeOnClosedPort, EachAttemptWaitsOutTheLimitWithoutSpinning) {
    TManualEnvironment environment;
    TScriptedPort port{environment};  // never opened: reads return at once
    EXPECT_EQ(Exchange(port, environment, kRequest), "");
    EXPECT_TRUE(port.sent.empty());
    // Each attempt lasts just past the limit, in pauses of at most 10 ms.
    EXPECT_GT(environment.Elapsed(), 300ms);
    EXPECT_LE(environment.Elapsed(), 303ms);
    EXPECT_LE(environment.pauses.size(), 33u);
    for (auto pause : environment.pauses) {
        EXPECT_GT(pause, 0ms);
        EXPECT_LE(pause, kEmptyReadPause);
    }
}

}  // namespace
}  // namespace ornet5
