#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <thread>

#include "common/exception.h"
#include "serial/byte_port.h"

namespace ornet5 {

// A bad packet ("Ошибочный пакет") or the user's cancel ("Отменено пользователем").
class EProtocolCancel : public Exception {
  public:
    using Exception::Exception;
};

inline constexpr const char* kBadPacketMessage = "Ошибочный пакет";
inline constexpr const char* kUserCancelMessage = "Отменено пользователем";

// What an exchange needs from outside the port: the Escape key's physical
// state, a monotonic millisecond clock, and where the cancel text goes.
class TExchangeEnvironment {
  public:
    virtual ~TExchangeEnvironment() = default;
    virtual bool EscapeDown() = 0;
    virtual std::chrono::steady_clock::time_point Now() = 0;
    virtual void ShowStatus(const std::string& text) = 0;
    // Waits between two reads that returned at once with nothing (a port
    // that is not open), so that the attempt does not spin on the CPU.
    virtual void Pause(std::chrono::milliseconds duration) {
        std::this_thread::sleep_for(duration);
    }
    // The program is ending: the exchange gives up at once, without a
    // reply and without a status.
    virtual bool Ending() { return false; }
};

// An attempt gives up once strictly more than this has passed since the
// request was written: a detector answers well within it.
inline constexpr std::chrono::milliseconds kAttemptTimeLimit{100};
// Longest wait between two reads that came back at once with nothing.
inline constexpr std::chrono::milliseconds kEmptyReadPause{10};
// Bytes asked for by one read, and the room reserved for it.
inline constexpr std::uint32_t kReadMaximum = 280;
inline constexpr std::size_t kReadBufferSize = 300;

// Validation of what one read returned: the reply when the bytes hold a
// frame whose header checksum fits and whose length fits its data length
// (a header with data length 0 takes any bytes after it), with the data
// checksum right; else empty. Throws EProtocolCancel kBadPacketMessage for
// 1 to 13 bytes, too few for a header.
std::string ValidateReply(std::string_view bytesRead);

// One read of at most kReadMaximum bytes, validated.
std::string ReceiveReply(TBytePort& port);

// One attempt of the exchange, sharing reply with the other attempts.
// Throws EProtocolCancel kUserCancelMessage when the Escape key is down at
// its start; every other error ends the attempt with an empty reply.
void ExchangeAttempt(TBytePort& port, TExchangeEnvironment& environment, const std::string& request,
                     std::string& reply);

// Writes the request and waits for a valid reply, up to three attempts.
// Returns the reply, or an empty string when none came or the environment
// is ending. Throws
// EProtocolCancel when the Escape key is down at an attempt's start.
std::string Exchange(TBytePort& port, TExchangeEnvironment& environment,
                     const std::string& request);

}  // namespace ornet5
