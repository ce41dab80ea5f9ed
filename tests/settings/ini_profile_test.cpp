#include "settings/ini_profile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "settings/atomic_file.h"
#include "settings/ini_file.h"
#include "settings/ini_text.h"
#include "tests/support/temp_folder.h"

namespace ornet5 {
namespace {

namespace fs = std::filesystem;
using test::ReadAll;
using test::TTempFolder;
using test::WriteAll;

std::vector<std::string> FolderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(IniProfileFile, MissingFileGivesTheDefaultCutToTheValueLimit) {
    TTempFolder folder;
    const fs::path file = folder.Path() / "ORNET5.INI";
    EXPECT_EQ(ReadProfileString(file, "S", "A", "dflt"), "dflt");
    EXPECT_EQ(ReadProfileString(file, "S", "A", std::string(3000, 'd')).size(),
              kMaxProfileValueLength);
    EXPECT_EQ(ReadProfileString(folder.Path(), "S", "A", "dflt"), "dflt");
    EXPECT_FALSE(fs::exists(file));
}

TEST(IniProfileFile, WriteCreatesFolderFileSectionAndKeyWithCrLf) {
    TTempFolder folder;
    const fs::path file = folder.Path() / "config" / "ORNET5.INI";
    ASSERT_TRUE(WriteProfileString(file, "TTrelanADCFace", "FormVersion", "0"));
    ASSERT_TRUE(WriteProfileString(file, "TTrelanADCFace", "Flags", "0"));
    EXPECT_EQ(ReadAll(file), "[TTrelanADCFace]\r\nFormVersion=0\r\nFlags=0\r\n");
    EXPECT_EQ(ReadProfileString(file, "ttrelanadcface", "flags", "x"), "0");
    EXPECT_EQ(FolderEntries(file.parent_path()), std::vector<std::string>{"ORNET5.INI"});
}

TEST(IniProfileFile, WriteKeepsEveryOtherByteOfTheFile) {
    TTempFolder folder;
    const fs::path file = folder.Path() / "ORNET5.INI";
    const std::string before = "; mine\n[Other]\nA = 1 \n\n[TTrelanADCFace]\nFlags=3\n;note\n";
    WriteAll(file, before);
    ASSERT_TRUE(WriteProfileString(file, "TTrelanADCFace", "Flags", "0"));
    EXPECT_EQ(ReadAll(file), "; mine\n[Other]\nA = 1 \n\n[TTrelanADCFace]\nFlags=0\r\n;note\n");
}

TEST(IniProfileFile, RandomBytesAreReadAsNothingAndKeptByAWrite) {
    TTempFolder folder;
    const fs::path file = folder.Path() / "ORNET5.INI";
    std::mt19937 random(12345);
    std::string garbage(1 << 20, '\0');
    for (char& c : garbage) {
        c = static_cast<char>(random());
    }
    // No line of the garbage may happen to be the section header.
    garbage[0] = '\n';
    WriteAll(file, garbage);
    EXPECT_EQ(ReadProfileString(file, "TTrelanADCFace", "NormPos", "dflt"), "dflt");
    ASSERT_TRUE(WriteProfileString(file, "TTrelanADCFace", "NormPos", "1,2,3,4"));
    const std::string after = ReadAll(file);
    EXPECT_EQ(after.substr(0, garbage.size()), garbage);
    EXPECT_EQ(ReadProfileString(file, "TTrelanADCFace", "NormPos", "dflt"), "1,2,3,4");
}

TEST(IniProfileFile, OneHugeLineIsReadAndCut) {
    TTempFolder folder;
    const fs::path file = folder.Path() / "ORNET5.INI";
    WriteAll(file, "[S]\nA=" + std::string(4 << 20, '7'));
    EXPECT_EQ(ReadProfileString(file, "S", "A", "").size(), kMaxProfileValueLength);
    ASSERT_TRUE(WriteProfileString(file, "S", "B", "2"));
    EXPECT_EQ(ReadProfileString(file, "S", "B", ""), "2");
}

TEST(IniProfileFile, WriteFailsWhereNoFileCanBeMadeAndLeavesNothingBehind) {
    TTempFolder folder;
    // Even root cannot make a file below a regular file or replace a folder.
    const fs::path plainFile = folder.Path() / "plain";
    WriteAll(plainFile, "x");
    EXPECT_FALSE(WriteProfileString(plainFile / "ORNET5.INI", "S", "A", "1"));
    const fs::path folderInTheWay = folder.Path() / "ORNET5.INI";
    fs::create_directory(folderInTheWay);
    EXPECT_FALSE(WriteProfileString(folderInTheWay, "S", "A", "1"));
    EXPECT_TRUE(fs::is_directory(folderInTheWay));
    EXPECT_EQ(ReadAll(plainFile), "x");
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"ORNET5.INI", "plain"}));
}

