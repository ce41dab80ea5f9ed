// The measuring engine's detectors with their ports faked: what a cycle
// publishes and in what order, the choices in force, the alarm, the errors
// that end a cycle, the ending in the middle of an exchange, and detectors
// side by side.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "common/overloaded.h"
#include "engine/engine.h"
#include "serial/forwarding_port.h"
#include "tests/support/detector_replies.h"
#include "tests/support/fake_poll_values.h"
#include "tests/support/manual_cycle_clock.h"
#include "tests/support/scripted_port.h"

namespace ornet5 {
namespace {

using namespace std::chrono_literals;
using test::TManualCycleClock;

// Each event as a kind and its value, with the steady time it came.
class TRecordingObserver : public TDetectorObserver {
  public:
    void Observe(const TDetectorEvent& event) override {
        const std::string text = std::visit(
            TOverloaded{
                [](const TStatusTextEvent& e) { return "status " + e.text; },
                [](const TAddressTextEvent& e) { return "address " + e.text; },
                [](const TDoseTextEvent& e) { return "dose " + e.text; },
                [](const TDoseCurrentEvent& e) { return std::string(e.current ? "fresh" : "old"); },
                [](const TAlarmEvent& e) { return std::string(e.on ? "alarm on" : "alarm off"); },
                [](const TAlarmSoundEvent&) { return std::string("sound"); },
                [](const TRowEvent& e) {
                    return "row " + (e.row.dose ? std::to_string(*e.row.dose) : "-") + " " +
                           e.row.detector + (e.row.alarm ? " alarm" : "");
                },
                [](const TCycleErrorEvent& e) { return "error " + e.message; },
                [](const TDiagnosticEvent& e) { return "diagnostic " + e.line; },
            },
            event);
        const std::lock_guard lock(mutex_);
        events_.push_back(text);
        times_.push_back(std::chrono::steady_clock::now());
    }
    std::vector<std::string> Events() const {
        const std::lock_guard lock(mutex_);
        return events_;
    }
    // When each event of the kind came.
    std::vector<std::chrono::steady_clock::time_point> Times(const std::string& text) const {
        const std::lock_guard lock(mutex_);
        std::vector<std::chrono::steady_clock::time_point> times;
        for (std::size_t i = 0; i < events_.size(); ++i) {
            if (events_[i] == text) {
                times.push_back(times_[i]);
            }
        }
        return times;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> events_;
    std::vector<std::chrono::steady_clock::time_point> times_;
};

// The kinds of the events, the first word of each.
std::vector<std::string> Kinds(const std::vector<std::string>& events) {
    std::vector<std::string> kinds;
    for (const std::string& event : events) {
        kinds.push_back(event.substr(0, event.find(' ')));
    }
    return kinds;
}

// A port on a line that never falls quiet for long: each read holds on for
// readTime, or until the port is aborted, and brings nothing valid.
class TBusyLinePort : public TSerialPort {
  public:
    explicit TBusyLinePort(std::chrono::milliseconds readTime) : readTime_(readTime) {}
    bool SendText(const std::string&) override { return true; }
    std::uint32_t ReadBytes(char*, std::uint32_t) override {
        std::unique_lock lock(mutex_);
        reading_ = true;
        changed_.notify_all();
        changed_.wait_for(lock, readTime_, [this] { return aborted_; });
        return 0;
    }
    void SetPort(TPortNumber) override {}
    void SetBaudRateValue(std::uint32_t) override {}
    bool OpenPort() override { return open_ = true; }
    void ClosePort() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    void Abort() override {
        const std::lock_guard lock(mutex_);
        aborted_ = true;
        changed_.notify_all();
    }
    void WaitUntilReading() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return reading_; });
    }

  private:
    const std::chrono::milliseconds readTime_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool reading_ = false;
    bool aborted_ = false;
    std::atomic<bool> open_ = false;
};

// The detector's port is the test's own, seen through a forwarding port.
TPortFactory Serve(TSerialPort& port) {
    return [&port](const std::string&, TTickSource&) {
        return std::make_unique<TForwardingPort>(port);
    };
}

class DetectorTest : public ::testing::Test {
  protected:
    TDetectorServices Services(TSerialPort& port, TCycleClock* clock) {
        return {formats, [this] { return escapeDown.load(); }, clock,
                [] { return LocalTimeAt(std::chrono::system_clock::now()); }, Serve(port)};
    }
    void AnswerIdentifyThenDose() {
        port.AnswerWrite(0, {test::IdentifyReply()});
        port.AnswerEveryWrite({test::DoseReply("4.2.31", 0x7B, 0xFC)});
    }

    test::TFixedFormats formats;
    std::atomic<bool> escapeDown = false;
    test::TManualEnvironment portTime;
    test::TScriptedPort port{portTime};
    TManualCycleClock clock;
    TRecordingObserver observer;
};

