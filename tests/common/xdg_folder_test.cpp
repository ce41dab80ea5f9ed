#include "common/xdg_folder.h"

#include <gtest/gtest.h>

#include "common/config_home.h"
#include "common/program_data_folder.h"

namespace ornet5 {
namespace {

TEST(XdgFolders, AbsoluteVariableFirstThenTheFolderUnderHome) {
    EXPECT_EQ(XdgBaseFolder("/x/cfg", "/home/u", ".config"), "/x/cfg");
    EXPECT_EQ(XdgBaseFolder(std::nullopt, "/home/u", ".config"), "/home/u/.config");
    // A relative or empty variable is not a folder to use.
    EXPECT_EQ(XdgBaseFolder("cfg", "/home/u", ".config"), "/home/u/.config");
    EXPECT_EQ(XdgBaseFolder("", "/home/u", ".config"), "/home/u/.config");
    EXPECT_EQ(XdgBaseFolder(std::nullopt, "", ".config"), std::nullopt);
    EXPECT_EQ(XdgBaseFolder("rel", std::nullopt, ".config"), std::nullopt);
}

TEST(XdgFolders, TheConfigurationAndTheProgramsDataFolder) {
    EXPECT_EQ(ConfigHome("/x/cfg", "/home/u"), "/x/cfg");
    EXPECT_EQ(ConfigHome("cfg", "/home/u"), "/home/u/.config");
    EXPECT_EQ(XdgProgramDataFolder("/x/data", "/home/u"), "/x/data/ornet5");
    EXPECT_EQ(XdgProgramDataFolder("data", "/home/u"), "/home/u/.local/share/ornet5");
    EXPECT_EQ(XdgProgramDataFolder("", std::nullopt), std::nullopt);
}

}  // namespace
}  // namespace ornet5