TEST(IniProfileFile, RefusedEntryLeavesTheFileAlone) {
    TTempFolder folder;
    const fs::path file = folder.Path() / "ORNET5.INI";
    WriteAll(file, "[S]\nA=1\n");
    EXPECT_FALSE(WriteProfileString(file, "S", "A", "2\n[T]"));
    EXPECT_EQ(ReadAll(file), "[S]\nA=1\n");
}

TEST(IniProfileFile, OnlyStaleTemporaryFilesOfTheSameFileAreRemoved) {
    TTempFolder folder;
    const fs::path file = folder.Path() / "ORNET5.INI";
    const std::string prefix = TemporaryFilePrefix(file);
    const fs::path stale = folder.Path() / (prefix + "old");
    const fs::path recent = folder.Path() / (prefix + "new");
    const fs::path foreign = folder.Path() / ".OTHER.INI.tmp-old";
    for (const fs::path& path : {stale, recent, foreign}) {
        WriteAll(path, "partial");
    }
    const auto old =
        fs::file_time_type::clock::now() - kStaleTemporaryAge - std::chrono::minutes(1);
    fs::last_write_time(stale, old);
    fs::last_write_time(foreign, old);
    ASSERT_TRUE(WriteProfileString(file, "S", "A", "1"));
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(recent));
    EXPECT_TRUE(fs::exists(foreign));
}

TEST(IniFile, ValuesInQuotesComeBackUnchanged) {
    TTempFolder folder;
    TIniFile ini(folder.Path() / "ORNET5.INI", "ORNET5.INI");
    for (const std::string value : {"'x'", "\"a b\"", "\"", "'", "plain", ""}) {
        ini.WriteString("S", "A", value);
        EXPECT_EQ(ini.ReadString("S", "A", "dflt"), value);
    }
}

TEST(IniFile, IntegersReadByTheIntegerTextRulesElseTheDefault) {
    TTempFolder folder;
    TIniFile ini(folder.Path() / "ORNET5.INI", "ORNET5.INI");
    EXPECT_EQ(ini.ReadInteger("S", "N", 42), 42);
    ini.WriteInteger("S", "N", -2147483647 - 1);
    EXPECT_EQ(ini.ReadInteger("S", "N", 42), -2147483647 - 1);
    const std::pair<const char*, int> cases[] = {
        {"$1F", 31}, {" -0x10", -16}, {"", 42}, {"1 2", 42}, {"4294967296", 42}};
    for (const auto& [text, expected] : cases) {
        ini.WriteString("S", "N", text);
        EXPECT_EQ(ini.ReadInteger("S", "N", 42), expected) << text;
    }
}

TEST(IniFile, AFailedWriteRaisesWithTheFilesShownName) {
    TTempFolder folder;
    fs::create_directory(folder.Path() / "ORNET5.INI");
    TIniFile ini(folder.Path() / "ORNET5.INI", "ORNET5.INI");
    try {
        ini.WriteString("S", "A", "1");
        FAIL() << "no error";
    } catch (const EIniFileError& error) {
        EXPECT_STREQ(error.what(), "Unable to write to ORNET5.INI");
    }
}

}  // namespace
}  // namespace ornet5
