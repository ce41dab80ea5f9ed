#include "common/program_data_folder.h"

#include <gtest/gtest.h>

namespace ornet5 {
namespace {

TEST(ProgramDataFolder, HoldsTheJournalAndTheLog) {
    const std::filesystem::path data = "data";
    EXPECT_EQ(JournalFolder(data), data / "journal");
    EXPECT_EQ(DiagnosticLogFile(data), data / "ORNET5.log");
}

// The test runs with XDG_DATA_HOME=/xdg/data on Linux (see CMakeLists.txt);
// under Wine the prefix has a local application-data folder.
TEST(ProgramDataFolder, OfTheRunningProgram) {
    const auto folder = ProgramDataFolder();
    ASSERT_TRUE(folder);
#ifdef _WIN32
    EXPECT_EQ(folder->filename(), "ORNET5");
    EXPECT_EQ(folder->parent_path().filename(), "Local") << folder->string();
#else
    EXPECT_EQ(*folder, "/xdg/data/ornet5");
#endif
}

}  // namespace
}  // namespace ornet5
