#include "common/config_home.h"

#include <gtest/gtest.h>

namespace ornet5 {
namespace {

TEST(ConfigHome, AbsoluteXdgFolderFirstThenTheHomeConfigFolder) {
    EXPECT_EQ(ConfigHome("/x/cfg", "/home/u"), "/x/cfg");
    EXPECT_EQ(ConfigHome(std::nullopt, "/home/u"), "/home/u/.config");
    // A relative or empty XDG_CONFIG_HOME is not a folder to use.
    EXPECT_EQ(ConfigHome("cfg", "/home/u"), "/home/u/.config");
    EXPECT_EQ(ConfigHome("", "/home/u"), "/home/u/.config");
    EXPECT_EQ(ConfigHome(std::nullopt, ""), std::nullopt);
    EXPECT_EQ(ConfigHome("rel", std::nullopt), std::nullopt);
}

}  // namespace
}  // namespace ornet5
