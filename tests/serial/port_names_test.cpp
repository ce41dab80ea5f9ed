#include "serial/port_names.h"
#include "serial/posix_port_names.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace ornet5 {
namespace {

// An environment made of a few variables and a few existing files.
struct TFakeEnvironment {
    std::map<std::string, std::string> variables;
    std::set<std::string> files;

    TPortNameEnvironment Get() const {
        return TPortNameEnvironment{
            [this](const std::string& name) -> std::optional<std::string> {
                const auto found = variables.find(name);
                if (found == variables.end()) {
                    return std::nullopt;
                }
                return found->second;
            },
            [this](const std::string& path) { return files.count(path) > 0; }};
    }
};

TEST(PortNames, ComPortNamesAreFormedAndParsed) {
    EXPECT_EQ(ComPortName(1), R"(\\.\COM1)");
    EXPECT_EQ(ComPortName(16), R"(\\.\COM16)");
    EXPECT_EQ(ParseComPortName(R"(\\.\COM3)"), 3);
    EXPECT_EQ(ParseComPortName(R"(\\.\com12)"), 12);
    EXPECT_EQ(ParseComPortName(R"(\\.\COM016)"), 16);
}

TEST(PortNames, OtherTextsNameNoComPort) {
    for (const char* text :
         {"", "COM3", R"(\\.\COM)", R"(\\.\COM0)", R"(\\.\COM-1)", R"(\\.\COM 3)", R"(\\.\COM$10)",
          R"(\\.\COM3x)", R"(\\.\LPT1)", R"(\\.\COM99999999999)", "/dev/ttyUSB0"}) {
        EXPECT_FALSE(ParseComPortName(text).has_value()) << text;
    }
}

TEST(PortNames, ComPortPrefersTheLinkInTheConfigurationFolder) {
    TFakeEnvironment env;
    env.variables = {{"XDG_CONFIG_HOME", "/cfg"}, {"HOME", "/home/u"}};
    env.files = {"/cfg/ornet5/com3"};
    EXPECT_EQ(ResolvePortName(R"(\\.\COM3)", env.Get()), "/cfg/ornet5/com3");
    EXPECT_EQ(ResolvePortName(R"(\\.\COM4)", env.Get()), "/dev/ttyS3");
}

TEST(PortNames, ConfigurationFolderDefaultsToDotConfigInHome) {
    TFakeEnvironment env;
    env.variables = {{"HOME", "/home/u"}};
    env.files = {"/home/u/.config/ornet5/com1"};
    EXPECT_EQ(ResolvePortName(R"(\\.\COM1)", env.Get()), "/home/u/.config/ornet5/com1");

    env.variables["XDG_CONFIG_HOME"] = "relative/dir";  // ignored, as if unset
    EXPECT_EQ(ResolvePortName(R"(\\.\COM1)", env.Get()), "/home/u/.config/ornet5/com1");
    env.variables["XDG_CONFIG_HOME"] = "";
    EXPECT_EQ(ResolvePortName(R"(\\.\COM1)", env.Get()), "/home/u/.config/ornet5/com1");
}

TEST(PortNames, WithoutLinkComPortIsTheSerialDevice) {
    TFakeEnvironment env;
    EXPECT_EQ(ResolvePortName(R"(\\.\COM1)", env.Get()), "/dev/ttyS0");
    EXPECT_EQ(ResolvePortName(R"(\\.\COM16)", env.Get()), "/dev/ttyS15");
}

TEST(PortNames, AnyOtherTextIsAPath) {
    TFakeEnvironment env;
    env.variables = {{"XDG_CONFIG_HOME", "/cfg"}};
    env.files = {"/cfg/ornet5/com3"};
    EXPECT_EQ(ResolvePortName("/dev/ttyUSB0", env.Get()), "/dev/ttyUSB0");
    EXPECT_EQ(ResolvePortName("COM3", env.Get()), "COM3");
    EXPECT_EQ(ResolvePortName(R"(\\.\COM0)", env.Get()), R"(\\.\COM0)");
}

}  // namespace
}  // namespace ornet5
