#pragma once

#include <cstdint>
#include <string>

namespace ornet5 {

// The two calls through which the link layer talks to a serial port. The
// driver implements it; tests put a scripted port in its place.
class TBytePort {
  public:
    virtual ~TBytePort() = default;
    // True when every byte was written.
    virtual bool SendText(const std::string& bytes) = 0;
    // Reads at most maximum bytes into buffer, returning once the line has
    // been idle for the input timeout or maximum bytes have come; returns
    // how many bytes were stored.
    virtual std::uint32_t ReadBytes(char* buffer, std::uint32_t maximum) = 0;
};

}  // namespace ornet5
