#include "serial/posix_backend.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "serial/posix_port_names.h"
#include "serial/posix_termios2.h"
#include "serial/serial_enums.h"

namespace ornet5 {

namespace {

int Fd(TPortHandle handle) {
    return static_cast<int>(handle.value);
}

// 0, or the errno value that keeps the open descriptor from being ours alone.
int LockExclusively(int fd) {
    int exclusive = 0;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCGEXCL, &exclusive) != 0) {
        return errno;
    }
    if (exclusive != 0) {
        return EBUSY;
    }
    return ioctl(fd, TIOCEXCL) == 0 ? 0 : errno;
}

int PollTimeout(std::chrono::milliseconds timeout) {
    return static_cast<int>(
        std::clamp<std::chrono::milliseconds::rep>(timeout.count(), 0, INT_MAX));
}

}  // namespace

TSerialError TranslateErrno(int errorCode) {
    switch (errorCode) {
        case 0:
            return TSerialError::None;
        case ENOENT:
        case ENODEV:
        case ENOTDIR:
            return TSerialError::NotFound;
        case EBUSY:
        case EWOULDBLOCK:
            return TSerialError::Busy;
        case EACCES:
        case EPERM:
            return TSerialError::AccessDenied;
        case ENOTTY:
        case EINVAL:
            return TSerialError::Unsupported;
        case EIO:
        case ENXIO:
        case EBADF:
            return TSerialError::Gone;
        default:
            return TSerialError::Other;
    }
}

bool TPosixBackend::Fail(int errorCode) {
    lastErrno_ = errorCode;
    return false;
}

TSerialError TPosixBackend::LastError() const {
    return TranslateErrno(lastErrno_);
}

std::string TPosixBackend::LastErrorText() const {
    return lastErrno_ == 0 ? std::string() : std::string(std::strerror(lastErrno_));
}

std::string TPosixBackend::DevicePath(const std::string& portName) const {
    return ResolvePortName(portName, ProcessPortNameEnvironment());
}

// flock keeps out every other opener, root included; TIOCEXCL keeps out
// programs that do not lock. The lock comes first so that a device in use
// elsewhere is not marked exclusive by an open that then fails. A terminal
// already in exclusive mode belongs to another program even when the open
// went through (root passes TIOCEXCL): it counts as busy, and its mode is
// left alone, since clearing it at our close would take it from its owner.
TPortHandle TPosixBackend::OpenExclusive(const std::string& devicePath) {
    const int fd = open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        Fail(errno);
        return TPortHandle{};
    }
    const int error = LockExclusively(fd);
    if (error != 0) {
        Fail(error);
        close(fd);
        return TPortHandle{};
    }
    return TPortHandle{fd};
}

void TPosixBackend::Close(TPortHandle handle) {
    if (!handle.Valid()) {
        return;
    }
    // Exclusive mode belongs to the terminal, not to this descriptor: left
    // on, it would keep out the next opener while anyone else holds the
    // device open.
    ioctl(Fd(handle), TIOCNXCL);
    close(Fd(handle));
}

bool TPosixBackend::SetModemLine(int fd, int line, bool on) {
    if (ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0) {
        return true;
    }
    // A pseudo-terminal has no modem lines; that is no reason to fail.
    const int error = errno;
    return TranslateErrno(error) == TSerialError::Unsupported || Fail(error);
}

// Linux has neither DTR handshaking nor RTS toggling; those modes keep the
// line raised, and CTS handshaking is part of the terminal settings.
bool TPosixBackend::ApplyLineSettings(TPortHandle handle, const TLineSettings& settings) {
    if (!handle.Valid()) {
        return Fail(EBADF);
    }
    const int fd = Fd(handle);
    if (const int error = SetTermios2(fd, settings); error != 0) {
        return Fail(error);
    }
    return SetModemLine(fd, TIOCM_DTR, settings.fDtrControl != TDtrControl::Disable) &&
           SetModemLine(fd, TIOCM_RTS, settings.fRtsControl != TRtsControl::Disable);
}

