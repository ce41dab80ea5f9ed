// The ORNET5 program end to end: a prepared settings file chooses COM2,
// 4800 bit/s and µR/h, ornet5-sim stands at COM2, and the first poll must
// arrive there at that speed. Runs in real time: the bounds are wide.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <regex>
#include <thread>

#include "settings/ini_profile.h"
#include "settings/ini_text.h"
#include "tests/support/child_process.h"
#include "tests/support/cpu_share.h"
#include "tests/support/temp_config_home.h"
#include "tests/support/temp_folder.h"

namespace ornet5 {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using TClock = std::chrono::steady_clock;

constexpr std::string_view kSection = "TTrelanADCFace";
constexpr std::string_view kOther = "; kept as it is\r\n[Other]\r\nKey=value\r\n\r\n";

std::vector<std::string> ProgramEnvironment(const test::TTempConfigHome& home) {
    std::vector<std::string> environment{home.EnvironmentEntry()};
    // Under the test script a virtual X display is set; run by hand without
    // one, the program still runs on Qt's offscreen platform.
    if (std::getenv("DISPLAY") == nullptr) {
        environment.push_back("QT_QPA_PLATFORM=offscreen");
    }
    return environment;
}

// The line speeds of the requests that the simulator logged, in order.
std::vector<std::string> RequestSpeeds(const std::string& log) {
    static const std::regex kSpeed(", speed ([0-9a-z]+)");
    std::vector<std::string> speeds;
    for (auto it = std::sregex_iterator(log.begin(), log.end(), kSpeed);
         it != std::sregex_iterator(); ++it) {
        speeds.push_back((*it)[1]);
    }
    return speeds;
}

// Waits until check() holds or limit passes; whether it held.
template <class TCheck>
bool WaitFor(TCheck check, std::chrono::milliseconds limit) {
    const auto deadline = TClock::now() + limit;
    while (!check()) {
        if (TClock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

class Ornet5EndToEnd : public ::testing::Test {
  protected:
    fs::path File() const { return home.Path() / "ORNET5.INI"; }

    std::optional<std::string> Stored(std::string_view key) const {
        return FindProfileValue(test::ReadAll(File()), kSection, key);
    }

    // SIGTERM, as a desktop session's end sends it; how long the program
    // took to end.
    std::chrono::milliseconds Terminate() {
        return test::Time([this] { program.reset(); }).wall;
    }

    test::TTempConfigHome home;
    std::optional<test::TChildProcess> program;
};

TEST_F(Ornet5EndToEnd, StoredPortSpeedAndUnitAreInForceAtTheFirstPoll) {
    test::WriteAll(File(), std::string(kOther) +
                               "[TTrelanADCFace]\r\n"
                               "CB_ComPort_Speed_ItemIndex=2\r\n"
                               "CB_ComPort_ItemIndex=1\r\n"
                               "rbRentgen_Checked=True\r\n"
                               "rbZv_Checked=False\r\n");
    test::TChildProcess sim(ORNET5_SIM_PATH, {"--link", home.ComLink(2).string()},
                            {home.EnvironmentEntry()});
    ASSERT_TRUE(sim.WaitUntilReady()) << sim.Output();

    const auto start = TClock::now();
    program.emplace(ORNET5_PROGRAM_PATH, std::vector<std::string>{}, ProgramEnvironment(home));
    ASSERT_TRUE(WaitFor([&] { return !RequestSpeeds(sim.Output()).empty(); }, 15s)) << sim.Output();
    const auto firstPoll = TClock::now() - start;
    // The poll timer's first tick comes 3000 ms after the window's creation.
    EXPECT_GE(firstPoll, 2500ms);
    EXPECT_LE(firstPoll, 12000ms);
    EXPECT_EQ(RequestSpeeds(sim.Output()).front(), "4800") << sim.Output();

    // The first activation's close has written the file back already.
    EXPECT_EQ(Stored("rbRentgen_Checked"), "True");
    EXPECT_LE(Terminate(), 4s);
    const std::string content = test::ReadAll(File());
    EXPECT_EQ(content.substr(0, kOther.size()), kOther);
    const std::pair<std::string_view, std::string> expected[] = {
        {"FormVersion", "0"},          {"CB_ComPort_Speed_ItemIndex", "2"},
        {"CB_ComPort_ItemIndex", "1"}, {"rbRentgen_Checked", "True"},
        {"rbZv_Checked", "False"},     {"Visible", "0"}};
    for (const auto& [key, value] : expected) {
        EXPECT_EQ(Stored(key), value) << key;
    }
    for (const std::string_view key :
         {"Flags", "ShowCmd", "PixelsPerInch", "MinMaxPos", "NormPos"}) {
        EXPECT_TRUE(Stored(key)) << key;
    }
    EXPECT_TRUE(std::regex_search(content, std::regex("\r\nNormPos\\([0-9]+x[0-9]+\\)=-?[0-9]+,")))
        << content;
}

TEST_F(Ornet5EndToEnd, AFirstRunCreatesTheFileWithTheDesignChoices) {
    program.emplace(ORNET5_PROGRAM_PATH, std::vector<std::string>{}, ProgramEnvironment(home));
    ASSERT_TRUE(WaitFor([&] { return Stored("rbZv_Checked").has_value(); }, 15s))
        << program->Output();
    EXPECT_LE(Terminate(), 4s);
    EXPECT_EQ(Stored("CB_ComPort_ItemIndex"), "2");
    EXPECT_EQ(Stored("CB_ComPort_Speed_ItemIndex"), "1");
    EXPECT_EQ(Stored("rbRentgen_Checked"), "False");
    EXPECT_EQ(Stored("rbZv_Checked"), "True");
}

TEST_F(Ornet5EndToEnd, GarbageInTheFileLeavesTheProgramRunningAndIsMended) {
    std::string garbage(1 << 20, '\0');
    std::uint32_t state = 12345;
    for (char& c : garbage) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 24);
    }
    garbage[0] = '\n';
    test::WriteAll(File(), garbage +
                               "\n[TTrelanADCFace]\nCB_ComPort_ItemIndex=\xff\xfe\n"
                               "NormPos=99999999999,-7\nrbRentgen_Checked=\x01True\n");
    program.emplace(ORNET5_PROGRAM_PATH, std::vector<std::string>{}, ProgramEnvironment(home));
    ASSERT_TRUE(WaitFor([&] { return Stored("rbZv_Checked").has_value(); }, 15s))
        << program->Output();
    EXPECT_LE(Terminate(), 4s);
    const std::string content = test::ReadAll(File());
    EXPECT_EQ(content.substr(0, garbage.size()), garbage);
    EXPECT_EQ(Stored("CB_ComPort_ItemIndex"), "0");
    EXPECT_EQ(Stored("rbRentgen_Checked"), "True");
    EXPECT_EQ(Stored("rbZv_Checked"), "False");
}

}  // namespace
}  // namespace ornet5
