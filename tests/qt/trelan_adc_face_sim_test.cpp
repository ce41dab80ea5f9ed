// The program's hidden settings window and main window with the real
// driver against the detector simulator on a pseudo-terminal, at the
// detector's own 3000 ms.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>

#include "measure/dose_text.h"
#include "measure/reading_decoder.h"
#include "tests/qt/app_test_support.h"
#include "tests/support/child_process.h"

namespace ornet5 {
namespace {

using namespace std::chrono_literals;

constexpr std::uint16_t kWord = 0x1C7B;
const char* const kWordText = "1C7B";
const char* const kAddress = "4.2.31";

TEST(TrelanADCFaceSim, HiddenWindowShowsTheSimulatorsReadingAndKeepsUpdating) {
    const std::filesystem::path folder =
        std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "ornet5";
    std::filesystem::create_directories(folder);
    test::TChildProcess simulator(
        ORNET5_SIM_PATH, std::vector<std::string>{"--link", (folder / "com3").string(), "--word",
                                                  kWordText, "--address", kAddress});
    ASSERT_TRUE(simulator.WaitUntilReady(10s)) << simulator.Output();
    const std::string expectedDose =
        DoseText(DecodeReading(kWord), QLocale::system().decimalPoint().toStdString());
    // The detector starts with the program: identify at 3 s, the dose at
    // 6 s, each exchange a little over 200 ms.
    const auto started = std::chrono::steady_clock::now();
    test::TAssembledWindows program;
    auto address = [&] { return program.settings.findChild<QLineEdit*>("LE_DeviceAdr")->text(); };
    auto status = [&] {
        return program.settings.findChild<QStatusBar*>("StatusBar")->currentMessage().toStdString();
    };
    // As at start-up: shown once and closed at once, then hidden for good.
    program.settings.ShowAndRaise();
    program.settings.close();
    ASSERT_FALSE(program.settings.isVisible());

    // Waits past the bound, so that a late dose shows how late it was.
    const bool shown = QTest::qWaitFor(
        [&] { return program.face.Core().DoseText() == expectedDose && address() == kAddress; },
        20000);
    const auto elapsed = std::chrono::steady_clock::now() - started;
    EXPECT_TRUE(shown) << "dose " << program.face.Core().DoseText() << ", address "
                       << address().toStdString() << ", status " << status();
    EXPECT_LT(elapsed, 7s) << std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()
                           << " ms";
    EXPECT_EQ(program.events.ShownReports(), 0);

    // The status is cleared as the next cycle starts and set as it ends.
    ASSERT_TRUE(QTest::qWaitFor([&] { return status().empty(); }, 4000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !status().empty(); }, 1000));
    EXPECT_FALSE(program.settings.isVisible());
    EXPECT_TRUE(status().ends_with(" " + expectedDose)) << status();
}

}  // namespace
}  // namespace ornet5
