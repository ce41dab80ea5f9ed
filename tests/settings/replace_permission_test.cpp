// Whether a save may replace an existing settings file is decided by the
// write bit of the class that applies to the program, root included.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "settings/atomic_file.h"
#include "tests/support/temp_folder.h"

namespace ornet5 {
namespace {

namespace fs = std::filesystem;

TEST(ReplacePermission, OnlyTheWriteBitOfTheClassThatAppliesCounts) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "giving the file to another owner needs root";
    }
    const uid_t stranger = 54321;
    const gid_t strangersGroup = 54321;
    struct TCase {
        uid_t owner;
        gid_t group;
        mode_t mode;
        bool replaced;
    };
    const TCase cases[] = {
        {0, strangersGroup, 0644, true},        {0, strangersGroup, 0466, false},
        {stranger, ::getegid(), 0464, true},    {stranger, ::getegid(), 0646, false},
        {stranger, strangersGroup, 0446, true}, {stranger, strangersGroup, 0664, false},
    };
    test::TTempFolder folder;
    const fs::path file = folder.Path() / "ORNET5.INI";
    for (const TCase& c : cases) {
        test::WriteAll(file, "old");
        ASSERT_EQ(::chown(file.c_str(), c.owner, c.group), 0);
        ASSERT_EQ(::chmod(file.c_str(), c.mode), 0);
        EXPECT_EQ(ReplaceFileBytes(file, "new"), c.replaced) << std::oct << c.mode;
        EXPECT_EQ(test::ReadAll(file), c.replaced ? "new" : "old") << std::oct << c.mode;
    }
}

}  // namespace
}  // namespace ornet5
