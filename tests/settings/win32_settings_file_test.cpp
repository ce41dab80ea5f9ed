// Where the Windows edition keeps its settings file, on the real folders of
// the Wine prefix: the Windows directory where a writable file exists there,
// else the user's application-data folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "settings/atomic_file.h"
#include "settings/ini_file.h"
#include "settings/settings_file.h"
#include "tests/support/temp_folder.h"

namespace ornet5 {
namespace {

namespace fs = std::filesystem;

// The test program's own settings file name, as the program's is ORNET5.INI.
constexpr const char* kName = "ornet5_win32_settings_file_test.INI";

fs::path FolderFromEnvironment(const wchar_t* variable) {
    const wchar_t* value = _wgetenv(variable);
    return value == nullptr ? fs::path() : fs::path(value);
}

void SetReadOnly(const fs::path& file, bool readOnly) {
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(),
                                     readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL));
}

class WindowsSettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(windowsFile_.parent_path().empty());
        ASSERT_FALSE(userFile_.parent_path().empty());
        RemoveBoth();
    }
    void TearDown() override { RemoveBoth(); }

    void RemoveBoth() {
        for (const fs::path& file : {windowsFile_, userFile_}) {
            ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            std::error_code error;
            fs::remove(file, error);
        }
    }

    const fs::path windowsFile_ = FolderFromEnvironment(L"windir") / kName;
    const fs::path userFile_ = FolderFromEnvironment(L"APPDATA") / kName;
};

TEST_F(WindowsSettingsFileTest, WithoutAnyFileTheUsersFolderGetsItAtTheFirstSave) {
    const TSettingsFileLocation location = ProgramSettingsFile();
    EXPECT_EQ(location.name, kName);
    EXPECT_TRUE(fs::equivalent(location.path.parent_path(), userFile_.parent_path()));
    EXPECT_EQ(location.path.filename(), kName);
    EXPECT_FALSE(fs::exists(userFile_)) << "nothing is written before a save";
    EXPECT_FALSE(fs::exists(windowsFile_));
}

TEST_F(WindowsSettingsFileTest, AWritableFileInTheWindowsDirectoryIsReadAndWritten) {
    test::WriteAll(windowsFile_, "[S]\r\nA=1\r\n");
    test::WriteAll(userFile_, "[S]\r\nA=2\r\n");
    const TSettingsFileLocation location = ProgramSettingsFile();
    TIniFile ini(location.path, location.name);
    EXPECT_EQ(ini.ReadString("S", "A", ""), "1");
    ini.WriteString("S", "A", "3");
    EXPECT_EQ(test::ReadAll(windowsFile_), "[S]\r\nA=3\r\n");
    EXPECT_EQ(test::ReadAll(userFile_), "[S]\r\nA=2\r\n");
}

// A standard user's case on Windows: the Windows directory's file may not
// be written. Wine grants root every write, so a read-only file plays it.
TEST_F(WindowsSettingsFileTest, AReadOnlyWindowsFileIsCopiedToTheUsersFolderAndLeftAlone) {
    test::WriteAll(windowsFile_, "[S]\r\nA=1\r\n");
    SetReadOnly(windowsFile_, true);
    const TSettingsFileLocation location = ProgramSettingsFile();
    EXPECT_TRUE(fs::equivalent(location.path, userFile_));
    TIniFile ini(location.path, location.name);
    EXPECT_EQ(ini.ReadString("S", "A", ""), "1");
    ini.WriteString("S", "A", "3");
    EXPECT_EQ(test::ReadAll(windowsFile_), "[S]\r\nA=1\r\n");
    EXPECT_EQ(ProgramSettingsFile().path, location.path) << "the copy is used from then on";
    EXPECT_EQ(TIniFile(ProgramSettingsFile().path, kName).ReadString("S", "A", ""), "3");
}

TEST_F(WindowsSettingsFileTest, ASaveNeverReplacesAReadOnlyFile) {
    test::WriteAll(windowsFile_, "[S]\r\nA=1\r\n");
    SetReadOnly(windowsFile_, true);
    EXPECT_FALSE(ReplaceFileBytes(windowsFile_, "[S]\r\nA=2\r\n"));
    EXPECT_EQ(test::ReadAll(windowsFile_), "[S]\r\nA=1\r\n");
    const auto entries =
        std::distance(fs::directory_iterator(windowsFile_.parent_path()), fs::directory_iterator());
    SetReadOnly(windowsFile_, false);
    EXPECT_TRUE(ReplaceFileBytes(windowsFile_, "[S]\r\nA=2\r\n"));
    EXPECT_EQ(test::ReadAll(windowsFile_), "[S]\r\nA=2\r\n");
    EXPECT_EQ(
        std::distance(fs::directory_iterator(windowsFile_.parent_path()), fs::directory_iterator()),
        entries)
        << "no temporary file is left behind";
}

}  // namespace
}  // namespace ornet5
