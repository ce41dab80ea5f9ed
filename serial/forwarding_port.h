#pragma once

#include <cstdint>
#include <string>

#include "serial/serial_port.h"

namespace ornet5 {

// A serial port that passes every call on to another one: the base of the
// ports that watch or log the traffic of a real one and override only the
// calls they look at.
class TForwardingPort : public TSerialPort {
  public:
    // port must outlive this one.
    explicit TForwardingPort(TSerialPort& port) : port_(port) {}

    bool SendText(const std::string& bytes) override { return port_.SendText(bytes); }
    std::uint32_t ReadBytes(char* buffer, std::uint32_t maximum) override {
        return port_.ReadBytes(buffer, maximum);
    }
    void SetPort(TPortNumber value) override { port_.SetPort(value); }
    void SetBaudRateValue(std::uint32_t value) override { port_.SetBaudRateValue(value); }
    bool OpenPort() override { return port_.OpenPort(); }
    void ClosePort() override { port_.ClosePort(); }
    bool IsOpen() const override { return port_.IsOpen(); }
    TOpenFailure LastOpenFailure() const override { return port_.LastOpenFailure(); }
    void Abort() override { port_.Abort(); }

  protected:
    TSerialPort& Forwarded() const { return port_; }

  private:
    TSerialPort& port_;
};

}  // namespace ornet5
