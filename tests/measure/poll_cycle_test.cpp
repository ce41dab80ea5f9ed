#include <gtest/gtest.h>

#include <string>

#include "common/exception.h"
#include "link/frame.h"
#include "measure/poll_cycle.h"
#include "tests/support/detector_replies.h"
#include "tests/support/fake_poll_values.h"
#include "tests/support/manual_environment.h"
#include "tests/support/scripted_port.h"

namespace ornet5 {
namespace {

using test::DoseReply;
using test::IdentifyReply;
using test::TFakePollValues;
using test::TFixedFormats;
using test::TManualEnvironment;
using test::TScriptedPort;

const char* const kIdentifyFailed = "Ошибка при попытке инициализации";
const char* const kIdentifyDone = "Инициализация прошла успешно";
const char* const kReadFailed = "Ошибка при чтении дозы из прибора";

class PollCycleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The cancel text reaches the status bar, as in the program.
        environment.onStatus = [this](const std::string& text) { values.SetStatusText(text); };
    }

    // Runs the identify step with the given answer so that reading follows.
    void Identified(const char* address = "4.2.31") {
        port.AnswerWrite(port.sent.size(), {IdentifyReply(address)});
        cycle.TimerTrelanTimer();
        ASSERT_EQ(values.statusText, kIdentifyDone);
    }

    TManualEnvironment environment;
    TScriptedPort port{environment};
    TFakePollValues values;
    TFixedFormats formats;
    TPollCycle cycle{port, values, environment, formats};
};

