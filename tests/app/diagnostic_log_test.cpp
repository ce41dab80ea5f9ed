// The diagnostic log: lines through the stream into a capped file with one
// older file beside it, on a real disk (Linux, and Windows under Wine).
#include "app/diagnostic_log.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace ornet5 {
namespace {

using namespace std::chrono;
namespace fs = std::filesystem;

// 2026-12-08 14:03:21.482 at +03:00.
TLocalTime FixedNow() {
    return {sys_days{year{2026} / December / 8} + 11h + 3min + 21s + 482ms, minutes{180}};
}
constexpr const char* kStamp = "2026-12-08T14:03:21.482+03:00 ";

class DiagnosticLog : public ::testing::Test {
  protected:
    TDiagnosticLogSettings Settings(const fs::path& file, std::uintmax_t capBytes) {
        return {file, capBytes, FixedNow,
                [this](const std::string& line) { echoed_.push_back(line); }};
    }

    const test::TTempFolder folder_;
    std::vector<std::string> echoed_;
};

TEST_F(DiagnosticLog, EachWrittenLineBecomesOneStampedLineInTheFileAndTheEcho) {
    const fs::path file = folder_.Path() / "ORNET5" / "ORNET5.log";
    {
        TDiagnosticLog log(Settings(file, kDiagnosticLogCapBytes));
        log << "ORNET5: порт \\\\.\\COM3 не открывается: "
            << "устройство не найдено" << std::endl;
        log << "\n"
            << "two\r\nlines\n";
        EXPECT_TRUE(log.good());
        EXPECT_EQ(test::ReadAll(file), std::string(kStamp) +
                                           "ORNET5: порт \\\\.\\COM3 не открывается: устройство не "
                                           "найдено\r\n" +
                                           kStamp + "two\r\n" + kStamp + "lines\r\n");
        log << "unfinished";
    }
    EXPECT_TRUE(
        test::ReadAll(file).ends_with(std::string("lines\r\n") + kStamp + "unfinished\r\n"));
    ASSERT_EQ(echoed_.size(), 4u);
    EXPECT_EQ(echoed_[1], std::string(kStamp) + "two");
    EXPECT_EQ(echoed_[3], std::string(kStamp) + "unfinished");
}

// Lines of 100 bytes with their stamp and line end, against a cap of 350:
// three fit, the fourth starts a new file.
TEST_F(DiagnosticLog, AFullFileMovesAsideAndReplacesTheOlderOne) {
    const fs::path file = folder_.Path() / "ORNET5.log";
    fs::path older = file;
    older += ".1";
    TDiagnosticLog log(Settings(file, 350));
    const auto line = [](char mark) { return std::string(100 - 30 - 2, mark); };
    for (const char mark : std::string("abc")) {
        log << line(mark) << std::endl;
    }
    EXPECT_EQ(fs::file_size(file), 300u);
    EXPECT_FALSE(fs::exists(older));

    log << line('d') << std::endl;
    EXPECT_EQ(test::ReadAll(file), kStamp + line('d') + "\r\n");
    EXPECT_EQ(fs::file_size(older), 300u);
    EXPECT_NE(test::ReadAll(older).find(line('a')), std::string::npos);

    for (const char mark : std::string("efg")) {
        log << line(mark) << std::endl;
    }
    EXPECT_EQ(test::ReadAll(file), kStamp + line('g') + "\r\n");
    const std::string replaced = test::ReadAll(older);
    EXPECT_EQ(replaced.find(line('a')), std::string::npos);
    EXPECT_NE(replaced.find(line('d')), std::string::npos);
    EXPECT_NE(replaced.find(line('f')), std::string::npos);
    EXPECT_EQ(replaced.size(), 300u);
}

// The folder cannot be made where a file stands in its way: the program
// goes on, the echo hears every line and once that the file fails, and the
// file is tried again at each line.
TEST_F(DiagnosticLog, AFolderThatCannotBeMadeLeavesNoFileAndLosesNoEcho) {
    const fs::path obstacle = folder_.Path() / "data";
    std::ofstream(obstacle) << "a file, not a folder";
    const fs::path file = obstacle / "ORNET5" / "ORNET5.log";
    TDiagnosticLog log(Settings(file, kDiagnosticLogCapBytes));
    log << "first" << std::endl << "second" << std::endl;
    EXPECT_TRUE(log.good());
    EXPECT_FALSE(fs::exists(file));
    ASSERT_EQ(echoed_.size(), 3u);
    EXPECT_EQ(echoed_[0], std::string(kStamp) + "first");
    EXPECT_NE(echoed_[1].find("не пишется"), std::string::npos) << echoed_[1];
    EXPECT_EQ(echoed_[2], std::string(kStamp) + "second");

    fs::remove(obstacle);
    log << "third" << std::endl;
    EXPECT_EQ(test::ReadAll(file), std::string(kStamp) + "third\r\n");
}

}  // namespace
}  // namespace ornet5
