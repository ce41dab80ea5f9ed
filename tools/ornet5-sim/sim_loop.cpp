#include "tools/ornet5-sim/sim_loop.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <string>

#include "tools/ornet5-sim/detector.h"
#include "tools/ornet5-sim/detector_setup.h"
#include "tools/ornet5-sim/line_speed.h"
#include "tools/ornet5-sim/port_link.h"
#include "tools/ornet5-sim/pty_port.h"
#include "tools/ornet5-sim/sim_error.h"
#include "tools/ornet5-sim/sim_log.h"
#include "tools/ornet5-sim/stop_signal.h"
#include "tools/ornet5-sim/write_queue.h"

namespace ornet5 {

namespace {

using TClock = std::chrono::steady_clock;

// A frame still unfinished after this much quiet will not be completed: the
// monitor writes each request in one go and polls only every 3 s.
constexpr std::chrono::milliseconds kQuietBeforeDiscard{1000};

class TSimulator {
  public:
    TSimulator(const TSimOptions& options, std::uint32_t fallbackStart)
        : options_(options),
          detector_(DetectorSetupFor(options, fallbackStart)),
          link_(options.linkPath, port_.SlavePath()) {}

    void Run();

  private:
    int PollTimeoutMs(TClock::time_point now) const;
    void TakeInput(TClock::time_point now);
    void WriteDue(TClock::time_point now);
    void Babble(TClock::time_point now);
    void Log(const std::vector<TLogLine>& lines) const;

    const TSimOptions& options_;
    TDetector detector_;
    TStopSignal stop_;
    TPtyPort port_;
    TPortLink link_;
    TWriteQueue queue_;
    TClock::time_point lastInput_ = TClock::now();
    TClock::time_point nextBabble_ = TClock::now();
};

void TSimulator::Run() {
    std::fprintf(stderr, "ready %s linked at %s\n", port_.SlavePath().c_str(),
                 link_.Path().c_str());
    std::fflush(stderr);
    for (;;) {
        pollfd fds[] = {{stop_.Fd(), POLLIN, 0},
                        {port_.MasterFd(), POLLIN, 0},
                        {port_.PeerCloseFd(), POLLIN, 0}};
        if (poll(fds, 3, PollTimeoutMs(TClock::now())) < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowSystemError("waiting for the line");
        }
        if ((fds[0].revents & POLLIN) && stop_.Take()) {
            LogLine("stopping");
            return;
        }
        if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL) && !(fds[1].revents & POLLIN)) {
            // Cannot happen while the slave side is held open; stop rather
            // than spin on it.
            throw ESimError("the pseudo-terminal hung up");
        }
        const TClock::time_point now = TClock::now();
        if (fds[1].revents & POLLIN) {
            TakeInput(now);
        }
        WriteDue(now);
        Babble(now);
        if (fds[2].revents & POLLIN) {
            port_.ReleaseAfterPeerClose();
        }
        if (detector_.HasPending() && now - lastInput_ >= kQuietBeforeDiscard) {
            Log(detector_.DiscardPending());
        }
    }
}

int TSimulator::PollTimeoutMs(TClock::time_point now) const {
    std::optional<TClock::time_point> wake = queue_.NextDue();
    if (options_.babble.count() > 0) {
        wake = wake ? std::min(*wake, nextBabble_) : nextBabble_;
    }
    if (detector_.HasPending()) {
        const TClock::time_point discard = lastInput_ + kQuietBeforeDiscard;
        wake = wake ? std::min(*wake, discard) : discard;
    }
    if (!wake) {
        return -1;
    }
    // Rounded up: waking a little early would only mean another wait.
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*wake - now);
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(wait.count(), 0));
}

void TSimulator::TakeInput(TClock::time_point now) {
    const std::string received = port_.ReadAvailable();
    if (received.empty()) {
        return;
    }
    lastInput_ = now;
    const TFeedResult result = detector_.Feed(received);
    Log(result.log);
    for (const TReply& reply : result.replies) {
        TClock::time_point due = now + options_.late;
        for (const std::string& piece : reply.pieces) {
            queue_.Add(due, piece);
            due += options_.splitPause;
        }
    }
}

void TSimulator::WriteDue(TClock::time_point now) {
    for (const std::string& piece : queue_.TakeDue(now)) {
        const std::size_t written = port_.Write(piece);
        if (written < piece.size()) {
            LogLine("the pseudo-terminal took only " + std::to_string(written) + " of " +
                    std::to_string(piece.size()) + " bytes");
        }
    }
}

// The junk goes out whether anyone listens or not; a full pseudo-terminal
// simply takes no more, which is no news worth a log line.
void TSimulator::Babble(TClock::time_point now) {
    if (options_.babble.count() == 0 || now < nextBabble_) {
        return;
    }
    port_.Write(std::string(1, '\x55'));
    nextBabble_ = now + options_.babble;
}

void TSimulator::Log(const std::vector<TLogLine>& lines) const {
    for (const TLogLine& line : lines) {
        if (line.kind == ELogKind::Reply && options_.late.count() > 0) {
            LogLine(line.text + ", written after " + std::to_string(options_.late.count()) + " ms");
            continue;
        }
        if (line.kind != ELogKind::Request) {
            LogLine(line.text);
            continue;
        }
        const std::optional<std::uint32_t> speed = LineSpeed(port_.MasterFd());
        LogLine(line.text + ", speed " + (speed ? std::to_string(*speed) : "unknown"));
    }
}

}  // namespace

void RunSimulator(const TSimOptions& options, std::uint32_t fallbackStart) {
    TSimulator simulator(options, fallbackStart);
    simulator.Run();
}

}  // namespace ornet5
