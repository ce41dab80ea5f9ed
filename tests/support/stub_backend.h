#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "serial/serial_backend.h"

namespace ornet5::test {

// A serial backend whose set-up calls always work: any port name is its
// own device, the open gives one valid handle, the settings, queue sizes
// and purges are taken, no modem line is on, output never waits and no
// failure is ever recorded. A test's fake derives from it and writes only
// the queue, the reads, the writes and the read wait it models, plus any of
// these it wants to fail.
class TStubBackend : public TSerialBackend {
  public:
    std::string DevicePath(const std::string& portName) const override { return portName; }
    TPortHandle OpenExclusive(const std::string&) override { return TPortHandle{3}; }
    void Close(TPortHandle) override {}
    bool ApplyLineSettings(TPortHandle, const TLineSettings&) override { return true; }
    bool SetQueueSizes(TPortHandle, std::uint32_t, std::uint32_t) override { return true; }
    bool Purge(TPortHandle, bool, bool) override { return true; }
    std::optional<std::uint8_t> ModemLines(TPortHandle) override { return 0; }
    TWaitResult WaitWritable(TPortHandle, std::chrono::milliseconds) override {
        return TWaitResult::Ready;
    }
    TSerialError LastError() const override { return TSerialError::None; }
    std::string LastErrorText() const override { return {}; }
};

}  // namespace ornet5::test
