#include "tools/ornet5-sim/stop_signal.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include "tools/ornet5-sim/sim_error.h"

namespace ornet5 {

namespace {

sigset_t StopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

}  // namespace

TStopSignal::TStopSignal() {
    const sigset_t signals = StopSignals();
    if (sigprocmask(SIG_BLOCK, &signals, nullptr) != 0) {
        ThrowSystemError("blocking SIGINT and SIGTERM");
    }
    fd_ = TPosixDescriptor(signalfd(-1, &signals, SFD_NONBLOCK | SFD_CLOEXEC));
    if (!fd_.IsValid()) {
        ThrowSystemError("watching SIGINT and SIGTERM");
    }
}

bool TStopSignal::Take() {
    signalfd_siginfo info{};
    return read(fd_.Get(), &info, sizeof info) == static_cast<ssize_t>(sizeof info);
}

}  // namespace ornet5
