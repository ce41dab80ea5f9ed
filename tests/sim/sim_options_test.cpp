#include "tools/ornet5-sim/sim_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ornet5 {
namespace {

using namespace std::chrono_literals;

const TSimEnvironment kEnvironment{.xdgConfigHome = "/cfg", .home = "/home/u"};

TOptionsResult Parse(std::vector<std::string_view> args,
                     const TSimEnvironment& environment = kEnvironment) {
    return ParseSimOptions(args, environment);
}

TSimOptions Good(std::vector<std::string_view> args) {
    const TOptionsResult result = Parse(std::move(args));
    if (const auto* error = std::get_if<TOptionsError>(&result)) {
        ADD_FAILURE() << error->message;
        return {};
    }
    return std::get<TSimOptions>(result);
}

TEST(SimOptions, Defaults) {
    const TSimOptions options = Good({});
    EXPECT_EQ(options.linkPath, "/cfg/ornet5/com3");
    EXPECT_EQ(options.address, std::string("\x04\x02\x1F", 3));
    EXPECT_FALSE(options.fixedWord);
    EXPECT_FALSE(options.randomStart);
    EXPECT_FALSE(options.silent || options.badHeaderChecksum || options.badDataChecksum ||
                 options.split || options.help);
    EXPECT_EQ(options.late, 0ms);
    EXPECT_GT(options.splitPause, 200ms) << "the monitor must see two reads";
}

TEST(SimOptions, DefaultLinkFollowsTheConfigurationFolder) {
    const auto linkFor = [](const TSimEnvironment& environment) {
        const TOptionsResult result = Parse({}, environment);
        return std::holds_alternative<TSimOptions>(result)
                   ? std::get<TSimOptions>(result).linkPath
                   : "error: " + std::get<TOptionsError>(result).message;
    };
    EXPECT_EQ(linkFor({.xdgConfigHome = std::nullopt, .home = "/home/u"}),
              "/home/u/.config/ornet5/com3");
    // A relative or empty folder is not a configuration folder.
    EXPECT_EQ(linkFor({.xdgConfigHome = "", .home = "/home/u"}), "/home/u/.config/ornet5/com3");
    EXPECT_EQ(linkFor({.xdgConfigHome = "rel", .home = "/home/u"}), "/home/u/.config/ornet5/com3");
    EXPECT_TRUE(linkFor({}).starts_with("error: "));
    EXPECT_TRUE(std::holds_alternative<TSimOptions>(Parse({"--link", "/x"}, {})));
}

TEST(SimOptions, EveryOptionTakesEffect) {
    const TSimOptions options =
        Good({"--link", "/tmp/port", "--address", "7.8.9", "--reading", "0.123", "--random-start",
              "42", "--silent", "--bad-header-checksum", "--bad-data-checksum", "--split",
              "--split-pause", "500", "--late=250"});
    EXPECT_EQ(options.linkPath, "/tmp/port");
    EXPECT_EQ(options.addressText, "7.8.9");
    EXPECT_EQ(options.address, std::string("\x07\x08\x09", 3));
    EXPECT_EQ(options.fixedWord, 0xFC7B);
    EXPECT_EQ(options.randomStart, 42u);
    EXPECT_TRUE(options.silent && options.badHeaderChecksum && options.badDataChecksum &&
                options.split);
    EXPECT_EQ(options.splitPause, 500ms);
    EXPECT_EQ(options.late, 250ms);
}

TEST(SimOptions, WordIsHexadecimalWithOrWithoutPrefix) {
    EXPECT_EQ(Good({"--word", "FC7B"}).fixedWord, 0xFC7B);
    EXPECT_EQ(Good({"--word", "0x10"}).fixedWord, 0x10);
    EXPECT_EQ(Good({"--word", "$ffff"}).fixedWord, 0xFFFF);
    EXPECT_EQ(Good({"--word=0"}).fixedWord, 0);
}

TEST(SimOptions, HelpNeedsNoLinkFolder) {
    const TOptionsResult result = Parse({"--help"}, {});
    ASSERT_TRUE(std::holds_alternative<TSimOptions>(result));
    EXPECT_TRUE(std::get<TSimOptions>(result).help);
}

TEST(SimOptions, BadInputIsRejectedWithAMessageNamingIt) {
    const std::vector<std::pair<std::vector<std::string_view>, std::string>> cases = {
        {{"--address", "1.2"}, "--address"},
        {{"--address", "a.b.c"}, "--address"},
        {{"--reading", "-1"}, "--reading"},
        {{"--reading", "abc"}, "--reading"},
        {{"--reading", "0.1x"}, "--reading"},
        {{"--reading", "nan"}, "--reading"},
        {{"--reading", "1e40"}, "--reading"},
        {{"--reading", ""}, "--reading"},
        {{"--word", "10000"}, "--word"},
        {{"--word", "zz"}, "--word"},
        {{"--word", "-1"}, "--word"},
        {{"--word", ""}, "--word"},
        {{"--late", "-5"}, "--late"},
        {{"--late", "soon"}, "--late"},
        {{"--split-pause", "999999999"}, "--split-pause"},
        {{"--random-start", "-1"}, "--random-start"},
        {{"--link", ""}, "--link"},
        {{"--late"}, "--late"},
        {{"--bogus"}, "--bogus"},
        {{"com3"}, "com3"},
        {{"--silent=yes"}, "--silent"},
        {{"--reading", "1", "--word", "7B"}, "--word"},
    };
    for (const auto& [args, named] : cases) {
        const TOptionsResult result = Parse(args);
        ASSERT_TRUE(std::holds_alternative<TOptionsError>(result)) << args.front();
        const std::string& message = std::get<TOptionsError>(result).message;
        EXPECT_NE(message.find(named), std::string::npos) << message;
    }
}

TEST(SimOptions, HelpListsEveryOption) {
    const std::string help = SimHelpText();
    for (const char* name :
         {"--link", "--address", "--reading", "--word", "--random-start", "--silent",
          "--bad-header-checksum", "--bad-data-checksum", "--split ", "--split-pause", "--late",
          "--help", "XDG_CONFIG_HOME", "4.2.31", "SIGTERM", "ready"}) {
        EXPECT_NE(help.find(name), std::string::npos) << name;
    }
    // Every option the help names is accepted.
    for (std::size_t at = help.find("  --"); at != std::string::npos;
         at = help.find("  --", at + 1)) {
        const std::size_t end = help.find_first_of(" =\n", at + 2);
        const std::string name = help.substr(at + 2, end - at - 2);
        const TOptionsResult result = Parse({name});
        if (const auto* error = std::get_if<TOptionsError>(&result)) {
            EXPECT_EQ(error->message.find("unknown"), std::string::npos) << name;
        }
    }
}

}  // namespace
}  // namespace ornet5
