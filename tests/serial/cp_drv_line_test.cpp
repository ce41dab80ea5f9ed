// The driver over a modelled serial line on a manual clock: bytes leave the
// port at the line's speed, and the far end may babble (one junk byte every
// so often, never quiet). Time passes only in the driver's own waits, so the
// driver's timing is checked to the millisecond without sleeping.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>

#include "link/exchange.h"
#include "link/frame.h"
#include "serial/cp_drv.h"
#include "tests/support/manual_environment.h"
#include "tests/support/manual_tick_clock.h"
#include "tests/support/manual_tick_source.h"
#include "tests/support/stub_backend.h"

namespace ornet5 {
namespace {

using namespace std::chrono_literals;
using std::chrono::milliseconds;

class TModelledLine final : public test::TStubBackend {
  public:
    TModelledLine(TManualTickClock& clock, std::uint32_t baud) : clock_(clock), baud_(baud) {}

    // The far end sends one byte every period from now on (0: silent).
    void Babble(milliseconds period) {
        period_ = period;
        nextByte_ = clock_.Now() + period;
    }
    // A reply that arrives whole, now.
    void Arrive(std::size_t count) { waitingIn_ += count; }
    // Flow control holds the line: what is written stays queued.
    void Hold() { held_ = true; }
    // When the last byte written so far will have left the port.
    milliseconds SentAt() const { return milliseconds(static_cast<long>(std::ceil(sentAt_))); }

    std::optional<TQueueCounts> QueueCounts(TPortHandle) override {
        Catch();
        if (held_) {
            return TQueueCounts{static_cast<std::uint32_t>(waitingIn_), heldOut_};
        }
        const double left = std::max(0.0, sentAt_ - Now());
        return TQueueCounts{static_cast<std::uint32_t>(waitingIn_),
                            static_cast<std::uint32_t>(std::ceil(left / ByteTime() - 1e-9))};
    }
    std::size_t Read(TPortHandle, char* buffer, std::size_t count) override {
        Catch();
        const std::size_t n = std::min(count, waitingIn_);
        std::fill_n(buffer, n, '\x55');
        waitingIn_ -= n;
        return n;
    }
    std::size_t Write(TPortHandle, const char*, std::size_t count) override {
        if (held_) {
            heldOut_ += static_cast<std::uint32_t>(count);
            return count;
        }
        sentAt_ = std::max(sentAt_, Now()) + static_cast<double>(count) * ByteTime();
        return count;
    }
    TWaitResult WaitReadable(TPortHandle, milliseconds timeout) override {
        Catch();
        if (waitingIn_ > 0) {
            return TWaitResult::Ready;
        }
        const milliseconds until = clock_.Now() + timeout;
        if (period_ > 0ms && nextByte_ <= until) {
            clock_.Advance(nextByte_ - clock_.Now());
            return TWaitResult::Ready;
        }
        clock_.Advance(timeout);
        return TWaitResult::Timeout;
    }

  private:
    double Now() const { return static_cast<double>(clock_.Now().count()); }
    double ByteTime() const { return 10'000.0 / baud_; }
    // Babbled bytes that have come by now.
    void Catch() {
        while (period_ > 0ms && nextByte_ <= clock_.Now()) {
            ++waitingIn_;
            nextByte_ += period_;
        }
    }

    TManualTickClock& clock_;
    std::uint32_t baud_;
    milliseconds period_{0};
    milliseconds nextByte_{0};
    std::size_t waitingIn_ = 0;
    double sentAt_ = 0;
    bool held_ = false;
    std::uint32_t heldOut_ = 0;
};

class DriverOnALine : public ::testing::TestWithParam<std::uint32_t> {
  protected:
    DriverOnALine() {
        auto owned = std::make_unique<TModelledLine>(clock, GetParam());
        line = owned.get();
        driver = std::make_unique<TCPDrv>(ticks, std::move(owned), clock);
        driver->SetPortName("modelled");
        driver->SetBaudRateValue(GetParam());
        EXPECT_TRUE(driver->OpenPort());
    }
    // How long 280 characters of ten bits take at the parameter's speed,
    // rounded up, plus the quiet time.
    milliseconds ReadBound() const {
        return milliseconds((280 * 10 * 1000 + GetParam() - 1) / GetParam()) + 200ms;
    }
    milliseconds Elapsed(milliseconds since) const { return clock.Now() - since; }

