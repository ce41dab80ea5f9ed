#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "serial/line_settings.h"
#include "serial/port_handle.h"
#include "serial/serial_error.h"

namespace ornet5 {

struct TQueueCounts {
    std::uint32_t waitingIn = 0;   // received, not yet read
    std::uint32_t waitingOut = 0;  // written, not yet sent
};

enum class TWaitResult {
    Ready,    // the asked direction can make progress (or a signal woke us)
    Timeout,  // nothing happened within the time
    Hangup    // the device is gone or in error; waiting again returns at once
};

// The operating-system calls of the serial port driver. The driver's logic
// (timing, idle rules, receive poll) lives above this line; each platform
// implements it in its own files (serial/posix_*, serial/win32_*).
// Operations on an invalid handle fail.
class TSerialBackend {
  public:
    virtual ~TSerialBackend() = default;

    // The device that a port name ("\\.\COMn" or any other text) stands
    // for on this platform; port names belong to the backend.
    virtual std::string DevicePath(const std::string& portName) const = 0;

    // Opens an existing device for reading and writing, exclusively (a
    // second open of the same device, from this process or another, fails)
    // and without blocking calls. Invalid handle on failure.
    virtual TPortHandle OpenExclusive(const std::string& devicePath) = 0;
    virtual void Close(TPortHandle handle) = 0;

    // Speed, framing, flow control and the DTR and RTS lines. A device
    // without modem lines does not fail for them.
    virtual bool ApplyLineSettings(TPortHandle handle, const TLineSettings& settings) = 0;
    // Recommended queue sizes; a platform with fixed queues accepts any.
    virtual bool SetQueueSizes(TPortHandle handle, std::uint32_t inSize, std::uint32_t outSize) = 0;
    virtual bool Purge(TPortHandle handle, bool input, bool output) = 0;
    virtual std::optional<TQueueCounts> QueueCounts(TPortHandle handle) = 0;
    // TModemLine bits of the lines that are on; empty when the query fails.
    virtual std::optional<std::uint8_t> ModemLines(TPortHandle handle) = 0;

    // Never block: they move what can be moved now and return the count
    // (0 when nothing could be moved or the call failed).
    virtual std::size_t Read(TPortHandle handle, char* buffer, std::size_t count) = 0;
    virtual std::size_t Write(TPortHandle handle, const char* data, std::size_t count) = 0;

    // Block until the device has input / room for output, or until the time
    // is up. Hangup is returned at once and says that waiting is pointless.
    virtual TWaitResult WaitReadable(TPortHandle handle, std::chrono::milliseconds timeout) = 0;
    virtual TWaitResult WaitWritable(TPortHandle handle, std::chrono::milliseconds timeout) = 0;

    // The translated code of the most recent failure (None before any), for
    // diagnostics and tests.
    virtual TSerialError LastError() const = 0;
    // The operating system's own text for that failure, for the user's log.
    virtual std::string LastErrorText() const = 0;
};

// The backend of the platform the program is built for (chosen in CMake).
std::unique_ptr<TSerialBackend> MakePlatformBackend();

}  // namespace ornet5
