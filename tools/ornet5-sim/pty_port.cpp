#include "tools/ornet5-sim/pty_port.h"

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>

#include "tools/ornet5-sim/sim_error.h"

namespace ornet5 {

namespace {

void MakeRaw(int fd) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) {
        ThrowSystemError("reading the pseudo-terminal settings");
    }
    cfmakeraw(&settings);
    if (tcsetattr(fd, TCSANOW, &settings) != 0) {
        ThrowSystemError("setting the pseudo-terminal to raw mode");
    }
}

std::string SlaveName(int master) {
    std::array<char, 128> name{};
    if (ptsname_r(master, name.data(), name.size()) != 0) {
        ThrowSystemError("finding the pseudo-terminal's name");
    }
    return name.data();
}

TPosixDescriptor WatchCloses(const std::string& path) {
    TPosixDescriptor watch(inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    if (!watch.IsValid() ||
        inotify_add_watch(watch.Get(), path.c_str(), IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) < 0) {
        ThrowSystemError("watching " + path);
    }
    return watch;
}

}  // namespace

TPtyPort::TPtyPort() : master_(posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
    if (!master_.IsValid()) {
        ThrowSystemError("opening a pseudo-terminal");
    }
    if (grantpt(master_.Get()) != 0 || unlockpt(master_.Get()) != 0) {
        ThrowSystemError("unlocking the pseudo-terminal");
    }
    slavePath_ = SlaveName(master_.Get());
    slave_ = TPosixDescriptor(open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!slave_.IsValid()) {
        ThrowSystemError("opening " + slavePath_);
    }
    MakeRaw(slave_.Get());
    closeWatch_ = WatchCloses(slavePath_);
}

std::string TPtyPort::ReadAvailable() {
    std::string received;
    std::array<char, 512> buffer{};
    for (;;) {
        const ssize_t count = read(master_.Get(), buffer.data(), buffer.size());
        if (count > 0) {
            received.append(buffer.data(), static_cast<std::size_t>(count));
            continue;
        }
        if (count < 0 && errno == EINTR) {
            continue;
        }
        // EAGAIN: drained. EIO cannot happen while the slave is held open.
        return received;
    }
}

void TPtyPort::ReleaseAfterPeerClose() {
    alignas(inotify_event) std::array<char, 4096> events{};
    while (read(closeWatch_.Get(), events.data(), events.size()) > 0) {
    }
    // The exclusive mode belongs to the terminal, not to the descriptor, so
    // clearing it through the held slave descriptor ends it for everyone.
    ioctl(slave_.Get(), TIOCNXCL);
}

std::size_t TPtyPort::Write(std::string_view bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = write(master_.Get(), bytes.data() + written, bytes.size() - written);
        if (count > 0) {
            written += static_cast<std::size_t>(count);
        } else if (count < 0 && errno == EINTR) {
            continue;
        } else {
            break;
        }
    }
    return written;
}

}  // namespace ornet5