TEST_F(PollCycleTest, FirstCycleIdentifiesAndSetsTheLinkStateEvenWithoutAnswer) {
    EXPECT_FALSE(cycle.LinkState());
    cycle.TimerTrelanTimer();
    EXPECT_TRUE(cycle.LinkState());
    ASSERT_EQ(port.sent.size(), 3u);
    EXPECT_EQ(port.sent[0], BuildFrame(kAllNodesAddress, kOwnAddress, 0, 0, ""));
    EXPECT_EQ(values.statusHistory, (std::vector<std::string>{"", kIdentifyFailed}));
    EXPECT_EQ(values.addressText, "");
    EXPECT_EQ(port.openCalls, 1);
    EXPECT_EQ(port.closeCalls, 1);
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(PollCycleTest, IdentifyReplyShowsTheAnsweringAddress) {
    Identified("4.2.31");
    EXPECT_EQ(values.addressText, "4.2.31");
    EXPECT_TRUE(cycle.LinkState());
    EXPECT_EQ(values.doseText, "");
    EXPECT_EQ(port.sent.size(), 1u);
}

TEST_F(PollCycleTest, IdentifyTakesOnlyAReplyOfExactly14Bytes) {
    // Both pass the reply checks (data length 0), but are not 14 bytes long.
    port.AnswerWrite(0, {IdentifyReply("4.2.31") + "xyz"});
    cycle.Identify();
    EXPECT_EQ(values.statusText, kIdentifyFailed);
    port.AnswerWrite(3, {BuildFrame(kOwnAddress, "4.2.31", 0, 0, "")});
    cycle.Identify();
    EXPECT_EQ(values.statusText, kIdentifyFailed);
    EXPECT_EQ(values.addressText, "");
    EXPECT_TRUE(cycle.LinkState());
}

TEST_F(PollCycleTest, ReadingShowsDoseAddressAndTimedStatus) {
    Identified();
    port.AnswerWrite(1, {DoseReply("10.0.255", 0x7B, 0xFC)});  // 0.123 µSv/h
    cycle.TimerTrelanTimer();
    EXPECT_EQ(port.sent[1], BuildFrame(kAllNodesAddress, kOwnAddress, 6, 13, std::string(1, '\0')));
    EXPECT_EQ(values.doseText, "0,12");
    EXPECT_EQ(values.addressText, "10.0.255");
    EXPECT_EQ(values.statusText, "В 9:05:07 мощность дозы составляла 0,12");
    EXPECT_TRUE(cycle.LinkState());
}

TEST_F(PollCycleTest, RentgenMultipliesTheReadingBy100BeforeFormatting) {
    Identified();
    values.rentgenChosen = true;
    formats.separator = ".";
    formats.time = "21:00:00";
    port.AnswerWrite(1, {DoseReply("4.2.31", 0x7B, 0x00)});  // 1.23 µSv/h
    cycle.TimerTrelanTimer();
    EXPECT_EQ(values.doseText, "1.2E02");
    EXPECT_EQ(values.statusText, "В 21:00:00 мощность дозы составляла 1.2E02");
}

TEST_F(PollCycleTest, StatusQuotesTheLabelAsItStands) {
    Identified();
    values.shownDose = "label";
    port.AnswerWrite(1, {DoseReply("4.2.31", 0x05, 0x00)});
    cycle.TimerTrelanTimer();
    EXPECT_EQ(values.doseText, "5,00");
    EXPECT_EQ(values.statusText, "В 9:05:07 мощность дозы составляла label");
}

TEST_F(PollCycleTest, ReadingComesOnlyFromAReplyWithItsDataChecksummed) {
    Identified();
    // An identify reply and seven bytes of line noise in one read: 21 bytes
    // that pass the reply checks, since data length 0 takes anything after
    // the header, but no checksum covers the bytes where the reading sits.
    std::string reply = IdentifyReply("3.3.3") + std::string("\x00\x2C\xF5\x00\x00\x00\x00", 7);
    port.AnswerWrite(1, {reply});
    cycle.TimerTrelanTimer();
    EXPECT_EQ(values.doseText, "");
    EXPECT_EQ(values.addressText, "4.2.31");
    EXPECT_EQ(values.statusText, kReadFailed);
    EXPECT_FALSE(cycle.LinkState());
}

TEST_F(PollCycleTest, FailedReadingKeepsTheValuesAndIdentifiesNext) {
    Identified();
    port.AnswerWrite(1, {DoseReply("4.2.31", 0x7B, 0xFC)});
    cycle.TimerTrelanTimer();
    port.AnswerWrite(2, {IdentifyReply("9.9.9")});  // wrong length for a reading
    cycle.TimerTrelanTimer();
    EXPECT_EQ(values.statusText, kReadFailed);
    EXPECT_EQ(values.doseText, "0,12");
    EXPECT_EQ(values.addressText, "4.2.31");
    EXPECT_FALSE(cycle.LinkState());
    cycle.TimerTrelanTimer();
    EXPECT_EQ(port.sent.back(), BuildFrame(kAllNodesAddress, kOwnAddress, 0, 0, ""));
}

TEST_F(PollCycleTest, DoseIsNotCurrentFromAReadingThatFailedUntilTheNextOneSucceeds) {
    Identified();
    port.AnswerWrite(1, {DoseReply("4.2.31", 0x7B, 0xFC)});
    cycle.TimerTrelanTimer();
    ASSERT_TRUE(values.doseCurrent);
    cycle.TimerTrelanTimer();  // no reply
    EXPECT_FALSE(values.doseCurrent);
    EXPECT_EQ(values.doseText, "0,12");
    port.AnswerEveryWrite({IdentifyReply("4.2.31")});
    cycle.TimerTrelanTimer();
    port.AnswerEveryWrite({DoseReply("4.2.31", 0x05, 0x00)});
    cycle.TimerTrelanTimer();
    EXPECT_TRUE(values.doseCurrent);
    // A speed text that stops every later reading renews nothing either.
    values.speedText = "";
    EXPECT_THROW(cycle.TimerTrelanTimer(), EConvertError);
    EXPECT_FALSE(values.doseCurrent);
}

TEST_F(PollCycleTest, WithoutDetectorTheStepsAndTextsAlternate) {
    for (int cycleNumber = 0; cycleNumber < 4; ++cycleNumber) {
        cycle.TimerTrelanTimer();
        const bool identified = cycleNumber % 2 == 0;
        EXPECT_EQ(values.statusText, identified ? kIdentifyFailed : kReadFailed);
        EXPECT_EQ(cycle.LinkState(), identified);
    }
    EXPECT_EQ(port.sent.size(), 12u);
    EXPECT_EQ(values.doseText, "");
}

TEST_F(PollCycleTest, PortThatDoesNotOpenIsAnOrdinaryFailure) {
    port.opens = false;
    cycle.TimerTrelanTimer();
    EXPECT_EQ(values.statusText, kIdentifyFailed);
    cycle.TimerTrelanTimer();
    EXPECT_EQ(values.statusText, kReadFailed);
}

TEST_F(PollCycleTest, PortIndexSelectsCom1ToCom8AndOtherwiseKeepsThePort) {
    for (int index = 0; index < 8; ++index) {
        values.portIndex = index;
        cycle.OpenLink();
        cycle.CloseLink();
        ASSERT_EQ(port.portsSet.size(), static_cast<std::size_t>(index + 1));
        EXPECT_EQ(port.portsSet.back(), static_cast<TPortNumber>(pnCOM1 + index));
    }
    for (int index : {-1, 8, 100}) {
        values.portIndex = index;
        cycle.OpenLink();
        cycle.CloseLink();
    }
    EXPECT_EQ(port.portsSet.size(), 8u);
    EXPECT_EQ(port.openCalls, 11);
}

TEST_F(PollCycleTest, SpeedTextIsConvertedAtEveryStep) {
    for (const auto& [text, speed] :
         {std::pair{"19200", 19200u}, {" 1200", 1200u}, {"$4B00", 19200u}, {"0x2580", 9600u}}) {
        values.speedText = text;
        cycle.TimerTrelanTimer();
        EXPECT_EQ(port.speedsSet.back(), speed) << text;
    }
}

TEST_F(PollCycleTest, BadSpeedTextFailsBeforeTheOpenAndLeavesTheStatusEmpty) {
    values.speedText = "96OO";
    try {
        cycle.TimerTrelanTimer();
        ADD_FAILURE() << "no error";
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message(), "'96OO' is not a valid integer value");
    }
    EXPECT_EQ(port.openCalls, 0);
    EXPECT_TRUE(port.sent.empty());
    EXPECT_EQ(values.statusText, "");
    EXPECT_TRUE(cycle.LinkState());  // set by the identify step before failing

    // Reading keeps the link state, and each cycle fails alike until mended.
    EXPECT_THROW(cycle.TimerTrelanTimer(), EConvertError);
    EXPECT_TRUE(cycle.LinkState());
    EXPECT_EQ(values.statusText, "");
    values.speedText = "9600";
    cycle.TimerTrelanTimer();
    EXPECT_EQ(values.statusText, kReadFailed);
}

