// The poll cycle with the real driver over a pseudo-terminal, against the
// ornet5-sim program as the detector. Runs in real time, so the timing
// bounds are wide.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "measure/dose_text.h"
#include "measure/poll_cycle.h"
#include "measure/reading_decoder.h"
#include "serial/cp_drv.h"
#include "tests/support/child_process.h"
#include "tests/support/cpu_share.h"
#include "tests/support/fake_poll_values.h"
#include "tests/support/manual_tick_source.h"
#include "tests/support/steady_environment.h"
#include "tests/support/temp_config_home.h"

namespace ornet5 {
namespace {

using namespace std::chrono_literals;

constexpr int kComNumber = 5;
constexpr const char* kIdentifyFailed = "Ошибка при попытке инициализации";
constexpr const char* kIdentifyDone = "Инициализация прошла успешно";
constexpr const char* kReadFailed = "Ошибка при чтении дозы из прибора";

// A reading that the detector is told to send, and the text it must give.
constexpr std::uint16_t kWord = 0xFC7B;
const char* const kWordText = "FC7B";

std::string ExpectedDose(double factor) {
    return DoseText(DecodeReading(kWord) * factor, ",");
}

class PollCycleEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        values.portIndex = kComNumber - 1;
        environment.onStatus = [this](const std::string& text) { values.SetStatusText(text); };
    }

    void StartSimulator(std::vector<std::string> options) {
        options.insert(options.end(), {"--link", home.ComLink(kComNumber).string()});
        sim.emplace(ORNET5_SIM_PATH, options, std::vector{home.EnvironmentEntry()});
        ASSERT_TRUE(sim->WaitUntilReady()) << sim->Output();
    }

    // One cycle, as the poll timer runs it; how long it took.
    std::chrono::milliseconds Cycle() {
        return test::Time([this] { cycle.TimerTrelanTimer(); }).wall;
    }

    // Four cycles against a simulator that corrupts its replies as `fault`
    // says: identifying ends with `identifyStatus`, every reading fails.
    void ExpectNoDoseFrom(const char* fault, const char* identifyStatus) {
        ASSERT_NO_FATAL_FAILURE(StartSimulator({fault, "--word", kWordText}));
        for (int step = 0; step < 4; ++step) {
            Cycle();
            EXPECT_EQ(values.statusText, step % 2 == 0 ? identifyStatus : kReadFailed);
        }
        EXPECT_EQ(values.doseText, "");
    }

    // Destroyed in reverse: the port closes before the simulator ends, and
    // the simulator ends before its folder goes.
    test::TTempConfigHome home;
    std::optional<test::TChildProcess> sim;
    TManualTickSource ticks;
    TCPDrv port{ticks};
    test::TFakePollValues values;
    test::TFixedFormats formats;
    test::TSteadyEnvironment environment;
    TPollCycle cycle{port, values, environment, formats};
};

TEST_F(PollCycleEndToEnd, IdentifiesOnceThenReadsTheDoseAtEveryCycle) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator({"--address", "7.8.9", "--word", kWordText}));
    values.speedText = "19200";
    const auto identifyTime = Cycle();
    EXPECT_EQ(values.statusText, kIdentifyDone) << sim->Output();
    EXPECT_EQ(values.addressText, "7.8.9");
    EXPECT_GE(identifyTime, 200ms);
    EXPECT_LE(identifyTime, 500ms);

    for (int reading = 0; reading < 3; ++reading) {
        values.rentgenChosen = reading == 2;
        const auto readTime = Cycle();
        const std::string dose = ExpectedDose(values.rentgenChosen ? 100 : 1);
        EXPECT_EQ(values.doseText, dose) << sim->Output();
        EXPECT_EQ(values.statusText, "В 9:05:07 мощность дозы составляла " + dose);
        EXPECT_TRUE(cycle.LinkState());
        EXPECT_GE(readTime, 200ms);
        EXPECT_LE(readTime, 500ms);
    }
    EXPECT_FALSE(port.IsOpen());
    EXPECT_NE(sim->Output().find("speed 19200"), std::string::npos) << sim->Output();
}

TEST_F(PollCycleEndToEnd, SilentDetectorAlternatesTheTwoFailures) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator({"--silent"}));
    for (int step = 0; step < 4; ++step) {
        const auto time = Cycle();
        EXPECT_EQ(values.statusText, step % 2 == 0 ? kIdentifyFailed : kReadFailed);
        EXPECT_GE(time, 550ms);
        EXPECT_LE(time, 900ms);
    }
    EXPECT_EQ(values.addressText, "");
    EXPECT_EQ(values.doseText, "");
}

TEST_F(PollCycleEndToEnd, CorruptedHeaderChecksumsNeverShowAValue) {
    ExpectNoDoseFrom("--bad-header-checksum", kIdentifyFailed);
    EXPECT_EQ(values.addressText, "");
}

TEST_F(PollCycleEndToEnd, CorruptedDataChecksumsNeverShowADose) {
    // The identify reply carries no data checksum, so only readings fail.
    ExpectNoDoseFrom("--bad-data-checksum", kIdentifyDone);
    EXPECT_EQ(values.addressText, "4.2.31");
}

TEST_F(PollCycleEndToEnd, SplitReplyIsNotShown) {
    // The simulator writes each piece when it falls due, so the first piece
    // of a retry's reply can overtake the second piece of an earlier one,
    // and two halves of identical replies make a whole one; a real detector
    // answers in order. The pieces are therefore kept a cycle apart: each
    // read gets one first piece alone, and the second pieces come while the
    // port is closed between cycles, as the poll timer's period leaves it.
    ASSERT_NO_FATAL_FAILURE(
        StartSimulator({"--split", "--split-pause", "1000", "--word", kWordText}));
    for (int step = 0; step < 4; ++step) {
        Cycle();
        EXPECT_EQ(values.statusText, step % 2 == 0 ? kIdentifyFailed : kReadFailed)
            << "cycle " << step << "\n"
            << sim->Output();
        std::this_thread::sleep_for(1200ms);
    }
    EXPECT_EQ(values.addressText, "");
    EXPECT_EQ(values.doseText, "") << sim->Output();
}

TEST_F(PollCycleEndToEnd, CancelLeavesThePortOpenUntilTheNextCycle) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator({"--word", kWordText}));
    Cycle();
    ASSERT_EQ(values.statusText, kIdentifyDone) << sim->Output();
    int attemptStarts = 0;
    environment.escapeDown = [&] { return ++attemptStarts == 2; };
    EXPECT_THROW(cycle.TimerTrelanTimer(), EProtocolCancel);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(values.statusText, "Отменено пользователем");
    EXPECT_EQ(values.doseText, "");

    // The open port keeps the port it has and takes the new speed.
    values.portIndex = 0;
    values.speedText = "19200";
    Cycle();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.Port(), static_cast<TPortNumber>(pnCOM1 + kComNumber - 1));
    EXPECT_EQ(port.BaudRateValue(), 19200u);
    EXPECT_EQ(values.doseText, ExpectedDose(1)) << sim->Output();
}

}  // namespace
}  // namespace ornet5
