#pragma once

#include <chrono>
#include <functional>
#include <string>

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
};

// Writes the request and waits for a valid reply, up to three attempts.
// Returns the reply, or an empty string when none came. Throws
// EProtocolCancel when the Escape key is down at an attempt's start.
std::string Exchange(TBytePort& port, TExchangeEnvironment& environment,
                     const std::string& request);

}  // namespace ornet5
