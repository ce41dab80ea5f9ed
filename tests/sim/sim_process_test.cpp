// The built ornet5-sim program, driven over its pseudo-terminal the way the
// monitor drives a serial port.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "link/checksum.h"
#include "link/frame.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_config_home.h"

namespace ornet5 {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using TClock = std::chrono::steady_clock;

// Generous: the machine may be busy compiling, and sanitizers slow start-up.
constexpr auto kStartLimit = 20s;
constexpr auto kReplyLimit = 5s;

int Millis(TClock::duration d) {
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(d).count());
}

// The monitor's side: the port opened the way its driver opens it.
class TMonitorPort {
  public:
    explicit TMonitorPort(const fs::path& path) {
        fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        EXPECT_GE(fd_, 0) << path;
        termios settings{};
        tcgetattr(fd_, &settings);
        cfmakeraw(&settings);
        cfsetispeed(&settings, B4800);
        cfsetospeed(&settings, B4800);
        tcsetattr(fd_, TCSANOW, &settings);
        ioctl(fd_, TIOCEXCL);
    }
    ~TMonitorPort() { close(fd_); }

    void Write(const std::string& bytes) {
        EXPECT_EQ(write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // Reads until count bytes have come or the limit has passed.
    std::string Read(std::size_t count, TClock::duration limit = kReplyLimit) {
        const TClock::time_point deadline = TClock::now() + limit;
        std::string received;
        while (received.size() < count) {
            pollfd fd{fd_, POLLIN, 0};
            if (poll(&fd, 1, std::max(0, Millis(deadline - TClock::now()))) <= 0) {
                break;
            }
            char buffer[64];
            const ssize_t n = read(fd_, buffer, sizeof buffer);
            if (n > 0) {
                received.append(buffer, static_cast<std::size_t>(n));
            }
        }
        return received;
    }

  private:
    int fd_ = -1;
};

// Whether the terminal at path is still taken exclusively, once the
// simulator has had time to notice the close; root may open it regardless.
bool StaysExclusive(const fs::path& path) {
    const TClock::time_point deadline = TClock::now() + kReplyLimit;
    int exclusive = 1;
    while (exclusive != 0 && TClock::now() < deadline) {
        const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd < 0 || ioctl(fd, TIOCGEXCL, &exclusive) != 0) {
            ADD_FAILURE() << "cannot open " << path;
        }
        close(fd);
        if (exclusive != 0) {
            poll(nullptr, 0, 20);
        }
    }
    return exclusive != 0;
}

class SimProcess : public ::testing::Test {
  protected:
    // The simulator inherits it, and makes its link there.
    test::TTempConfigHome home_;
    fs::path link_ = home_.ComLink(3);
};

const std::string kIdentify = BuildFrame(kAllNodesAddress, kOwnAddress, 0, 0, "");
const std::string kReadDose =
    BuildFrame(kAllNodesAddress, kOwnAddress, 6, 13, std::string(1, '\0'));

TEST_F(SimProcess, AnswersBothRequestsAcrossReopensAndTidiesUpOnSigterm) {
    test::TChildProcess sim(ORNET5_SIM_PATH, {"--address", "7.7.7", "--reading", "0.123"});
    const std::optional<std::string> ready = sim.WaitForLine("ready ", kStartLimit);
    ASSERT_TRUE(ready) << sim.Output();
    EXPECT_NE(ready->find(link_.string()), std::string::npos) << *ready;
    ASSERT_TRUE(fs::is_symlink(link_));
    // The monitor closes and reopens the port for every poll.
    for (int round = 0; round < 2; ++round) {
        {
            TMonitorPort port(link_);
            port.Write(kIdentify);
            const std::string reply = port.Read(14);
            ASSERT_EQ(reply.size(), 14u) << sim.Output();
            EXPECT_EQ(reply.substr(3, 3), std::string("\x07\x07\x07", 3));
            EXPECT_EQ(reply.substr(10, 4), ChecksumBytes(reply.substr(0, 10)));
            EXPECT_EQ(port.Read(1, 300ms), "") << "the identify reply is exactly 14 bytes";
        }
        // Else only root could open the port a second time.
        EXPECT_FALSE(StaysExclusive(link_));
        TMonitorPort port(link_);
        port.Write(kReadDose);
        const std::string reply = port.Read(21);
        ASSERT_EQ(reply.size(), 21u) << sim.Output();
        EXPECT_EQ(reply.substr(15, 2), "\x7B\xFC");
        EXPECT_EQ(reply.substr(17), ChecksumBytes(reply.substr(14, 3)));
    }
    const int status = sim.Stop();
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link_)));
    EXPECT_NE(sim.Output().find("speed 4800"), std::string::npos) << sim.Output();
    EXPECT_NE(sim.Output().find("FF FF FF 01 01 01 06 0D 01 00 AF 44 74 80 00 00 00 00 00"),
              std::string::npos);
}

