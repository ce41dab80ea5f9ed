#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "serial/serial_backend.h"

namespace ornet5 {

// The serial backend of Windows: a communications device opened without
// sharing and for overlapped calls, so that a wait for input or room can
// block in the system with a timeout (WaitCommEvent and a timed wait)
// while reads and writes return at once or within their short slice.
// Like the driver it serves, it belongs to one thread.
class TWin32Backend final : public TSerialBackend {
  public:
    TWin32Backend();
    ~TWin32Backend() override;
    TWin32Backend(const TWin32Backend&) = delete;
    TWin32Backend& operator=(const TWin32Backend&) = delete;

    std::string DevicePath(const std::string& portName) const override;
    TPortHandle OpenExclusive(const std::string& devicePath) override;
    void Close(TPortHandle handle) override;
    bool ApplyLineSettings(TPortHandle handle, const TLineSettings& settings) override;
    bool SetQueueSizes(TPortHandle handle, std::uint32_t inSize, std::uint32_t outSize) override;
    bool Purge(TPortHandle handle, bool input, bool output) override;
    std::optional<TQueueCounts> QueueCounts(TPortHandle handle) override;
    std::optional<std::uint8_t> ModemLines(TPortHandle handle) override;
    std::size_t Read(TPortHandle handle, char* buffer, std::size_t count) override;
    std::size_t Write(TPortHandle handle, const char* data, std::size_t count) override;
    TWaitResult WaitReadable(TPortHandle handle, std::chrono::milliseconds timeout) override;
    TWaitResult WaitWritable(TPortHandle handle, std::chrono::milliseconds timeout) override;
    TSerialError LastError() const override;
    std::string LastErrorText() const override;

  private:
    // What the backend keeps about one open port.
    struct TPortState {
        std::string devicePath;
        // Bytes read ahead by a wait for input, handed out before new ones.
        std::string heldInput;
    };

    bool Fail(unsigned long errorCode);
    bool FailLast();
    std::size_t Transfer(TPortHandle handle, char* buffer, std::size_t count, bool write);
    // Empty when the device cannot report events.
    std::optional<TWaitResult> WaitForEvent(TPortHandle handle, unsigned long eventMask,
                                            std::chrono::milliseconds timeout);
    bool EventsFail(TPortHandle handle) const;
    void MarkEventsFail(TPortHandle handle);
    TWaitResult WaitByReading(TPortHandle handle, std::chrono::milliseconds timeout);
    std::size_t TakeHeld(TPortHandle handle, char* buffer, std::size_t count);
    std::string* HeldInput(TPortHandle handle);

    // Signalled by every overlapped call. One is enough: each call is
    // finished (completed, or cancelled and then completed) before the
    // member function that started it returns.
    void* ioDone_;
    unsigned long lastErrorCode_ = 0;
    std::map<std::intptr_t, TPortState> ports_;
    // Devices on which Wine ends every event wait at once; waits for input
    // on them read ahead instead (serial/win32_read_wait.h). Remembered
    // past the close, since the driver opens the port for every exchange.
    std::set<std::string> eventlessDevices_;
};

// The one translation of Windows error codes into the driver's error kinds.
TSerialError TranslateWin32Error(unsigned long errorCode);

}  // namespace ornet5
