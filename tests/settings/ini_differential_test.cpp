// The INI layer against Windows' own profile functions (as Wine implements
// them), on generated files: every read must give what
// GetPrivateProfileStringA gives, and a write through the layer must mean
// what a write through WritePrivateProfileStringA means.
#include <windows.h>

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "settings/ini_profile.h"
#include "settings/ini_text.h"
#include "tests/support/temp_folder.h"

namespace ornet5 {
namespace {

namespace fs = std::filesystem;

// Marks a missing key: no generated value has it.
constexpr const char* kMissing = "<missing>";

// Names to read and write; letter case varies in the files' lines.
constexpr const char* kSections[] = {"S", "T", "U"};
constexpr const char* kKeys[] = {"A", "b", "C", "D", "E", "F", "G H", "Z"};

// Lines as people and programs write them: blanks and tabs around names
// and values, quotes, comments, letter case, repeated sections and keys.
// A section header always has its "]": Windows and the layer read a broken
// header differently, and neither program writes one.
const std::vector<std::string> kLinePool = {
    "[S]",    "[s]",       " [ S ] ", "[T]",    "\t[T]", "[U ]",      "A=1",   "a = x y ",
    "A=2",    "B=\"q r\"", "B='q'",   "C=\"x'", " D =",  "E=\t v \t", "F=a=b", "G H=1",
    "C=\"\"", "; A=9",     ";[U]",    "",       "   ",   "Z",         "b=3",
};

std::string WineRead(const fs::path& file, const char* section, const char* key) {
    char buffer[2048];
    const DWORD length = ::GetPrivateProfileStringA(section, key, kMissing, buffer, sizeof buffer,
                                                    file.string().c_str());
    return std::string(buffer, length);
}

std::string Printable(std::string_view bytes) {
    std::string text;
    for (const char c : bytes) {
        text += c == '\r'   ? std::string("\\r")
                : c == '\n' ? std::string("\\n\n")
                            : std::string(1, c);
    }
    return text;
}

// A file of random pool lines, each ending in LF, CR LF or a lone CR (one
// kind for the whole file, or mixed); the last line may have no end.
std::string GeneratedFile(std::mt19937& random) {
    const std::string lineEnds[] = {"\n", "\r\n", "\r"};
    const bool mixed = random() % 4 == 0;
    const std::string& fileLineEnd = lineEnds[random() % 3];
    const std::size_t lineCount = 1 + random() % 12;
    std::string content;
    for (std::size_t i = 0; i < lineCount; ++i) {
        content += kLinePool[random() % kLinePool.size()];
        if (i + 1 < lineCount || random() % 4 != 0) {
            content += mixed ? lineEnds[random() % 3] : fileLineEnd;
        }
    }
    return content;
}

// Each Wine profile read takes about a millisecond; this many files keep
// the test within seconds and still meet every kind of line many times.
constexpr int kFiles = 200;

TEST(IniDifferential, ReadsAndWritesAgreeWithTheWindowsProfileFunctions) {
    test::TTempFolder folder;
    std::mt19937 random(20261208);
    for (int fileIndex = 0; fileIndex < kFiles; ++fileIndex) {
        const std::string content = GeneratedFile(random);
        // Fresh names throughout, so Wine's profile cache never serves an
        // older file of the same name.
        const std::string stem = std::to_string(fileIndex);
        const fs::path original = folder.Path() / (stem + ".ini");
        const fs::path ours = folder.Path() / (stem + "-layer.ini");
        const fs::path windows = folder.Path() / (stem + "-windows.ini");
        for (const fs::path& file : {original, ours, windows}) {
            test::WriteAll(file, content);
        }
        SCOPED_TRACE("file:\n" + Printable(content));

        const char* section = kSections[random() % std::size(kSections)];
        const char* key = kKeys[random() % std::size(kKeys)];
        const std::string values[] = {"9", "x y", "", "'q'"};
        const std::string& value = values[random() % 4];
        ASSERT_TRUE(WriteProfileString(ours, section, key, value));
        ASSERT_TRUE(
            ::WritePrivateProfileStringA(section, key, value.c_str(), windows.string().c_str()));
        SCOPED_TRACE(std::string("wrote [") + section + "] " + key + "=" + value);

        const std::string oursWritten = test::ReadAll(ours);
        for (const char* probeSection : kSections) {
            for (const char* probeKey : kKeys) {
                const std::string expected = WineRead(original, probeSection, probeKey);
                ASSERT_EQ(ReadProfileString(original, probeSection, probeKey, kMissing), expected)
                    << "read [" << probeSection << "] " << probeKey;
                // Both written files must read the same, through either reader.
                const std::string written = WineRead(windows, probeSection, probeKey);
                ASSERT_EQ(WineRead(ours, probeSection, probeKey), written)
                    << "after the write, [" << probeSection << "] " << probeKey
                    << "\nlayer wrote:\n"
                    << Printable(oursWritten);
                ASSERT_EQ(FindProfileValue(oursWritten, probeSection, probeKey).value_or(kMissing),
                          written);
            }
        }
    }
}

}  // namespace
}  // namespace ornet5
