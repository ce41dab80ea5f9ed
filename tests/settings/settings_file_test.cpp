#include "settings/settings_file.h"

#include <gtest/gtest.h>

namespace ornet5 {
namespace {

TEST(SettingsFileName, ComesFromTheExecutablesNameWithItsExtensionReplaced) {
    EXPECT_EQ(IniFileNameForExecutable("/usr/local/bin/ORNET5"), "ORNET5.INI");
    EXPECT_EQ(IniFileNameForExecutable("ORNET5"), "ORNET5.INI");
    EXPECT_EQ(IniFileNameForExecutable("C/ornet5.exe"), "ornet5.INI");
    EXPECT_EQ(IniFileNameForExecutable("/opt/v1.2/monitor"), "monitor.INI");
    EXPECT_EQ(IniFileNameForExecutable("/opt/monitor.old.bin"), "monitor.old.INI");
}

TEST(SettingsFileFolder, IsTheXdgConfigFolderOrTheHomeConfigFolder) {
    EXPECT_EQ(ConfigFolder({"/x/cfg", "/home/u"}), "/x/cfg");
    EXPECT_EQ(ConfigFolder({std::nullopt, "/home/u"}), "/home/u/.config");
    // A relative XDG_CONFIG_HOME is not valid and is ignored.
    EXPECT_EQ(ConfigFolder({"cfg", "/home/u"}), "/home/u/.config");
    EXPECT_EQ(ConfigFolder({std::nullopt, std::nullopt}), ".");
}

}  // namespace
}  // namespace ornet5