    TManualTickClock clock;
    TManualTickSource ticks;
    TModelledLine* line = nullptr;
    std::unique_ptr<TCPDrv> driver;
    char buffer[kReadBufferSize] = {};
};

TEST_P(DriverOnALine, QuietLinesAndWholeRepliesKeepTheQuietRule) {
    auto start = clock.Now();
    EXPECT_EQ(driver->ReadBytes(buffer, kReadMaximum), 0u);
    EXPECT_EQ(Elapsed(start), 201ms) << "strictly more than 200 ms of quiet";

    line->Arrive(21);
    start = clock.Now();
    EXPECT_EQ(driver->ReadBytes(buffer, kReadMaximum), 21u);
    EXPECT_EQ(Elapsed(start), 201ms);
}

TEST_P(DriverOnALine, ABabblingLineEndsTheReadAtItsBound) {
    for (const milliseconds period : {150ms, 20ms, 1ms}) {
        line->Babble(period);
        const auto start = clock.Now();
        const std::uint32_t got = driver->ReadBytes(buffer, kReadMaximum);
        EXPECT_GT(got, 0u) << period.count();
        EXPECT_LE(got, kReadMaximum);
        EXPECT_GT(Elapsed(start), 200ms) << period.count();
        EXPECT_LE(Elapsed(start), ReadBound()) << period.count();
        line->Babble(0ms);
        driver->ReadBytes(buffer, kReadMaximum);
    }
}

TEST_P(DriverOnALine, AnExchangeOnABabblingLineEndsWithinItsThreeReads) {
    line->Babble(20ms);
    test::TManualEnvironment environment(clock);  // the exchange reads the same clock
    const std::string request = std::string(frame::kOverhead + 1, '\0');
    const auto start = clock.Now();
    EXPECT_EQ(Exchange(*driver, environment, request), "");
    // Three attempts, each one read (it ends past the 100 ms limit) after
    // its request has gone out.
    const milliseconds sendTime((request.size() * 10 * 1000 + GetParam() - 1) / GetParam());
    EXPECT_LE(Elapsed(start), 3 * (ReadBound() + sendTime + 1ms));
    if (GetParam() == 9600) {
        EXPECT_LT(Elapsed(start), 2s);
    }
}

TEST_P(DriverOnALine, SendTextReturnsWhenTheRequestHasLeftThePort) {
    const std::string request(19, '\x01');
    const auto start = clock.Now();
    EXPECT_TRUE(driver->SendText(request));
    EXPECT_GE(clock.Now(), line->SentAt()) << "returned while bytes were still queued";
    EXPECT_GE(Elapsed(start), milliseconds(19 * 10 * 1000 / GetParam()));
    EXPECT_LE(Elapsed(start), milliseconds(19 * 10 * 1000 / GetParam()) + 10ms)
        << "no longer than the bytes take";
}

TEST_P(DriverOnALine, SendTextOnAHeldLineGivesUpAtTheOutputTimeout) {
    line->Hold();
    const auto start = clock.Now();
    driver->SendText(std::string(19, '\x01'));
    EXPECT_GE(Elapsed(start), milliseconds(driver->OutputTimeout()));
    EXPECT_LE(Elapsed(start), milliseconds(driver->OutputTimeout()) + 2ms);
}

INSTANTIATE_TEST_SUITE_P(Speeds, DriverOnALine, ::testing::Values(9600u, 1200u));

}  // namespace
}  // namespace ornet5
