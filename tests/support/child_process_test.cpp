// The tests' child process helper, on the shell: what the end-to-end tests
// rely on when a simulator or the monitor misbehaves.
#include "tests/support/child_process.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>

namespace ornet5::test {
namespace {

using namespace std::chrono_literals;
using TClock = std::chrono::steady_clock;

TEST(ChildProcess, CollectsBothStreamsInItsOwnEnvironmentAndKeepsItsExitStatus) {
    setenv("ORNET5_CHILD_TEST", "inherited", 1);
    TChildProcess child("/bin/sh",
                        {"-c", "echo \"out $ORNET5_CHILD_TEST\"; echo err >&2; echo ready; exit 3"},
                        {"ORNET5_CHILD_TEST=given"});
    EXPECT_EQ(child.WaitForLine("ready", 10s), "ready");
    EXPECT_EQ(child.Output(), "out given\nerr\nready\n");
    const auto waited = TClock::now();
    // A line that can no longer come is not waited for to the limit.
    EXPECT_FALSE(child.WaitForLine("never", 60s));
    EXPECT_LT(TClock::now() - waited, 10s);
    const std::optional<int> status = child.WaitForExit(10s);
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 3) << *status;
    EXPECT_EQ(child.Stop(), *status);
    unsetenv("ORNET5_CHILD_TEST");

    EXPECT_THROW(TChildProcess("/nonexistent/program", {}), std::runtime_error);
}

TEST(ChildProcess, StopEndsAChildThatIgnoresSigtermAfterTheGraceTime) {
    // An ignored signal stays ignored across exec.
    TChildProcess child("/bin/sh", {"-c", "trap '' TERM; echo 'ready now'; exec sleep 60"});
    ASSERT_TRUE(child.WaitUntilReady(10s)) << child.Output();
    EXPECT_FALSE(child.WaitForExit(100ms));
    const auto stopped = TClock::now();
    const int status = child.Stop(300ms);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    EXPECT_GE(TClock::now() - stopped, 300ms);
    EXPECT_LT(TClock::now() - stopped, 10s);
}

}  // namespace
}  // namespace ornet5::test
