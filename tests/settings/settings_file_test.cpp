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

TEST(WindowsSettingsFile, AWritableFileInTheWindowsDirectoryElseTheUsersOwnFolder) {
    using enum TWindowsSettingsChoice;
    struct TCase {
        TWindowsSettingsPlaces places;  // windows file exists, writable, user folder, user file
        TWindowsSettingsChoice choice;
    };
    const TCase cases[] = {
        {{false, false, true, false}, UserFile},
        {{false, false, true, true}, UserFile},
        {{true, true, true, false}, WindowsFile},
        {{true, true, true, true}, WindowsFile},
        // A standard user's case: the Windows directory is read-only.
        {{true, false, true, false}, UserFileCopiedFromWindowsFile},
        {{true, false, true, true}, UserFile},
        {{false, false, false, false}, WindowsFile},
        {{true, false, false, false}, WindowsFile},
    };
    for (const TCase& c : cases) {
        const TWindowsSettingsPlaces& p = c.places;
        EXPECT_EQ(ChooseWindowsSettingsFile(p), c.choice)
            << p.windowsFileExists << p.windowsFileWritable << p.userFolderKnown
            << p.userFileExists;
    }
}

}  // namespace
}  // namespace ornet5
