// The settings window with the real driver against the detector simulator
// on a pseudo-terminal, driven by its own 3000 ms poll timer.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

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

extern char** environ;

namespace ornet5 {
namespace {

using namespace std::chrono_literals;

constexpr std::uint16_t kWord = 0x1C7B;
const char* const kWordText = "1C7B";
const char* const kAddress = "4.2.31";

// The simulator as a child process, ended when the test ends.
class TSimulator {
  public:
    explicit TSimulator(const std::vector<std::string>& arguments) {
        int pipeEnds[2];
        if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
        std::vector<std::string> words{ORNET5_SIM_PATH};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(pipeEnds[1]);
        stderr_ = pipeEnds[0];
    }

    ~TSimulator() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        if (stderr_ >= 0) {
            close(stderr_);
        }
    }

    // True once the simulator says its link exists.
    bool WaitReady(std::chrono::milliseconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (pid_ > 0 && output_.find("ready") == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd watch{stderr_, POLLIN, 0};
            if (left <= 0ms || poll(&watch, 1, static_cast<int>(left.count())) <= 0) {
                return false;
            }
            char buffer[256];
            const ssize_t count = read(stderr_, buffer, sizeof buffer);
            if (count <= 0) {
                return false;
            }
            output_.append(buffer, static_cast<std::size_t>(count));
        }
        return pid_ > 0;
    }

    const std::string& Output() const { return output_; }

  private:
    pid_t pid_ = -1;
    int stderr_ = -1;
    std::string output_;
};

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
        simulator_ = std::make_unique<TSimulator>(
            std::vector<std::string>{"--link", link, "--word", kWordText, "--address", kAddress});
        ASSERT_TRUE(simulator_->WaitReady(10s)) << simulator_->Output();
    }

    QString Address() { return window_->findChild<QLineEdit*>("LE_DeviceAdr")->text(); }

    test::TTemporaryConfigHome configHome_;
    std::unique_ptr<TSimulator> simulator_;
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