// The kernel's queues have fixed sizes; there is nothing to recommend.
bool TPosixBackend::SetQueueSizes(TPortHandle handle, std::uint32_t, std::uint32_t) {
    return handle.Valid() || Fail(EBADF);
}

bool TPosixBackend::Purge(TPortHandle handle, bool input, bool output) {
    if (!handle.Valid()) {
        return Fail(EBADF);
    }
    if (!input && !output) {
        return true;
    }
    const int queue = input && output ? TCIOFLUSH : (input ? TCIFLUSH : TCOFLUSH);
    return tcflush(Fd(handle), queue) == 0 || Fail(errno);
}

std::optional<TQueueCounts> TPosixBackend::QueueCounts(TPortHandle handle) {
    int waitingIn = 0;
    int waitingOut = 0;
    if (!handle.Valid()) {
        Fail(EBADF);
        return std::nullopt;
    }
    if (ioctl(Fd(handle), FIONREAD, &waitingIn) != 0 ||
        ioctl(Fd(handle), TIOCOUTQ, &waitingOut) != 0) {
        Fail(errno);
        return std::nullopt;
    }
    return TQueueCounts{static_cast<std::uint32_t>(std::max(waitingIn, 0)),
                        static_cast<std::uint32_t>(std::max(waitingOut, 0))};
}

std::optional<std::uint8_t> TPosixBackend::ModemLines(TPortHandle handle) {
    int status = 0;
    if (!handle.Valid() || ioctl(Fd(handle), TIOCMGET, &status) != 0) {
        Fail(handle.Valid() ? errno : EBADF);
        return std::nullopt;
    }
    std::uint8_t lines = 0;
    lines |= (status & TIOCM_CTS) ? mlCTS : 0;
    lines |= (status & TIOCM_DSR) ? mlDSR : 0;
    lines |= (status & TIOCM_RNG) ? mlRING : 0;
    lines |= (status & TIOCM_CAR) ? mlRLSD : 0;
    return lines;
}

std::size_t TPosixBackend::Read(TPortHandle handle, char* buffer, std::size_t count) {
    if (!handle.Valid()) {
        Fail(EBADF);
        return 0;
    }
    const ssize_t got = read(Fd(handle), buffer, count);
    if (got < 0) {
        if (errno != EAGAIN) {
            Fail(errno);
        }
        return 0;
    }
    return static_cast<std::size_t>(got);
}

std::size_t TPosixBackend::Write(TPortHandle handle, const char* data, std::size_t count) {
    if (!handle.Valid()) {
        Fail(EBADF);
        return 0;
    }
    const ssize_t sent = write(Fd(handle), data, count);
    if (sent < 0) {
        if (errno != EAGAIN) {
            Fail(errno);
        }
        return 0;
    }
    return static_cast<std::size_t>(sent);
}

TWaitResult TPosixBackend::WaitReadable(TPortHandle handle, std::chrono::milliseconds timeout) {
    return Wait(handle, POLLIN, timeout);
}

TWaitResult TPosixBackend::WaitWritable(TPortHandle handle, std::chrono::milliseconds timeout) {
    return Wait(handle, POLLOUT, timeout);
}

// A hung-up terminal polls as readable, writable and hung up at once; the
// hang-up wins, since neither direction can make progress.
TWaitResult TPosixBackend::Wait(TPortHandle handle, short events,
                                std::chrono::milliseconds timeout) {
    if (!handle.Valid()) {
        Fail(EBADF);
        return TWaitResult::Hangup;
    }
    struct pollfd entry {
        Fd(handle), events, 0
    };
    const int ready = poll(&entry, 1, PollTimeout(timeout));
    if (ready == 0) {
        return TWaitResult::Timeout;
    }
    if (ready < 0) {
        // A signal only cuts the wait short; the caller looks again.
        return errno == EINTR ? TWaitResult::Ready : (Fail(errno), TWaitResult::Hangup);
    }
    if ((entry.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
        Fail(EIO);
        return TWaitResult::Hangup;
    }
    return TWaitResult::Ready;
}

std::unique_ptr<TSerialBackend> MakePlatformBackend() {
    return std::make_unique<TPosixBackend>();
}

}  // namespace ornet5
