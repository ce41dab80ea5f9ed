#include "app/qt/signal_quit.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <stdexcept>
#include <system_error>
#include <utility>

#include <QSocketNotifier>

namespace ornet5 {
namespace {

constexpr std::array kQuitSignals{SIGTERM, SIGINT, SIGHUP};

// The pipe's write end, for the signal handler; -1 when none is installed.
std::atomic<int> signalPipe{-1};
// Only a lock-free atomic may be touched from a signal handler.
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void WriteSignalToPipe(int signalNumber) {
    const int savedErrno = errno;
    const int fd = signalPipe.load();
    if (fd >= 0) {
        const char byte = static_cast<char>(signalNumber);
        // A full pipe already holds a pending wake-up; losing this byte is fine.
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

void SetHandler(int signalNumber, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signalNumber, &action, nullptr);
}

}  // namespace

TSignalQuit::TSignalQuit(std::function<void()> onSignal) : onSignal_(std::move(onSignal)) {
    std::array<int, 2> fds{};
    if (::pipe2(fds.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        throw std::system_error(errno, std::generic_category(), "pipe2");
    }
    readFd_ = fds[0];
    writeFd_ = fds[1];
    signalPipe.store(writeFd_);
    notifier_ = new QSocketNotifier(readFd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { Drain(); });
    for (const int signalNumber : kQuitSignals) {
        SetHandler(signalNumber, WriteSignalToPipe);
    }
}

TSignalQuit::~TSignalQuit() {
    for (const int signalNumber : kQuitSignals) {
        SetHandler(signalNumber, SIG_DFL);
    }
    signalPipe.store(-1);
    delete notifier_;
    ::close(readFd_);
    ::close(writeFd_);
}

void TSignalQuit::Drain() {
    std::array<char, 64> bytes{};
    while (::read(readFd_, bytes.data(), bytes.size()) > 0) {
    }
    if (onSignal_) {
        onSignal_();
    }
}

}  // namespace ornet5
