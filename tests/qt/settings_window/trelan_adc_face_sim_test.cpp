// The settings window with the real driver against the detector simulator
// on a pseudo-terminal, driven by its own 3000 ms poll timer.
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

#include "app/qt/trelan_adc_face.h"
#include "measure/dose_text.h"
#include "measure/reading_decoder.h"
#include "tests/qt/settings_window/window_test_support.h"
#include "tests/support/child_process.h"

namespace ornet5 {
namespace {

using namespace std::chrono_literals;

constexpr std::uint16_t kWord = 0x1C7B;
const char* const kWordText = "1C7B";
const char* const kAddress = "4.2.31";

class TrelanADCFaceSimTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::TestApplication();
        std::filesystem::create_directories(configHome_.Path() / "ornet5");
    }

    void TearDown() override {
        window_.reset();
        simulator_.reset();
    }

    void StartSimulator() {
        const std::string link = (configHome_.Path() / "ornet5" / "com3").string();
        simulator_ = std::make_unique<test::TChildProcess>(
            ORNET5_SIM_PATH,
            std::vector<std::string>{"--link", link, "--word", kWordText, "--address", kAddress});
        ASSERT_TRUE(simulator_->WaitUntilReady(10s)) << simulator_->Output();
    }

    QString Address() { return window_->findChild<QLineEdit*>("LE_DeviceAdr")->text(); }

    test::TTempConfigHome configHome_;
    std::unique_ptr<test::TChildProcess> simulator_;
    test::TServicesFixture fixture_;
    std::unique_ptr<TTrelanADCFace> window_;
};

TEST_F(TrelanADCFaceSimTest, HiddenWindowShowsTheSimulatorsReadingAndKeepsUpdating) {
    StartSimulator();
    const std::string expectedDose = DoseText(DecodeReading(kWord), ",");
    window_ = std::make_unique<TTrelanADCFace>(fixture_.Services());
    // The poll timer starts with the window: identify at 3 s, the dose at
    // 6 s, each exchange a little over 200 ms.
    const auto timerStarted = std::chrono::steady_clock::now();
    EXPECT_EQ(window_->Core().CommPort().PortName(), "\\\\.\\COM3");
    // As at start-up: shown once and closed at once, then hidden for good.
    window_->ShowAndRaise();
    window_->close();
    ASSERT_FALSE(window_->isVisible());

    // Waits past the bound, so that a late dose shows how late it was.
    const bool shown = QTest::qWaitFor(
        [&] { return fixture_.face.doseText == expectedDose && Address() == kAddress; }, 20000);
    const auto elapsed = std::chrono::steady_clock::now() - timerStarted;
    EXPECT_TRUE(shown)
        << "dose " << fixture_.face.doseText << ", address " << Address().toStdString()
        << ", status "
        << window_->findChild<QStatusBar*>("StatusBar")->currentMessage().toStdString();
    EXPECT_LT(elapsed, 7s) << std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()
                           << " ms";
    EXPECT_TRUE(fixture_.reportedErrors.empty());

    fixture_.face.doseText.clear();
    EXPECT_TRUE(QTest::qWaitFor([&] { return fixture_.face.doseText == expectedDose; }, 9000));
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(window_->findChild<QStatusBar*>("StatusBar")->currentMessage().toStdString(),
              "В 9:05:07 мощность дозы составляла " + expectedDose);
}

}  // namespace
}  // namespace ornet5