TEST_F(DetectorTest, ACycleIsPublishedInTheOrderItRunsWithTheChoicesInForceAtItsStart) {
    AnswerIdentifyThenDose();
    TDetectorSetup setup{"\\\\.\\COM3", {}, {std::nullopt, {true, 0.1, true}}, {}};
    TDetector detector(setup, Services(port, &clock));
    detector.AddObserver(observer);
    detector.Start();
    clock.RunFor(2999ms);
    EXPECT_TRUE(observer.Events().empty());
    clock.RunFor(6000ms);
    const std::vector<std::string> twoCycles = observer.Events();
    // Cleared as the cycle starts, set as it ends; the row comes last.
    EXPECT_EQ(Kinds(twoCycles),
              (std::vector<std::string>{"status", "address", "status", "row", "status", "address",
                                        "dose", "fresh", "status", "row"}));
    EXPECT_EQ(twoCycles[0], "status ");
    EXPECT_EQ(twoCycles[6], "dose 0,12");
    EXPECT_TRUE(twoCycles[8].ends_with(" 0,12")) << twoCycles[8];
    EXPECT_EQ(twoCycles[9], "row 0.123000 4.2.31");

    detector.SetChoices({1, "4800", true});
    clock.RunFor(9000ms);
    const std::vector<std::string> all = observer.Events();
    const std::vector<std::string> third(all.begin() + 10, all.end());
    // The second reading at the threshold turns the alarm on, and sounds.
    EXPECT_EQ(Kinds(third), (std::vector<std::string>{"status", "address", "dose", "fresh",
                                                      "status", "alarm", "sound", "row"}));
    EXPECT_EQ(third[2], "dose 12,00");
    EXPECT_EQ(third.back(), "row 0.123000 4.2.31 alarm");
    EXPECT_EQ(port.portsSet.back(), pnCOM2);
    EXPECT_EQ(port.speedsSet.back(), 4800u);

    // A change of settings that ends the alarm is published at once.
    detector.Recorder().SetAlarmSettings({false, 0.1, true});
    EXPECT_EQ(observer.Events().back(), "alarm off");
    detector.Stop();
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(DetectorTest, ErrorsThatEndACycleArePublishedAndPollingGoesOn) {
    TDetector detector({"\\\\.\\COM3", {-1, "96OO"}, {}, {}}, Services(port, &clock));
    detector.AddObserver(observer);
    detector.Start();
    clock.RunFor(3000ms);
    EXPECT_EQ(observer.Events(),
              (std::vector<std::string>{"status ", "row - ",
                                        "error '96OO' is not a valid integer value"}));

    // The user's cancel: the status says it, the report shows it, and the
    // port stays open until the next cycle closes it.
    detector.SetChoices({-1, "9600"});
    escapeDown = true;
    clock.RunFor(6000ms);
    const std::vector<std::string> all = observer.Events();
    const std::vector<std::string> cancel(all.begin() + 3, all.end());
    ASSERT_EQ(Kinds(cancel), (std::vector<std::string>{"status", "status", "row", "old", "error"}));
    EXPECT_EQ(cancel[1].substr(7), cancel[4].substr(6));
    EXPECT_TRUE(port.IsOpen());
    escapeDown = false;
    clock.RunFor(9000ms);
    EXPECT_EQ(Kinds(observer.Events()).back(), "row");
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(DetectorTest, APortThatDoesNotOpenIsNamedOnceAmongTheEvents) {
    TDetectorServices services = Services(port, &clock);
    services.makePort = MakeDriverPort;
    TDetector detector({"no-such-folder/no-such-port", {}, {}, "join dialout"}, services);
    detector.AddObserver(observer);
    detector.Start();
    clock.RunFor(9000ms);
    std::vector<std::string> diagnostics;
    for (const std::string& event : observer.Events()) {
        if (event.starts_with("diagnostic")) {
            diagnostics.push_back(event);
        }
    }
    ASSERT_EQ(diagnostics.size(), 1u);
    EXPECT_NE(diagnostics[0].find("no-such-port"), std::string::npos) << diagnostics[0];
}

TEST_F(DetectorTest, AnObserverThatThrowsStopsNeitherTheDetectorNorTheOthers) {
    struct TThrowing : TDetectorObserver {
        void Observe(const TDetectorEvent&) override { throw std::runtime_error("window gone"); }
    } throwing;
    AnswerIdentifyThenDose();
    TDetector detector({"\\\\.\\COM3", {}, {}, {}}, Services(port, &clock));
    detector.AddObserver(throwing);
    detector.AddObserver(observer);
    detector.Start();
    clock.RunFor(6000ms);
    EXPECT_EQ(Kinds(observer.Events()).size(), 10u);
}

TEST_F(DetectorTest, EndingInTheMiddleOfAnExchangeCutsItShortAndLeavesNoRow) {
    TBusyLinePort busy(60s);
    TDetector detector({"\\\\.\\COM3", {}, {}, {}, 10ms}, Services(busy, nullptr));
    detector.AddObserver(observer);
    detector.Start();
    busy.WaitUntilReading();
    const auto start = std::chrono::steady_clock::now();
    detector.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_FALSE(busy.IsOpen());
    for (const std::string& event : observer.Events()) {
        EXPECT_FALSE(event.starts_with("row") || event.starts_with("error")) << event;
    }
}

TEST_F(DetectorTest, ASilentDetectorDelaysNoOther) {
    constexpr auto kPeriod = 200ms;
    AnswerIdentifyThenDose();
    // Each of the silent one's cycles lasts three such reads: 900 ms, far
    // longer than a period, which a shared beat would pass on.
    TBusyLinePort silent(300ms);
    TRecordingObserver silentObserver;
    TEngine engine;
    engine.Add({"\\\\.\\COM3", {}, {}, {}, kPeriod}, Services(port, nullptr)).AddObserver(observer);
    engine.Add({"\\\\.\\COM4", {}, {}, {}, kPeriod}, Services(silent, nullptr))
        .AddObserver(silentObserver);
    engine.Start();
    std::this_thread::sleep_for(2s);
    engine.Stop();
    EXPECT_LE(silentObserver.Times("status ").size(), 3u);
    const auto starts = observer.Times("status ");
    ASSERT_GE(starts.size(), 6u);
    for (std::size_t i = 1; i < starts.size(); ++i) {
        EXPECT_LT(starts[i] - starts[i - 1], 3 * kPeriod) << i;
    }
}

}  // namespace
}  // namespace ornet5
