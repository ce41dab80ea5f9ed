// ORNET5.exe's log under Wine: why COM3 cannot be opened, once per reason.
// Nothing serves COM3 at first; then the test puts a file there
// (ORNET5_COM3_FILE, the prefix's dosdevices/com3) and holds it open
// without sharing, as another program holds a port.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "tests/win32/running_program.h"

namespace ornet5 {
namespace {

using namespace std::chrono_literals;
using namespace test;
namespace fs = std::filesystem;

std::vector<std::string> Lines(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    return lines;
}

// Rows of the journal: one per poll cycle, whatever its outcome.
std::size_t JournalRows() {
    std::size_t rows = 0;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(LocalDataFolder() / "journal", error)) {
        rows += Lines(entry.path()).size() - 1;  // without the header
    }
    return rows;
}

bool LogLineIs(const std::string& line, const std::string& reason) {
    static const std::regex stamp(
        "[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}\\.[0-9]{3}[+-][0-9]{2}:[0-9]{2} ");
    return std::regex_search(line, stamp, std::regex_constants::match_continuous) &&
           line.substr(30) == "ORNET5: порт \\\\.\\COM3 не открывается: " + reason + "\r";
}

TEST(Ornet5ExeLog, NamesEachReasonWhyCom3DoesNotOpenOnce) {
    const char* com3 = std::getenv("ORNET5_COM3_FILE");
    ASSERT_NE(com3, nullptr) << "ORNET5_COM3_FILE must name the prefix's dosdevices/com3";
    // Without the \\?\ prefix, Windows would take a file named com3 in
    // any folder for the device COM3 itself.
    const std::wstring com3File = L"\\\\?\\" + WindowsPath(com3);
    ASSERT_EQ(::GetFileAttributesW(com3File.c_str()), INVALID_FILE_ATTRIBUTES)
        << "something serves COM3 already";
    const fs::path log = LocalDataFolder() / "ORNET5.log";
    fs::remove(log);
    fs::remove_all(LocalDataFolder() / "journal");
    ::DeleteFileW(SettingsFile().c_str());

    TRunningProgram program;
    ASSERT_NE(program.face, nullptr);
    EXPECT_TRUE(WaitFor([] { return JournalRows() >= 3; }, 15s)) << JournalRows() << " polls";
    std::vector<std::string> lines = Lines(log);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(LogLineIs(lines[0], "устройство не найдено")) << lines[0];

    // Deleted when the test lets it go, so that no plain file is ever left
    // at COM3 for the program to open.
    HANDLE holder = ::CreateFileW(com3File.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE) << ::GetLastError();
    EXPECT_TRUE(WaitFor([&] { return Lines(log).size() >= 2; }, 10s));
    ::CloseHandle(holder);
    lines = Lines(log);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_TRUE(LogLineIs(lines[1], "порт занят другой программой")) << lines[1];

    EXPECT_TRUE(WaitFor([&] { return Lines(log).size() >= 3; }, 10s));
    EXPECT_EQ(program.Close(), 0u);
    lines = Lines(log);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(LogLineIs(lines[2], "устройство не найдено")) << lines[2];
}

}  // namespace
}  // namespace ornet5
