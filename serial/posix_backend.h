#pragma once

#include "serial/serial_backend.h"

namespace ornet5 {

// The serial backend of Linux: a terminal device opened without blocking,
// locked against other openers, driven through termios2 and ioctl, waited
// on with poll().
class TPosixBackend final : public TSerialBackend {
  public:
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
    bool Fail(int errorCode);
    bool SetModemLine(int fd, int line, bool on);
    TWaitResult Wait(TPortHandle handle, short events, std::chrono::milliseconds timeout);

    int lastErrno_ = 0;
};

// The one translation of errno values into the driver's error kinds.
TSerialError TranslateErrno(int errorCode);

}  // namespace ornet5
