#include "tests/support/pty_pair.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace ornet5 {

namespace {

using TSteady = std::chrono::steady_clock;

int RemainingMs(TSteady::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - TSteady::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

TPtyPair::TPtyPair() : master_(posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
    if (!master_.IsValid() || grantpt(master_.Get()) != 0 || unlockpt(master_.Get()) != 0) {
        throw std::runtime_error("no pseudo-terminal");
    }
    char name[128] = {};
    if (ptsname_r(master_.Get(), name, sizeof name) != 0) {
        throw std::runtime_error("no pseudo-terminal name");
    }
    slavePath_ = name;
    slave_ = TPosixDescriptor(open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    struct termios raw {};
    if (!slave_.IsValid() || tcgetattr(slave_.Get(), &raw) != 0) {
        throw std::runtime_error("pseudo-terminal slave does not open");
    }
    cfmakeraw(&raw);
    tcsetattr(slave_.Get(), TCSANOW, &raw);
}

bool TPtyPair::Write(std::string_view bytes, std::chrono::milliseconds timeout) {
    const auto deadline = TSteady::now() + timeout;
    while (!bytes.empty() && master_.IsValid()) {
        const ssize_t sent = write(master_.Get(), bytes.data(), bytes.size());
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
            continue;
        }
        if (sent < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        }
        struct pollfd entry {
            master_.Get(), POLLOUT, 0
        };
        if (RemainingMs(deadline) == 0 || poll(&entry, 1, RemainingMs(deadline)) == 0) {
            return false;
        }
    }
    return bytes.empty();
}

std::string TPtyPair::Read(std::size_t maximum, std::chrono::milliseconds idle) {
    std::string got;
    char chunk[4096];
    while (got.size() < maximum && master_.IsValid()) {
        struct pollfd entry {
            master_.Get(), POLLIN, 0
        };
        if (poll(&entry, 1, static_cast<int>(idle.count())) <= 0 || (entry.revents & POLLIN) == 0) {
            break;
        }
        const std::size_t want = std::min(sizeof chunk, maximum - got.size());
        const ssize_t n = read(master_.Get(), chunk, want);
        if (n <= 0) {
            break;
        }
        got.append(chunk, static_cast<std::size_t>(n));
    }
    return got;
}

std::size_t TPtyPair::Pending() const {
    int count = 0;
    if (!master_.IsValid() || ioctl(master_.Get(), FIONREAD, &count) != 0 || count < 0) {
        return 0;
    }
    return static_cast<std::size_t>(count);
}

}  // namespace ornet5