TEST_F(SimProcess, LateAndSplitRepliesTakeTheirTime) {
    test::TChildProcess sim(ORNET5_SIM_PATH, {"--late", "400", "--split", "--split-pause", "300"});
    ASSERT_TRUE(sim.WaitUntilReady(kStartLimit)) << sim.Output();
    TMonitorPort port(link_);
    const TClock::time_point sent = TClock::now();
    port.Write(kIdentify);
    const std::string first = port.Read(1);
    const TClock::time_point firstAt = TClock::now();
    const std::string rest = port.Read(14 - std::min<std::size_t>(first.size(), 14));
    const TClock::time_point lastAt = TClock::now();
    EXPECT_EQ((first + rest).size(), 14u) << sim.Output();
    // Lower bounds only: a busy machine may delay further, never less.
    EXPECT_GE(firstAt - sent, 350ms);
    EXPECT_GE(lastAt - sent, 650ms);
    sim.Signal(SIGINT);
    const int status = sim.WaitForExit(kStartLimit).value_or(-1);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

// The monitor retries while the second half of a split reply is still on
// its way: the halves must not interleave, or the first halves of two equal
// replies would arrive together as 14 bytes that are no reply.
TEST_F(SimProcess, SplitRepliesToARetryFollowTheEarlierReplyWhole) {
    test::TChildProcess sim(ORNET5_SIM_PATH, {"--split", "--split-pause", "300"});
    ASSERT_TRUE(sim.WaitUntilReady(kStartLimit)) << sim.Output();
    TMonitorPort port(link_);
    port.Write(kIdentify);
    const std::string head = port.Read(7);
    ASSERT_EQ(head.size(), 7u) << sim.Output();
    port.Write(kIdentify);
    const std::string rest = port.Read(21);
    ASSERT_EQ(rest.size(), 21u) << sim.Output();

    const std::string expected = BuildFrame(kOwnAddress, "4.2.31", 0, 0, "").substr(0, 14);
    EXPECT_EQ(head + rest.substr(0, 7), expected) << sim.Output();
    EXPECT_EQ(rest.substr(7), expected) << sim.Output();
}

TEST_F(SimProcess, NeverReplacesAFileThatIsNotALink) {
    fs::create_directories(link_.parent_path());
    std::ofstream(link_) << "keep me";
    test::TChildProcess sim(ORNET5_SIM_PATH, {});
    const int status = sim.WaitForExit(kStartLimit).value_or(-1);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    EXPECT_NE(sim.Output().find("not a link"), std::string::npos) << sim.Output();
    std::string content;
    std::getline(std::ifstream(link_), content);
    EXPECT_EQ(content, "keep me");
}

TEST_F(SimProcess, ReplacesALinkLeftBehind) {
    fs::create_directories(link_.parent_path());
    fs::create_symlink("/dev/pts/no-such-terminal", link_);
    test::TChildProcess sim(ORNET5_SIM_PATH, {});
    ASSERT_TRUE(sim.WaitUntilReady(kStartLimit)) << sim.Output();
    const fs::path target = fs::read_symlink(link_);
    EXPECT_NE(target, "/dev/pts/no-such-terminal");
    EXPECT_TRUE(fs::exists(target)) << target;
    const int status = sim.Stop();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_FALSE(fs::exists(fs::symlink_status(link_)));
}

// A user's COM link to an adapter is theirs: it comes back at the end.
TEST_F(SimProcess, PutsBackTheLinkItReplaced) {
    fs::create_directories(link_.parent_path());
    fs::create_symlink("/dev/ttyUSB0", link_);
    test::TChildProcess sim(ORNET5_SIM_PATH, {});
    ASSERT_TRUE(sim.WaitUntilReady(kStartLimit)) << sim.Output();
    EXPECT_NE(fs::read_symlink(link_), "/dev/ttyUSB0");
    const int status = sim.Stop();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(fs::read_symlink(link_), "/dev/ttyUSB0");
}

TEST_F(SimProcess, BadOptionEndsWithExitCodeTwo) {
    test::TChildProcess sim(ORNET5_SIM_PATH, {"--late", "soon"});
    const int status = sim.WaitForExit(kStartLimit).value_or(-1);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << status;
    EXPECT_NE(sim.Output().find("--late"), std::string::npos) << sim.Output();
    EXPECT_FALSE(fs::exists(fs::symlink_status(link_)));
}

}  // namespace
}  // namespace ornet5
