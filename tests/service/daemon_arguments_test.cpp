#include "service/daemon_arguments.h"

#include <gtest/gtest.h>

#include <vector>

namespace ornet5 {
namespace {

TDaemonArguments Parse(std::vector<const char*> arguments) {
    return ParseDaemonArguments(arguments);
}

TEST(DaemonArguments, OptionsInAnyOrderAndTheirDefaults) {
    EXPECT_EQ(Parse({}), TDaemonArguments{});
    EXPECT_EQ(Parse({"--check", "--config", "/a.conf"}),
              (TDaemonArguments{"/a.conf", true, false}));
    EXPECT_EQ(Parse({"--config=/b.conf", "--help"}), (TDaemonArguments{"/b.conf", false, true}));
}

TEST(DaemonArguments, ABadCommandLineIsAUsageError) {
    const std::vector<std::vector<const char*>> badLines = {{"--config"},
                                                            {"--config="},
                                                            {"--check", "--check"},
                                                            {"--config", "a", "--config=b"},
                                                            {"/etc/ornet5/ornet5d.conf"},
                                                            {"-c"},
                                                            {"--configx"},
                                                            {""}};
    for (const auto& line : badLines) {
        SCOPED_TRACE(testing::PrintToString(line));
        EXPECT_THROW(Parse(line), EUsageError);
    }
}

}  // namespace
}  // namespace ornet5