TEST_F(PollCycleTest, CancelLeavesThePortOpenUntilTheNextCycleCloses) {
    Identified();
    port.AnswerWrite(1, {DoseReply("4.2.31", 0x7B, 0xFC)});
    environment.escapeDownAtCalls = {environment.escapeCalls + 1};
    EXPECT_THROW(cycle.TimerTrelanTimer(), EProtocolCancel);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(values.statusText, "Отменено пользователем");
    EXPECT_EQ(values.doseText, "");  // the good reply was discarded
    EXPECT_TRUE(cycle.LinkState());

    port.AnswerWrite(2, {DoseReply("4.2.31", 0x05, 0x00)});
    cycle.TimerTrelanTimer();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(values.doseText, "5,00");
}

TEST_F(PollCycleTest, CancelWhileIdentifyingStillReadsNext) {
    environment.escapeDownAtCalls = {0};
    EXPECT_THROW(cycle.TimerTrelanTimer(), EProtocolCancel);
    EXPECT_TRUE(cycle.LinkState());
    EXPECT_EQ(values.statusText, "Отменено пользователем");
    EXPECT_EQ(port.closeCalls, 0);
}

// Each step's end as the journal and the alarm hear of it: the reading in
// µSv/h whatever unit is shown, and whether any byte came back.
TEST_F(PollCycleTest, EachStepTellsTheObserverHowItEnded) {
    struct TRecorder : TCycleObserver {
        void CycleEnded(const TCycleOutcome& outcome) override { outcomes.push_back(outcome); }
        std::vector<TCycleOutcome> outcomes;
    } recorder;
    cycle.SetObserver(&recorder);
    values.rentgenChosen = true;
    Identified();
    port.AnswerWrite(port.sent.size(), {DoseReply("4.2.31", 0x7B, 0xFC)});
    cycle.TimerTrelanTimer();
    port.AnswerWrite(port.sent.size(), {std::string(20, 'x'), "", ""});
    cycle.TimerTrelanTimer();
    cycle.TimerTrelanTimer();
    environment.escapeDownAtCalls = {environment.escapeCalls};
    EXPECT_THROW(cycle.TimerTrelanTimer(), EProtocolCancel);
    values.speedText = "x";
    EXPECT_THROW(cycle.TimerTrelanTimer(), EConvertError);

    using enum TCycleStatus;
    const std::vector<TCycleStatus> statuses = {Identified, Ok,        BadReply,
                                                NoReply,    Cancelled, NoReply};
    ASSERT_EQ(recorder.outcomes.size(), statuses.size());
    for (std::size_t i = 0; i < statuses.size(); ++i) {
        EXPECT_EQ(recorder.outcomes[i].status, statuses[i]) << i;
        EXPECT_EQ(recorder.outcomes[i].reading.has_value(), i == 1) << i;
        EXPECT_EQ(recorder.outcomes[i].detector, i < 2 ? "4.2.31" : "") << i;
    }
    EXPECT_DOUBLE_EQ(*recorder.outcomes[1].reading, 0.123);
    EXPECT_EQ(values.doseText, "12,00");
}

}  // namespace
}  // namespace ornet5
