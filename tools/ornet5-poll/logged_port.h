#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "serial/forwarding_port.h"

namespace ornet5 {

// A serial port that writes every exchange to a stream as it passes: the
// bytes sent ("->") and the bytes read ("<-"), in hexadecimal, and each
// open and close.
class TLoggedPort : public TForwardingPort {
  public:
    TLoggedPort(TSerialPort& port, std::ostream& log) : TForwardingPort(port), log_(log) {}

    void SetBaudRateValue(std::uint32_t value) override;
    bool OpenPort() override;
    void ClosePort() override;
    bool SendText(const std::string& bytes) override;
    std::uint32_t ReadBytes(char* buffer, std::uint32_t maximum) override;

  private:
    std::ostream& log_;
    std::uint32_t speed_ = 0;
};

}  // namespace ornet5
