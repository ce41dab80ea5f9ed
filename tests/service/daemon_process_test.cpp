// ornet5d as the service manager runs it: a bad configuration ends it with
// the status on which the unit does not restart, and SIGTERM (or SIGINT,
// from a terminal) ends it cleanly and soon.
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "service/daemon_arguments.h"
#include "tests/service/service_rig.h"
#include "tests/support/temp_folder.h"

namespace ornet5::test {
namespace {

using namespace std::chrono_literals;

TEST(DaemonProcessTest, ABadFileEndsItWithStatus78AndALineNamingFileLineAndKeyAlsoUnderCheck) {
    TServiceRig rig;
    const std::filesystem::path config =
        rig.WriteConfig("lab", "[Detector.roof]\nPort=COM1\nSpeed=fast\n");
    const std::string text = ReadAll(config);
    const auto line = std::count(text.begin(), text.begin() + text.find("Speed="), '\n') + 1;
    const std::string fault =
        config.string() + ":" + std::to_string(line) + ": [Detector.roof] Speed: ";
    for (const bool checkOnly : {false, true}) {
        std::vector<std::string> arguments{"--config", config.string()};
        if (checkOnly) {
            arguments.push_back("--check");
        }
        TChildProcess& daemon = rig.StartDaemon(arguments);
        const std::optional<int> status = daemon.WaitForExit(30s);
        ASSERT_TRUE(status && WIFEXITED(*status)) << daemon.Output();
        EXPECT_EQ(WEXITSTATUS(*status), kExitBadConfig) << daemon.Output();
        EXPECT_TRUE(daemon.Output().starts_with(fault)) << daemon.Output();
    }
}

TEST(DaemonProcessTest, SigtermOrSigintEndsARunningServiceWithStatusZeroWithinSeconds) {
    TServiceRig rig;
    rig.StartSimulator(1);
    // /metrics too, whose server is the slowest part to close.
    const std::filesystem::path config =
        rig.WriteConfig("lab", "[Detector.roof]\nPort=COM1\n", FreeLoopbackPort());
    for (const int signal : {SIGTERM, SIGINT}) {
        TChildProcess& daemon = rig.StartDaemon({"--config", config.string()});
        ASSERT_TRUE(daemon.WaitForOutput("ornet5d: polling", 30s)) << daemon.Output();

        const auto start = std::chrono::steady_clock::now();
        daemon.Signal(signal);
        const std::optional<int> status = daemon.WaitForExit(30s);
        const auto took = std::chrono::steady_clock::now() - start;
        ASSERT_TRUE(status) << daemon.Output();
        EXPECT_EQ(*status, 0) << signal << ": " << daemon.Output();
        // The web server of /metrics takes up to 2 s to close.
        EXPECT_LT(took, 5s) << signal << ": " << daemon.Output();
    }
}

TEST(DaemonProcessTest, AMetricsAddressAlreadyTakenEndsItWithTheReasonAndAStatusOtherThan78) {
    const int port = FreeLoopbackPort();
    TServiceRig first;
    first.StartSimulator(1);
    TChildProcess& listening = first.StartDaemon(
        {"--config", first.WriteConfig("lab", "[Detector.roof]\nPort=COM1\n", port).string()});
    ASSERT_TRUE(listening.WaitForOutput("ornet5d: polling", 30s)) << listening.Output();

    // The service manager starts it again later: the address may be free then.
    TServiceRig second;
    second.StartSimulator(1);
    TChildProcess& refused = second.StartDaemon(
        {"--config", second.WriteConfig("lab", "[Detector.roof]\nPort=COM1\n", port).string()});
    const std::optional<int> status = refused.WaitForExit(30s);
    ASSERT_TRUE(status && WIFEXITED(*status)) << refused.Output();
    EXPECT_NE(WEXITSTATUS(*status), 0);
    EXPECT_NE(WEXITSTATUS(*status), kExitBadConfig);
    EXPECT_NE(refused.Output().find("/metrics cannot listen at 127.0.0.1:" + std::to_string(port)),
              std::string::npos)
        << refused.Output();
}

}  // namespace
}  // namespace ornet5::test
