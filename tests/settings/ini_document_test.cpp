#include "settings/ini_document.h"

#include <gtest/gtest.h>

#include "settings/ini_text.h"

namespace ornet5 {
namespace {

// Line ends of every kind, a comment, blank lines, a quoted value, a key
// written twice and a section written twice.
constexpr std::string_view kContent =
    "; head\r\n[A]\rx = 1\n\r\n  [ B ] ; note\r\ny=\"two\"\ny=3\n[a]\nx=4\rz";

TEST(IniDocument, LinesAreNumberedAsEveryLineEndCounts) {
    const TIniDocument document = ReadIniDocument(kContent);
    ASSERT_EQ(document.sections.size(), 3u);
    EXPECT_EQ(document.sections[0].line, 2u);
    EXPECT_EQ(document.sections[0].keys.at(0).line, 3u);
    EXPECT_EQ(document.sections[1].line, 5u);
    EXPECT_EQ(document.sections[1].name, "B");
    EXPECT_EQ(document.sections[1].afterName, "; note");
    EXPECT_EQ(document.sections[1].keys.at(1).line, 7u);
    EXPECT_EQ(document.sections[2].keys.at(1).line, 10u);
    EXPECT_EQ(document.sections[2].keys.at(1).value, std::nullopt);
}

// The whole-file reader and the key-at-a-time reader share one reading of
// a line: the first key of the first section of a name reads alike.
TEST(IniDocument, FirstKeysReadAsTheProfileReadsThem) {
    const TIniDocument document = ReadIniDocument(kContent);
    const std::pair<std::size_t, const char*> firstKeys[] = {{0, "x"}, {1, "y"}};
    for (const auto& [index, key] : firstKeys) {
        const TIniSectionLines& section = document.sections[index];
        ASSERT_TRUE(section.keys.at(0).value);
        EXPECT_EQ(std::string(DropEnclosingQuotes(*section.keys.at(0).value)),
                  FindProfileValue(kContent, section.name, key));
    }
}

}  // namespace
}  // namespace ornet5
