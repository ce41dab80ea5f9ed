#include "settings/ini_text.h"

#include <gtest/gtest.h>

namespace ornet5 {
namespace {

constexpr std::string_view kSample =
    "; settings of two windows\r\n"
    "[Other]\r\n"
    "Speed=1\r\n"
    "\r\n"
    "[TTrelanADCFace]\r\n"
    "  FormVersion  =  0  \r\n"
    ";Flags=7\r\n"
    "NormPos=1,2,3,4\r\n"
    "\r\n"
    "[Last]\r\n"
    "Key=last\r\n";

TEST(IniTextRead, NamesMatchWithoutLetterCaseAndBlanksDoNotCount) {
    EXPECT_EQ(FindProfileValue(kSample, "ttrelanadcface", "FORMVERSION"), "0");
    EXPECT_EQ(FindProfileValue(kSample, "TTrelanADCFace", "normpos"), "1,2,3,4");
    EXPECT_EQ(FindProfileValue("[ S ]\n  k\t=\tv w \t\n", "S", "K"), "v w");
}

TEST(IniTextRead, KeysOfOtherSectionsCommentsAndMissingNamesAreNotFound) {
    EXPECT_EQ(FindProfileValue(kSample, "TTrelanADCFace", "Speed"), std::nullopt);
    EXPECT_EQ(FindProfileValue(kSample, "TTrelanADCFace", "Flags"), std::nullopt);
    EXPECT_EQ(FindProfileValue(kSample, "Missing", "Key"), std::nullopt);
    EXPECT_EQ(FindProfileValue(kSample, "Other", "Key"), std::nullopt);
    EXPECT_EQ(FindProfileValue("", "Other", "Speed"), std::nullopt);
    EXPECT_EQ(FindProfileValue("Speed=1\n", "Other", "Speed"), std::nullopt);
}

TEST(IniTextRead, LineEndsMayBeLfOrCrLfAndTheLastLineNeedsNone) {
    EXPECT_EQ(FindProfileValue("[S]\nA=1\nB=2", "S", "B"), "2");
    EXPECT_EQ(FindProfileValue("[S]\r\nA=1\r\nB=2\r\n", "S", "A"), "1");
    EXPECT_EQ(FindProfileValue("[S]\r\nA=1\nB=2\r\n", "S", "B"), "2");
}

// A file saved with CR-only line ends, or whose last line ends in a lone
// CR, must not lose its keys.
TEST(IniTextRead, ALoneCrEndsALine) {
    EXPECT_EQ(FindProfileValue("[S]\rA=1\rB=2\r", "S", "A"), "1");
    EXPECT_EQ(FindProfileValue("[S]\rA=1\rB=2\r", "S", "B"), "2");
    EXPECT_EQ(FindProfileValue("[S]\r\nA=1\r", "S", "A"), "1");
    EXPECT_EQ(FindProfileValue("[T]\rA=1\r[S]\rB=2", "S", "A"), std::nullopt);
}

TEST(IniTextRead, FirstOfTwoSectionsOrKeysCounts) {
    EXPECT_EQ(FindProfileValue("[S]\nA=1\nA=2\n", "S", "A"), "1");
    EXPECT_EQ(FindProfileValue("[S]\nA=1\n[s]\nA=2\nB=3\n", "S", "A"), "1");
    EXPECT_EQ(FindProfileValue("[S]\nA=1\n[s]\nA=2\nB=3\n", "S", "B"), std::nullopt);
}

TEST(IniTextRead, OneEnclosingPairOfMatchingQuotesIsDropped) {
    EXPECT_EQ(FindProfileValue("[S]\nA=\"x y\"\n", "S", "A"), "x y");
    EXPECT_EQ(FindProfileValue("[S]\nA='x'\n", "S", "A"), "x");
    EXPECT_EQ(FindProfileValue("[S]\nA=\"\"x\"\"\n", "S", "A"), "\"x\"");
    EXPECT_EQ(FindProfileValue("[S]\nA=\"x'\n", "S", "A"), "\"x'");
    EXPECT_EQ(FindProfileValue("[S]\nA=\"\n", "S", "A"), "\"");
    EXPECT_EQ(FindProfileValue("[S]\nA=\"\"\n", "S", "A"), "");
}

TEST(IniTextRead, ValuesAreCutToTheLimitAndAtAZeroByte) {
    const std::string longValue(5000, 'x');
    const std::string content = "[S]\nA=" + longValue + "\n";
    const auto value = FindProfileValue(content, "S", "A");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->size(), kMaxProfileValueLength);
    EXPECT_EQ(FindProfileValue(std::string("[S]\nA=1\0002\n", 10), "S", "A"), "1");
}

TEST(IniTextWrite, ChangesOnlyTheKeysLine) {
    const std::string written = SetProfileValue(kSample, "ttrelanadcface", "formversion", "5");
    std::string expected(kSample);
    expected.replace(expected.find("  FormVersion"),
                     std::string_view("  FormVersion  =  0  ").size(), "formversion=5");
    EXPECT_EQ(written, expected);
    EXPECT_EQ(FindProfileValue(written, "TTrelanADCFace", "FormVersion"), "5");
}

TEST(IniTextWrite, NewKeyFollowsTheSectionsLastLineBeforeTheBlankLine) {
    const std::string written = SetProfileValue(kSample, "TTrelanADCFace", "Visible", "0");
    std::string expected(kSample);
    expected.insert(expected.find("NormPos=1,2,3,4\r\n") + 17, "Visible=0\r\n");
    EXPECT_EQ(written, expected);
}

TEST(IniTextWrite, NewSectionIsAddedAtTheEndAfterABlankLine) {
    EXPECT_EQ(SetProfileValue("", "S", "A", "1"), "[S]\r\nA=1\r\n");
    EXPECT_EQ(SetProfileValue("[T]\nB=2", "S", "A", "1"), "[T]\nB=2\r\n\r\n[S]\r\nA=1\r\n");
    EXPECT_EQ(SetProfileValue("[T]\nB=2\n\n", "S", "A", "1"), "[T]\nB=2\n\n[S]\r\nA=1\r\n");
}

TEST(IniTextWrite, LfLinesKeepTheirEndsAndALastLineWithoutEndGetsOne) {
    EXPECT_EQ(SetProfileValue("[S]\nA=1\nB=2\n", "S", "A", "9"), "[S]\nA=9\r\nB=2\n");
    EXPECT_EQ(SetProfileValue("[S]\nA=1", "S", "B", "2"), "[S]\nA=1\r\nB=2\r\n");
    EXPECT_EQ(SetProfileValue("[S]", "S", "B", "2"), "[S]\r\nB=2\r\n");
}

TEST(IniTextWrite, CrOnlyFilesGetCrLinesAndALoneCrEndsTheLineBeforeAnAddedOne) {
    EXPECT_EQ(SetProfileValue("[S]\rA=1\r", "S", "B", "2"), "[S]\rA=1\rB=2\r");
    EXPECT_EQ(SetProfileValue("[S]\rA=1\rB=3\r", "S", "A", "2"), "[S]\rA=2\rB=3\r");
    EXPECT_EQ(SetProfileValue("[T]\rA=1", "S", "B", "2"), "[T]\rA=1\r\r[S]\rB=2\r");
    EXPECT_EQ(SetProfileValue("[S]\r\nA=1\r", "S", "B", "2"), "[S]\r\nA=1\rB=2\r\n");
    EXPECT_EQ(SetProfileValue("[T]\nA=1\r", "S", "B", "2"), "[T]\nA=1\r\r\n[S]\r\nB=2\r\n");
}

// Windows reads a line without "=" as a key without a value: its default is
// read, and it hides a later line of the same key.
TEST(IniTextWrite, ALineWithoutEqualsSignIsTheKeysLine) {
    EXPECT_EQ(FindProfileValue("[S]\nZ\nZ=1\n", "S", "Z"), std::nullopt);
    EXPECT_EQ(SetProfileValue("[S]\n Z \nA=1\n", "S", "z", "2"), "[S]\nz=2\r\nA=1\n");
}

TEST(IniTextWrite, RepeatedWritesOfOneKeyKeepOneLine) {
    std::string content;
    for (int i = 0; i < 3; ++i) {
        content = SetProfileValue(content, "S", "Key", std::to_string(i));
        content = SetProfileValue(content, "s", "KEY", std::to_string(i));
    }
    EXPECT_EQ(content, "[S]\r\nKEY=2\r\n");
}

TEST(IniTextWrite, EntriesThatWouldBreakTheLineStructureAreRefused) {
    EXPECT_TRUE(IsWritableProfileEntry("S", "Key", "a value; with = and [x]"));
    EXPECT_TRUE(IsWritableProfileEntry("S", "Key", ""));
    EXPECT_FALSE(IsWritableProfileEntry("S", "Key", "a\r\nB=1"));
    EXPECT_FALSE(IsWritableProfileEntry("S", "Key", std::string_view("a\0b", 3)));
    EXPECT_FALSE(IsWritableProfileEntry("S", "K=ey", "1"));
    EXPECT_FALSE(IsWritableProfileEntry("S", " ", "1"));
    EXPECT_FALSE(IsWritableProfileEntry("S", ";Key", "1"));
    EXPECT_FALSE(IsWritableProfileEntry("S", "[Key", "1"));
    EXPECT_FALSE(IsWritableProfileEntry("S]", "Key", "1"));
    EXPECT_FALSE(IsWritableProfileEntry("", "Key", "1"));
    EXPECT_FALSE(IsWritableProfileEntry("S\n", "Key", "1"));
}

}  // namespace
}  // namespace ornet5
