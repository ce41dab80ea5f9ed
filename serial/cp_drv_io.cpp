// TCPDrv's timed writing and reading: a write ends when the device has
// taken no byte for the output timeout, a read when the line has been quiet
// for the input timeout or its maximum has had the time to arrive. Both
// block in the backend's waits meanwhile.
#include <algorithm>

#include "serial/cp_drv.h"
#include "serial/serial_backend.h"
#include "serial/tick_clock.h"

namespace ornet5 {

namespace {

using std::chrono::milliseconds;
using namespace std::chrono_literals;

// The pause before looking again at a device that cannot be waited on: one
// that has gone away (a closed pseudo-terminal master, an unplugged adapter
// polls ready at once), whose counters fail, that reports bytes it does not
// yield, or that said it was ready and then moved nothing. Waiting on such a
// device again would spin; a short pause keeps the processor idle and the
// idle rules exact to within the pause. Also used when the counters report
// a full output queue, since Linux queues are larger than OutBufSize and the
// device may well poll writable meanwhile.
constexpr milliseconds kRetryPause(10);

}  // namespace

std::uint32_t TCPDrv::SendBytesTimed(const char* data, std::uint32_t count,
                                     std::uint32_t timeoutMs) {
    if (!IsOpen()) {
        return 0;
    }
    const milliseconds timeout(timeoutMs);
    std::uint32_t written = 0;
    bool promisedRoom = false;
    auto last = clock_.Now();
    while (count > 0 && !aborted_) {
        const std::uint16_t room = OutputFree();
        if (room > 0) {
            if (checkLineStatus_ && ModemLines() == 0) {
                return written;
            }
            const std::uint32_t chunk = std::min<std::uint32_t>(count, room);
            const auto sent = static_cast<std::uint32_t>(backend_->Write(handle_, data, chunk));
            if (sent > 0) {
                written += sent;
                data += sent;
                count -= sent;
                last = clock_.Now();
                promisedRoom = false;
                continue;
            }
        }
        const auto idle = clock_.Now() - last;
        if (idle > timeout) {
            return written;
        }
        promisedRoom =
            AwaitDevice(TDirection::Out, timeout - idle + 1ms, room > 0 && !promisedRoom);
    }
    return written;
}

std::uint32_t TCPDrv::SendBytes(const char* data, std::uint32_t count) {
    return SendBytesTimed(data, count, outputTimeout_);
}

// The text has left the port when this returns, not merely been queued: the
// exchange takes its send time, and the read its quiet clock, from here, and
// at low speeds a queued request is still on the wire for a good part of the
// 200 ms quiet time (19 bytes take 158 ms at 1200 bit/s).
bool TCPDrv::SendText(const std::string& text) {
    const auto size = static_cast<std::uint32_t>(text.size());
    const bool complete = SendBytes(text.data(), size) == size;
    if (size > 0) {
        WaitUntilSent();
    }
    return complete;
}

// Waits for the output queue to empty, pausing each time for as long as the
// bytes still queued take on the line; gives up when the queue has not
// shrunk for OutputTimeout (a line held by flow control) or cannot be read.
void TCPDrv::WaitUntilSent() {
    const milliseconds timeout(outputTimeout_);
    std::uint32_t lastWaiting = 0;
    auto last = clock_.Now();
    while (IsOpen() && !aborted_) {
        const auto counts = backend_->QueueCounts(handle_);
        if (!counts || counts->waitingOut == 0) {
            return;
        }
        const auto now = clock_.Now();
        if (counts->waitingOut != lastWaiting) {
            lastWaiting = counts->waitingOut;
            last = now;
        } else if (now - last > timeout) {
            return;
        }
        // Never past the moment of giving up, however slow the line.
        const milliseconds untilGivingUp =
            timeout - std::chrono::duration_cast<milliseconds>(now - last) + milliseconds(1);
        clock_.Pause(std::clamp(LineTime(counts->waitingOut), milliseconds(1), untilGivingUp));
    }
}

// How long count characters take on the line at the speed in force: start
// bit, data bits, parity bit and stop bits (one and a half counted as two).
milliseconds TCPDrv::LineTime(std::uint32_t count) const {
    const std::uint64_t bitsPerCharacter = 1 + (5 + static_cast<std::uint64_t>(dataBits_)) +
                                           (parity_ == ptNONE ? 0 : 1) +
                                           (stopBits_ == sb1BITS ? 1 : 2);
    const std::uint64_t rate = std::max<std::uint32_t>(baudRateValue_, 1);
    const std::uint64_t bitsTimesThousand = count * bitsPerCharacter * 1000;
    return milliseconds((bitsTimesThousand + rate - 1) / rate);
}

std::uint32_t TCPDrv::ReadBytes(char* buffer, std::uint32_t maximum) {
    if (!IsOpen()) {
        return 0;
    }
    SuspendReceivePoll();
    const milliseconds timeout(inputTimeout_);
    // A line that never falls quiet (a babbling device) must not hold the
    // call for ever: no read lasts longer than its maximum takes on the line
    // plus the quiet time. Quiet lines and replies shorter than the maximum
    // end by the idle rule well before that.
    const auto start = clock_.Now();
    const auto deadline = start + LineTime(maximum) + timeout;
    std::uint32_t got = 0;
    bool promisedInput = false;
    auto last = start;
    while (maximum > 0 && !aborted_) {
        const auto counts = backend_->QueueCounts(handle_);
        const std::uint32_t waiting = counts ? counts->waitingIn : 0;
        if (waiting > 0) {
            const std::uint32_t chunk = std::min(waiting, maximum);
            const auto read =
                static_cast<std::uint32_t>(backend_->Read(handle_, buffer + got, chunk));
            // Only bytes that came restart the idle clock: a device that
            // reports bytes but yields none must not keep the call alive.
            if (read > 0) {
                got += read;
                maximum -= read;
                last = clock_.Now();
                promisedInput = false;
                if (last >= deadline) {
                    break;
                }
                continue;
            }
        }
        const auto now = clock_.Now();
        const auto idle = now - last;
        if (idle > timeout || now >= deadline) {
            break;
        }
        promisedInput = AwaitDevice(TDirection::In, std::min(timeout - idle + 1ms, deadline - now),
                                    counts.has_value() && waiting == 0 && !promisedInput);
    }
    ResumeReceivePoll();
    return got;
}

// Returns whether the device said it was ready. Waiting on the device is
// for a device that can be trusted to block; otherwise a short pause. The
// idle rules compare with "more than", so callers ask for one millisecond
// past the idle time.
bool TCPDrv::AwaitDevice(TDirection direction, milliseconds wait, bool waitOnDevice) {
    wait = std::max(wait, 1ms);
    if (waitOnDevice) {
        const TWaitResult result = direction == TDirection::In
                                       ? backend_->WaitReadable(handle_, wait)
                                       : backend_->WaitWritable(handle_, wait);
        if (result != TWaitResult::Hangup) {
            return result == TWaitResult::Ready;
        }
    }
    clock_.Pause(std::min(wait, kRetryPause));
    return false;
}

}  // namespace ornet5
