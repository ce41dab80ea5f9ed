#include <sys/stat.h>

#include <gtest/gtest.h>

#include "settings/ini_profile.h"
#include "settings/settings_file.h"
#include "tests/support/temp_folder.h"

// The settings file's cases that need POSIX links, pipes, devices and the
// XDG folders.

namespace ornet5 {
namespace {

namespace fs = std::filesystem;
using test::ReadAll;
using test::TTempFolder;
using test::WriteAll;

TEST(IniProfileFile, WriteFollowsALinkToTheFile) {
    TTempFolder folder;
    const fs::path real = folder.Path() / "real.ini";
    const fs::path link = folder.Path() / "ORNET5.INI";
    WriteAll(real, "[S]\nA=1\n");
    fs::create_symlink(real, link);
    ASSERT_TRUE(WriteProfileString(link, "S", "A", "2"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadAll(real), "[S]\nA=2\r\n");
}

TEST(IniProfileFile, OnlyARegularFileIsReadOrReplaced) {
    TTempFolder folder;
    // A pipe nobody writes to would block a read for ever, /dev/zero would
    // never end.
    const fs::path pipe = folder.Path() / "ORNET5.INI";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(ReadProfileString(pipe, "S", "A", "dflt"), "dflt");
    EXPECT_FALSE(WriteProfileString(pipe, "S", "A", "1"));
    EXPECT_TRUE(fs::is_fifo(pipe));
    const fs::path zero = folder.Path() / "zero.ini";
    fs::create_symlink("/dev/zero", zero);
    EXPECT_EQ(ReadProfileString(zero, "S", "A", "dflt"), "dflt");
    EXPECT_FALSE(WriteProfileString(zero, "S", "A", "1"));
}

TEST(SettingsFileFolder, TheRunningProgramUsesItsEnvironment) {
    // The test's ENVIRONMENT sets XDG_CONFIG_HOME to /nonexistent/cfg.
    const TSettingsFileLocation location = ProgramSettingsFile();
    EXPECT_EQ(location.name, "ornet5_posix_settings_file_test.INI");
    EXPECT_EQ(location.path, "/nonexistent/cfg/ornet5_posix_settings_file_test.INI");
}

}  // namespace
}  // namespace ornet5
